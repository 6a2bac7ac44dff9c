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
