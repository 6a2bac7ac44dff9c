"""BackendV2: its attributes, the run overloads and keywords, job ids,
printing from the worker thread, and synchronous runs that let other threads
run."""

import time

import warnings

import pytest

import TavironLib as tl
from ticking import Ticker, heavy_circuit

S = tl.JobStatus
WAIT_SECONDS = 60.0


def measured_circuit(qubits=1):
    """X on qubit 0, then every qubit measured into the bit of its index."""
    qc = tl.QuantumCircuit(qubits, qubits)
    qc.x(0)
    for qubit in range(qubits):
        qc.measure(qubit, qubit)
    return qc


def wait(job):
    job.wait_for_final_state(WAIT_SECONDS, 0.0, lambda *args: None)


def test_attributes():
    for backend in (tl.BackendV2(), tl.TavironProvider().get_backend("velmora_taviron")):
        assert (backend.version, backend.dt, backend.dtm, backend.max_circuits,
                backend.num_qubits) == (2, 1, 1, 1, 100)
        assert (backend.name, backend.description, backend.online_date,
                backend.backend_version) == ("velmora_taviron", "Taviron Simulator Velmora",
                                             "9/12/2023", "0.2.1")
        with pytest.raises(AttributeError):
            backend.num_qubits = 5


def test_run_overloads():
    backend = tl.BackendV2()
    qc = measured_circuit()
    # Circuit and an int: the shot-count overload, always queued.
    job = backend.run(qc, 3)
    wait(job)
    assert len(job.result().results) == 3
    # Keywords: the first overload.
    job = backend.run(qc, shots=4, mode="sync")
    assert job.done() and len(job.result().results) == 4
    # A later run without shots uses the circuit's stored count.
    job = backend.run(qc, mode="sync")
    assert len(job.result().results) == 4


@pytest.mark.parametrize("call", [
    lambda b, qc: b.run(qc, 100, mode="sync"),
    lambda b, qc: b.run(circuit=qc),
    lambda b, qc: b.run(qc, 1.5),
    lambda b, qc: b.run(qc, "1"),
    lambda b, qc: b.run(qc, 2**31),
    lambda b, qc: b.run(),
    lambda b, qc: b.run(tl.QuantumRegister(1)),
    lambda b, qc: b.run(None),
    lambda b, qc: b.run(None, 5),
])
def test_run_refuses_calls_that_match_no_overload(call):
    with pytest.raises(TypeError):
        call(tl.BackendV2(), measured_circuit())


def test_keywords_that_do_not_convert():
    backend = tl.BackendV2()
    qc = measured_circuit()
    for keywords in ({"shots": 1.5}, {"mode": 3}, {"quiet": "no"}, {"shots": 2**31}):
        with pytest.raises(RuntimeError):
            backend.run(qc, **keywords)
    # Unknown keywords are ignored, with a warning.
    with pytest.warns(UserWarning, match="ignores the keyword argument 'colour'"):
        assert backend.run(qc, shots=2, mode="sync", colour="blue").done()


def test_a_refused_keyword_leaves_the_circuit_as_it_was():
    backend = tl.BackendV2()
    qc = measured_circuit()
    backend.run(qc, shots=3, mode="sync", quiet=True)
    with pytest.raises(RuntimeError):
        backend.run(qc, shots=7, quiet="no")
    # Neither the shot count nor anything else was written.
    assert len(backend.run(qc, mode="sync").result().get_memory()) == 3


@pytest.mark.parametrize("keyword, value, native_type", [
    ("shots", 1.5, "'int'"),
    ("mode", 3, "string"),
    ("quiet", "no", "'bool'"),
])
def test_a_keyword_that_does_not_convert_names_its_type(keyword, value, native_type):
    with pytest.raises(RuntimeError) as raised:
        tl.BackendV2().run(measured_circuit(), **{keyword: value})
    message = str(raised.value)
    assert f"Python instance of type {type(value)}" in message
    assert native_type in message and "debug mode" not in message


def test_modes_and_job_ids():
    backend = tl.BackendV2()
    qc = measured_circuit()
    assert backend.run(qc, shots=1, mode="sync").job_id() == "0"
    assert backend.run(qc, shots=1, mode="SyNc").job_id() == "0"
    queued = backend.run(qc, shots=1)
    assert queued.job_id() == "0"
    wait(queued)
    assert backend.run(qc, mode="sync").job_id() == "1"
    for mode in ("synchronous", "", "async"):
        with warnings.catch_warnings():
            warnings.simplefilter("ignore")  # other modes are named in a warning
            job = backend.run(qc, mode=mode)
        wait(job)
    assert job.job_id() == "3"


def test_a_queued_job_prints_from_the_worker_thread(capsys):
    backend = tl.BackendV2()
    qc = measured_circuit()
    wait(backend.run(qc, shots=2, quiet=True))
    assert capsys.readouterr().out == ""
    wait(backend.run(qc, shots=2, quiet=False))
    printed = capsys.readouterr().out
    assert printed.count("\n") >= 2


def test_a_synchronous_run_prints_its_time_lines(capsys):
    qc = measured_circuit()
    tl.BackendV2().run(qc, shots=1, mode="sync", quiet=None)
    lines = capsys.readouterr().out.split("\n")
    assert lines[0].startswith("Executing Circuit start time ") and lines[1] == ""
    assert lines[-3].startswith("Completed Circuit end time ") and lines[-2] == ""


def test_two_backends_run_side_by_side():
    backends = [tl.BackendV2() for _ in range(2)]
    jobs = [backend.run(measured_circuit(2), 200) for backend in backends]
    for job in jobs:
        wait(job)
    assert [job.result().get_counts() for job in jobs] == [{"01": 200}] * 2


# The simulation runs without the interpreter lock, as the worker's does: a
# Python thread that ticks every 10 ms keeps ticking (holding the lock, the
# run froze it for the whole second or more). A run that prints takes the
# lock back for each line.
@pytest.mark.parametrize("quiet", [True, False])
def test_a_synchronous_run_lets_other_threads_run(quiet, capsys):
    qc = heavy_circuit()
    with Ticker() as ticker:
        started = time.monotonic()
        job = tl.BackendV2().run(qc, shots=2 if quiet else 1, mode="sync", quiet=quiet)
        took = time.monotonic() - started
    assert job.done()
    printed = capsys.readouterr().out.splitlines()
    assert printed[:1] == [] if quiet else printed[0].startswith("Executing Circuit start time")
    assert ticker.longest_gap() < 0.5, f"ticks stopped for {ticker.longest_gap():.2f} s of {took:.2f} s"
