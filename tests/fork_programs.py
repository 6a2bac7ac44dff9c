"""Programs that fork after backends exist, for tests/test_fork.py and the
stress run. Each is run as `python -c PROGRAM CASE`; each process prints one
line per check it passed ("parent ..." and "child ..."), and the parent
ends with "parent done" after the child has ended with status 0.

FORK_PROGRAM forks with os.fork while a job runs on the backend's worker
and another waits in its queue, and while a daemon thread waits inside the
module. CASE picks what the child does: "thread" (starts and joins a
Python thread), "own" (makes a backend of its own and runs a job on it),
"inherited" (runs a job on the backend it inherited), "drop" (drops the
inherited backend and its jobs), "threads-wait" (waits in daemon threads
for an inherited job that never ends, then exits), "nested" (forks again;
the grandchild and the child each run a job on the inherited backend). The parent then checks
that its own jobs ran, each once, and runs one more.

POOL_PROGRAM runs the same checks through multiprocessing with the fork
start method: each child makes a backend, runs a job on it and on the
inherited one, and drops the inherited one.

fork_lines(CASE) and POOL_LINES are what the programs print when all goes
well."""

import os
import textwrap

COMMON = textwrap.dedent("""
    import os, sys, threading, time, warnings
    import TavironLib as tl
    # Forking with threads running is what these programs test (Python 3.12
    # and later warn about it).
    warnings.filterwarnings("ignore", "This process .* is multi-threaded", DeprecationWarning)
    sys.path.insert(0, TESTS)
    from circuit_reference import bell_circuit as bell

    # Takes the module's printed lines. In the first process it holds each
    # write until opened, so a printing job is sure to be running when the
    # process forks; in the children made by fork, lines pass.
    class Gate:
        def __init__(self):
            self.opened = threading.Event()
            self.pid = os.getpid()

        def write(self, text):
            if os.getpid() == self.pid:
                self.opened.wait()
            return len(text)

        def flush(self):
            pass

    # The checks go to the first stdout; the module's prints, to the gate.
    checks = sys.stdout
    gate = sys.stdout = Gate()

    def say(*words):
        print(*words, file=checks, flush=True)

    def long_circuit():
        qc = tl.QuantumCircuit(12, 12)
        qc.h(list(range(12)))
        for q in range(11):
            qc.cx(q, q + 1)
        qc.reset(0)  # run shot by shot, not sampled
        for q in range(12):
            qc.measure(q, q)
        return qc

    def final(job):
        job.wait_for_final_state(60, 0.001, lambda *args: None)
        return job.status()

    def bell_counts_ok(job, shots):
        counts = job.result().get_counts()
        return set(counts) <= {"00", "11"} and sum(counts.values()) == shots
""").replace("TESTS", repr(os.path.dirname(os.path.abspath(__file__))))

FORK_PROGRAM = COMMON + textwrap.dedent("""
    case = sys.argv[1]
    backend = tl.BackendV2()
    # The running job prints, and waits at the closed gate until the parent
    # has forked; the queued job waits behind it.
    running = backend.run(long_circuit(), shots=200, quiet=False)
    queued = backend.run(bell(), shots=100)
    # Another worker's job runs its shots on the shot threads while the
    # process forks.
    pooled = tl.BackendV2().run(long_circuit(), shots=40000)
    never = tl.JobV1("never")
    threading.Thread(target=lambda: never.wait_for_final_state(0, 0.01, lambda *a: None),
                     daemon=True).start()
    while running.status() == tl.QUEUED:
        time.sleep(0.001)
    pid = os.fork()
    if pid == 0:
        # The parent runs both jobs; here they end at once, neither run.
        say("child running job", running.status())
        say("child queued job", queued.status())
        try:
            running.result().get_statevector()
        except RuntimeError as error:
            say("child running job's result:", error)
        if case == "thread":
            thread = threading.Thread(target=lambda: None)
            thread.start()
            thread.join()
            say("child thread ok")
        elif case == "own":
            job = tl.BackendV2().run(bell(), shots=100)
            if final(job) == tl.DONE and bell_counts_ok(job, 100):
                say("child own backend ok")
        elif case == "inherited":
            job = backend.run(bell(), shots=100)
            if final(job) == tl.DONE and bell_counts_ok(job, 100):
                say("child inherited backend ok")
            sync = backend.run(bell(), shots=10, mode="sync", quiet=True)
            if sync.done() and bell_counts_ok(sync, 10):
                say("child inherited sync ok")
        elif case == "drop":
            del backend, running, queued
            say("child dropped")
        elif case == "threads-wait":
            for pause in (0, 0.01):
                threading.Thread(target=lambda p=pause: never.wait_for_final_state(0, p, lambda *a: None),
                                 daemon=True).start()
            threading.Thread(target=tl.job_monitor, args=(never, -1, True), daemon=True).start()
            time.sleep(0.05)
            say("child threads waiting")
        elif case == "nested":
            grandchild = os.fork()
            if grandchild == 0:
                job = backend.run(bell(), shots=100)
                sys.exit(0 if final(job) == tl.DONE and bell_counts_ok(job, 100) else 1)
            _, status = os.waitpid(grandchild, 0)
            job = backend.run(bell(), shots=100)
            if os.waitstatus_to_exitcode(status) == 0 and final(job) == tl.DONE:
                say("child grandchild ok")
        sys.exit(0)
    gate.opened.set()
    _, status = os.waitpid(pid, 0)
    say("parent child status", os.waitstatus_to_exitcode(status))
    if final(running) == tl.DONE and len(running.result().get_counts()) > 0:
        say("parent running job done")
    if final(queued) == tl.DONE and bell_counts_ok(queued, 100):
        say("parent queued job done")
    job = backend.run(bell(), shots=100)
    if final(job) == tl.DONE and bell_counts_ok(job, 100):
        say("parent new job done")
    if final(pooled) == tl.DONE and len(pooled.result().get_counts()) > 0:
        say("parent pooled job done")
    say("parent done")
""")

POOL_PROGRAM = COMMON + textwrap.dedent("""
    import multiprocessing

    inherited = tl.BackendV2()
    running = inherited.run(long_circuit(), shots=200, quiet=False)  # held at the gate
    while running.status() == tl.QUEUED:
        time.sleep(0.001)

    def child(index):
        global inherited, running
        results = []
        job = tl.BackendV2().run(bell(), shots=50)
        results.append(final(job) == tl.DONE and bell_counts_ok(job, 50))
        if inherited is not None:  # the first task of this process
            job = inherited.run(bell(), shots=50)
            results.append(final(job) == tl.DONE and bell_counts_ok(job, 50))
            results.append(running.status() == tl.ERROR)
            inherited = running = job = None
        return all(results)

    if __name__ == "__main__":
        context = multiprocessing.get_context("fork")
        with context.Pool(3) as pool:
            outcomes = pool.map(child, range(6))
        say("child", "ok" if all(outcomes) else outcomes)
        processes = [context.Process(target=child, args=(i,)) for i in range(3)]
        for process in processes:
            process.start()
        for process in processes:
            process.join()
        say("child exit codes", [process.exitcode for process in processes])
        gate.opened.set()
        if final(running) == tl.DONE:
            say("parent running job done")
        say("parent done")
""")

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
    "parent pooled job done",
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


def fork_lines(case):
    """The lines that FORK_PROGRAM prints for case when all goes well."""
    return INHERITED_JOBS + CHILD_CASES[case] + PARENT


POOL_LINES = ["child ok", "child exit codes [0, 0, 0]", "parent running job done", "parent done"]
