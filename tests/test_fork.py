"""A process that has backends, running and queued jobs and threads waiting
inside the module forks: the child and the parent both keep working and end
cleanly, and no job runs in both. Each program runs in a child interpreter
with a timeout (tests/fork_programs.py)."""

import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

import pytest

from fork_programs import FORK_PROGRAM, POOL_PROGRAM

RUNS = 4

# What the child sees of the jobs that the parent's worker was running and
# had queued at the fork: the parent runs them, so here they are over.
INHERITED_JOBS = [
    "child running job JobStatus.ERROR",
    "child queued job JobStatus.CANCELLED",
    "child running job's result: The job was running when this process was forked; it runs on"
    " in the process it was forked from, not here.",
]
PARENT = [
    "parent child status 0",
    "parent running job done",
    "parent queued job done",
    "parent new job done",
    "parent printing job done",
    "parent done",
]
CHILD_CASES = {
    "thread": ["child thread ok"],
    "own": ["child own backend ok"],
    "inherited": ["child inherited backend ok", "child inherited sync ok"],
    "drop": ["child dropped"],
    "threads-wait": ["child threads waiting"],
    "nested": ["child grandchild ok"],
}


def run_program(program, argument):
    done = subprocess.run([sys.executable, "-c", program, argument], capture_output=True,
                          text=True, timeout=120)
    return done.returncode, done.stdout.splitlines(), done.stderr


@pytest.mark.parametrize("case", sorted(CHILD_CASES))
def test_child_and_parent_both_work_after_a_fork(case):
    expected = INHERITED_JOBS + CHILD_CASES[case] + PARENT
    with ThreadPoolExecutor(max_workers=RUNS) as pool:
        runs = list(pool.map(run_program, [FORK_PROGRAM] * RUNS, [case] * RUNS))
    for status, lines, errors in runs:
        assert (status, lines, errors) == (0, expected, "")


def test_multiprocessing_children_forked_from_a_process_with_backends():
    for _ in range(2):
        status, lines, errors = run_program(POOL_PROGRAM, "")
        assert (status, lines, errors) == (
            0, ["child ok", "child exit codes [0, 0, 0]", "parent running job done",
                "parent done"], "")
