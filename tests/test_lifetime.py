"""Objects shared between Python and the backend's worker thread, and the
end of the interpreter while a backend still has work."""

import gc
import os
import subprocess
import sys
import textwrap
import time

import TavironLib as tl
from circuit_reference import bell_circuit

DEADLINE_SECONDS = 60.0


def long_circuit():
    qc = tl.QuantumCircuit(10)
    qc.h(list(range(10)))
    for qubit in range(9):
        qc.cx(qubit, qubit + 1)
    qc.measure_all()
    return qc


def wait_until(predicate):
    deadline = time.monotonic() + DEADLINE_SECONDS
    while not predicate():
        assert time.monotonic() < deadline, "deadline passed"
        time.sleep(0.005)


def test_a_kept_result_completes_after_everything_else_is_dropped():
    backend = tl.BackendV2()
    ahead = backend.run(long_circuit(), 300)
    job = backend.run(bell_circuit(), 100)
    # The job stores a callback; the wait times out at once while the job
    # is still queued, so the callback is released later, by the worker.
    try:
        job.wait_for_final_state(-1, 0, lambda *args: None)
    except RuntimeError:
        pass
    result = job.result()
    del ahead, job, backend
    gc.collect()
    # The worker now holds the last hold on the backend and the job, and
    # lets them go on its own thread when the job ends.
    wait_until(lambda: result.success)
    counts = result.get_counts()
    assert sum(counts.values()) == 100 and set(counts) <= {"00", "11"}
    assert result.to_dict()["success"] == "Success"


def test_a_backend_lives_while_one_of_its_jobs_is_held():
    job = tl.BackendV2().run(bell_circuit(), 20)
    gc.collect()
    job.wait_for_final_state(DEADLINE_SECONDS, 0, lambda *args: None)
    assert job.done()
    assert job.backend().run(bell_circuit(), shots=1, mode="sync").done()


def native_thread_count():
    return len(os.listdir("/proc/self/task"))


def test_released_backends_leave_no_thread_behind():
    before = native_thread_count()
    backends = [tl.BackendV2() for _ in range(100)]
    assert native_thread_count() >= before + 100
    del backends
    gc.collect()
    wait_until(lambda: native_thread_count() <= before)


EXIT_PROGRAM = """
    import TavironLib as tl

    qc = tl.QuantumCircuit(8, 8)
    qc.h(list(range(8)))
    for qubit in range(8):
        qc.measure(qubit, qubit)
    backend = tl.BackendV2()
    jobs = [backend.run(qc, shots=200, quiet=False) for _ in range(3)]
    try:
        jobs[-1].wait_for_final_state(-1, 0, lambda *args: None)
    except RuntimeError:
        pass
    {drop}
    print("main done", flush=True)
"""


def run_exit_program(drop):
    code = textwrap.dedent(EXIT_PROGRAM).format(drop=drop)
    return subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                          timeout=300)


def test_the_program_exits_cleanly_right_after_a_queued_run():
    for drop in ("pass", "del jobs, backend, qc"):
        completed = run_exit_program(drop)
        assert completed.returncode == 0, completed.stderr
        assert completed.stderr == ""
        # The worker's lines may interleave with the main thread's.
        assert "main done" in completed.stdout
