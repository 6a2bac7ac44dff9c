"""A process that has backends, running and queued jobs and threads waiting
inside the module forks: the child and the parent both keep working and end
cleanly, and no job runs in both. Each program runs in a child interpreter
with a timeout (tests/fork_programs.py)."""

import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

import pytest

from fork_programs import CHILD_CASES, FORK_PROGRAM, POOL_LINES, POOL_PROGRAM, fork_lines

RUNS = 4


def run_program(program, argument):
    done = subprocess.run([sys.executable, "-c", program, argument], capture_output=True,
                          text=True, timeout=120)
    return done.returncode, done.stdout.splitlines(), done.stderr


@pytest.mark.parametrize("case", sorted(CHILD_CASES))
def test_child_and_parent_both_work_after_a_fork(case):
    expected = fork_lines(case)
    with ThreadPoolExecutor(max_workers=RUNS) as pool:
        runs = list(pool.map(run_program, [FORK_PROGRAM] * RUNS, [case] * RUNS))
    for status, lines, errors in runs:
        assert (status, lines, errors) == (0, expected, "")


def test_multiprocessing_children_forked_from_a_process_with_backends():
    for _ in range(2):
        status, lines, errors = run_program(POOL_PROGRAM, "")
        assert (status, lines, errors) == (0, POOL_LINES, "")


# Forks while the backend's worker may be making the process's shot threads
# (its first job that runs shot by shot); the child forks again and runs a
# job of its own on them. A child that copied the pool half made, or its
# lock held, would hang.
POOL_CREATION_PROGRAM = """
import os, warnings
import TavironLib as tl
warnings.filterwarnings("ignore", "This process .* is multi-threaded", DeprecationWarning)
qc = tl.QuantumCircuit(4, 4)
qc.h(0)
qc.reset(0)  # run shot by shot, on the shot threads
qc.measure(0, 0)
job = tl.BackendV2().run(qc, shots=200)
pid = os.fork()
if pid == 0:
    grandchild = os.fork()
    if grandchild == 0:
        os._exit(0)
    os.waitpid(grandchild, 0)
    mine = tl.BackendV2().run(qc, shots=200)
    mine.wait_for_final_state(30, 0.001, lambda *args: None)
    os._exit(0 if mine.status() == tl.DONE else 1)
_, status = os.waitpid(pid, 0)
job.wait_for_final_state(30, 0.001, lambda *args: None)
print(os.waitstatus_to_exitcode(status), job.status())
"""


def test_fork_while_the_shot_threads_are_being_made():
    with ThreadPoolExecutor(max_workers=8) as pool:
        runs = list(pool.map(run_program, [POOL_CREATION_PROGRAM] * 160, [""] * 160))
    assert runs == [(0, ["0 JobStatus.DONE"], "")] * 160
