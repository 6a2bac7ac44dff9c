"""JobV1 from Python and from runs: ids, predicates, waiting, cancelling and
the objects a job shares with Python."""

import gc
import time

import pytest

import TavironLib as tl
from circuit_reference import bell_circuit
from ticking import Ticker

S = tl.JobStatus
WAIT_SECONDS = 60.0


def wait(job):
    job.wait_for_final_state(WAIT_SECONDS, 0.0, lambda *args: None)


def test_a_job_made_from_python():
    job = tl.JobV1("42")
    assert job.job_id() == "42"
    assert (job.done(), job.running(), job.cancelled(), job.in_final_state()) == (
        False, False, False, False)
    assert job.status() == S.INITIALIZING and job.status() is not S.INITIALIZING
    assert job.result() is None and job.backend() is None
    assert job.version == 1 and job._async is True
    job.cancel()
    assert job.cancelled() and job.in_final_state() and job.status() == S.CANCELLED
    job.cancel()
    assert job.status() == S.CANCELLED


@pytest.mark.parametrize("call", [lambda: tl.JobV1(), lambda: tl.JobV1(42),
                                  lambda: tl.JobV1(job_id="1")])
def test_constructor_takes_one_positional_text(call):
    with pytest.raises(TypeError):
        call()


def test_read_only_attributes():
    job = tl.JobV1("1")
    for name in ("version", "_async"):
        with pytest.raises(AttributeError):
            setattr(job, name, 0)


def test_submit_always_raises():
    with pytest.raises(RuntimeError) as raised:
        tl.JobV1("1").submit()
    assert str(raised.value) == "Function 'JobV1::submit' is not implemented."


def test_wait_calls_back_with_the_job_itself():
    job = tl.JobV1("7")
    job.cancel()
    calls = []
    assert job.wait_for_final_state(0, 0, lambda *args: calls.append(args)) is None
    assert len(calls) == 1
    job_id, status, same_job = calls[0]
    assert (job_id, status) == ("7", S.CANCELLED) and same_job is job


@pytest.mark.parametrize("call", [
    lambda job: job.wait_for_final_state(0, 0, None),
    lambda job: job.wait_for_final_state(0, 0),
    lambda job: job.wait_for_final_state(0, 0, callback=print),
    lambda job: job.wait_for_final_state("1", 0, print),
])
def test_wait_arguments(call):
    job = tl.JobV1("1")
    job.cancel()
    with pytest.raises(TypeError):
        call(job)


def test_wait_times_out_with_the_elapsed_seconds():
    with pytest.raises(RuntimeError) as raised:
        tl.JobV1("never").wait_for_final_state(1, 0, lambda *args: None)
    assert str(raised.value) == "Timeout while waiting for job: never 1 seconds passed\n"


# A timeout is kept to its fraction of a second whatever the pause (kept to
# whole seconds, 0.2 waited a second); other threads run meanwhile. Negative
# timeouts pass at the first check.
@pytest.mark.parametrize("timeout, pause", [
    (0.2, 0), (0.2, 0.05), (0.3, 10), (1.25, 0.5), (-0.5, 0), (-3, 10),
])
def test_a_timeout_passes_when_its_time_has(timeout, pause):
    with Ticker() as ticker:
        started = time.monotonic()
        with pytest.raises(RuntimeError) as raised:
            tl.JobV1("never").wait_for_final_state(timeout, pause, lambda *args: None)
        waited = time.monotonic() - started
    assert str(raised.value) == f"Timeout while waiting for job: never {int(waited)} seconds passed\n"
    assert max(timeout, 0) <= waited < max(timeout, 0) + 0.5
    assert ticker.longest_gap() < 0.5


def test_callback_errors_pass_through():
    job = tl.JobV1("1")

    def fail(*args):
        raise KeyError("from the callback")

    with pytest.raises(KeyError, match="from the callback"):
        job.wait_for_final_state(0, 0, fail)


def test_waiting_for_a_queued_run_sees_every_state_up_to_done():
    backend = tl.BackendV2()
    job = backend.run(bell_circuit(), 50)
    seen = []
    job.wait_for_final_state(WAIT_SECONDS, 0, lambda job_id, status, j: seen.append(status))
    assert seen[-1] == S.DONE
    assert set(seen) <= {S.QUEUED, S.RUNNING, S.DONE}
    assert job.done() and job.in_final_state()
    assert len(job.result().get_memory()) == 50


def test_result_and_backend_are_shared_with_python():
    backend = tl.BackendV2()
    job = backend.run(bell_circuit(), 10)
    wait(job)
    assert job.backend() is backend
    result = job.result()
    assert job.result() is result
    memory = result.get_memory()
    del result
    gc.collect()
    assert job.result().get_memory() == memory
    # Dropping the backend's Python object leaves the job's backend working.
    del backend
    gc.collect()
    again = job.backend()
    assert isinstance(again, tl.BackendV2)
    assert again.run(bell_circuit(), shots=4, mode="sync").done()


def test_cancelled_queued_job_is_skipped():
    backend = tl.BackendV2()
    ahead = tl.QuantumCircuit(10)
    ahead.h(list(range(10)))
    ahead.measure_all()
    first = backend.run(ahead, 2000)
    second = backend.run(bell_circuit(), 10)
    second.cancel()
    wait(first)
    wait(second)
    assert first.done()
    # Either it was cancelled while it waited, or it had already started.
    if second.cancelled():
        assert second.result().results == [] and not second.result().success
    else:
        assert second.done()


def test_runs_and_drawings_print_nothing_when_stdout_is_none(monkeypatch):
    # As Python's own print does for a program started without a console.
    monkeypatch.setattr("sys.stdout", None)
    backend = tl.BackendV2()
    job = backend.run(bell_circuit(), shots=5, quiet=False)
    tl.job_monitor(job)
    assert job.status() == S.DONE and sum(job.result().get_counts().values()) == 5
    sync = backend.run(bell_circuit(), shots=5, quiet=False, mode="sync")
    assert sync.status() == S.DONE
    bell_circuit().draw()
    assert bell_circuit().qasm(True) == ""
