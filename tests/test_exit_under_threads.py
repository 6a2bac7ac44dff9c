"""The end of the interpreter while daemon threads wait on jobs, and the
waits themselves: they neither abort the process nor keep a core busy."""

import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor

import pytest

import TavironLib as tl
from circuit_reference import bell_circuit
from daemon_exit_program import PRINTING_PROGRAM, PROGRAM

EXIT_RUNS = 60


def run_exit_program(program, variant):
    return subprocess.run([sys.executable, "-c", program, str(variant)], capture_output=True,
                          text=True, timeout=300)


# Daemon threads inside the module's waits, and daemon threads (and a
# worker) printing through Python: monitors, progress lines, drawings.
@pytest.mark.parametrize("program", [PROGRAM, PRINTING_PROGRAM], ids=["waits", "printing"])
def test_exit_with_daemon_threads_inside_the_module_never_aborts(program):
    with ThreadPoolExecutor(max_workers=6) as pool:
        runs = list(pool.map(run_exit_program, [program] * EXIT_RUNS, range(EXIT_RUNS)))
    failed = [run for run in runs
              if run.returncode != 0 or "terminate" in run.stderr or "Fatal" in run.stderr]
    assert not failed, f"{len(failed)} of {EXIT_RUNS} runs failed: {failed[0].stderr[-500:]}"
    assert all("main done" in run.stdout for run in runs)


def waiting_cpu_share(pause):
    """The share of one processor that a wait of half a second takes."""
    job = tl.JobV1("never")
    wall, cpu = time.monotonic(), time.thread_time()
    try:
        job.wait_for_final_state(0.5, pause, lambda *args: None)
    except RuntimeError as error:
        assert "0 seconds passed" in str(error)
    return (time.thread_time() - cpu) / (time.monotonic() - wall)


def test_the_wait_sleeps_between_polls():
    # Polling without pause would take the whole processor (a share near 1).
    for pause in (0, -1, float("nan"), 0.05):
        assert waiting_cpu_share(pause) < 0.3, pause


def test_a_long_pause_ends_when_the_job_does():
    backend = tl.BackendV2()
    job = backend.run(bell_circuit(), shots=200)
    statuses = []
    started = time.monotonic()
    job.wait_for_final_state(0, 60, lambda job_id, status, job: statuses.append(status))
    assert time.monotonic() - started < 30
    assert statuses[-1] == tl.JobStatus.DONE
    assert job.done()


def test_a_pause_longer_than_the_timeout_still_times_out_on_time():
    started = time.monotonic()
    try:
        tl.JobV1("never").wait_for_final_state(1, 60, lambda *args: None)
    except RuntimeError as error:
        assert str(error) == "Timeout while waiting for job: never 1 seconds passed\n"
    else:
        raise AssertionError("no timeout")
    assert time.monotonic() - started < 30
