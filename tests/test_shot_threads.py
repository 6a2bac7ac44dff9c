"""The threads that run the shots of every job: what a process pinned to one
processor gets, a process that ends while shots run, and a child made by
fork. Each case runs in a child interpreter, many times, with a timeout."""

import subprocess
import sys
import textwrap
from concurrent.futures import ThreadPoolExecutor

RUNS = 12

# A circuit whose shots must each be simulated: a measurement, a reset and
# a condition in every one. The last qubit stays 0 until it copies bit 0
# through the condition, so bit 2 always equals bit 0.
DYNAMIC = textwrap.dedent("""
    import os, sys, threading
    import TavironLib as tl

    def dynamic(n=12):
        qc = tl.QuantumCircuit(n, n)
        for q in range(n - 1):
            qc.ry(0.3 + 0.1 * q, q)
        for q in range(n - 2):
            qc.cx(q, q + 1)
        qc.measure(0, 0)
        qc.reset(0)
        qc.ry(1.0, 0)
        qc.x(n - 1).c_if(0, 1)
        qc.measure(0, 1)
        qc.measure(n - 1, 2)
        return qc

    def check(counts, shots):
        assert sum(counts.values()) == shots, counts
        assert all(key[0] == key[2] for key in counts), counts

    def threads():
        return len(os.listdir("/proc/self/task"))
""")


def run_program(body, timeout=120):
    program = DYNAMIC + textwrap.dedent(body)
    return subprocess.run([sys.executable, "-c", program], capture_output=True, text=True,
                          timeout=timeout)


def run_many(body, runs=RUNS):
    with ThreadPoolExecutor(max_workers=4) as pool:
        results = list(pool.map(lambda _: run_program(body), range(runs)))
    failed = [r for r in results if r.returncode != 0]
    assert not failed, f"{len(failed)} of {runs} runs failed: {failed[0].stderr[-800:]}"
    return results


def test_a_process_pinned_to_one_processor_runs_its_shots_on_its_own_threads():
    run_many("""
        os.sched_setaffinity(0, {min(os.sched_getaffinity(0))})
        backend = tl.BackendV2()
        before = threads()
        check(backend.run(dynamic(), shots=400, mode="sync").result().get_counts(), 400)
        job = backend.run(dynamic(), shots=400)
        job.wait_for_final_state(60, 0.01, lambda *args: None)
        check(job.result().get_counts(), 400)
        assert threads() == before, (threads(), before)
    """, runs=2)


def test_a_process_that_ends_while_shots_run_exits_cleanly():
    # Queued jobs on several backends and a daemon thread's synchronous run
    # are under way when the main thread ends.
    results = run_many("""
        backends = [tl.BackendV2() for _ in range(3)]
        jobs = [b.run(dynamic(), shots=5000) for b in backends]
        def sync_run():
            tl.BackendV2().run(dynamic(), shots=5000, mode="sync")
        threading.Thread(target=sync_run, daemon=True).start()
        print("main done")
    """)
    assert all("main done" in r.stdout for r in results)


def test_a_child_made_by_fork_runs_its_shots_on_threads_of_its_own():
    run_many("""
        backend = tl.BackendV2()
        check(backend.run(dynamic(), shots=2000, mode="sync").result().get_counts(), 2000)
        busy = backend.run(dynamic(), shots=20000)  # still running at the fork
        children = []
        for _ in range(2):
            pid = os.fork()
            if pid == 0:
                try:
                    child_backend = tl.BackendV2()
                    check(child_backend.run(dynamic(), shots=2000, mode="sync")
                          .result().get_counts(), 2000)
                    job = child_backend.run(dynamic(), shots=2000)
                    job.wait_for_final_state(60, 0.01, lambda *args: None)
                    check(job.result().get_counts(), 2000)
                    os._exit(0)
                except BaseException as error:
                    print(repr(error), file=sys.stderr)
                    os._exit(1)
            children.append(pid)
        for pid in children:
            _, status = os.waitpid(pid, 0)
            assert os.waitstatus_to_exitcode(status) == 0, status
        busy.wait_for_final_state(120, 0.01, lambda *args: None)
        check(busy.result().get_counts(), 20000)
    """)
