"""Reliability stress run of the installed TavironLib module.

Not part of the quick test run. Runs four scenarios at scale and prints, for
each, how many runs it made and how many went wrong:

  concurrency  threads share backends and run Bell circuits queued and
               synchronously; every count must be exact (only 00 and 11,
               summing to the shots)
  lifetime     create, run, read and drop backends, jobs and results in a
               loop; resident memory must not keep growing
  exit         child interpreters end while daemon threads wait inside
               wait_for_final_state, job_monitor and polling loops, and while
               jobs run; every child must exit with status 0
  printing     child interpreters end while daemon threads print through
               Python (job monitors, drawings, OpenQASM text, synchronous
               runs) and a worker prints progress lines; every child must
               exit with status 0
  fork         processes fork while jobs run and wait and threads wait
               inside the module, through os.fork (each kind of child use in
               turn) and multiprocessing; both processes must end with status
               0 and print their expected checks
  accounts     processes save and delete accounts in one settings folder at
               once; no account may be lost and no line torn

Usage: python tests/stress/stress.py [--scale N] [--only NAME ...]
(--scale multiplies every count; 1 takes about two minutes on 8 cores).
Exits with status 1 when any scenario had a failure.
"""

import argparse
import multiprocessing
import os
import resource
import subprocess
import sys
import tempfile
import threading
import time
from concurrent.futures import ThreadPoolExecutor

import TavironLib as tl

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from circuit_reference import bell_circuit as bell  # noqa: E402
from daemon_exit_program import PRINTING_PROGRAM, PROGRAM  # noqa: E402
from fork_programs import (CHILD_CASES, FORK_PROGRAM, POOL_LINES,  # noqa: E402
                           POOL_PROGRAM, fork_lines)


def counts_ok(counts, shots):
    return set(counts) <= {"00", "11"} and sum(counts.values()) == shots


def concurrency(scale):
    threads, runs_each, shots = 8, 400 * scale, 200
    backends = [tl.BackendV2() for _ in range(3)]
    failures, runs = [], [0]
    lock = threading.Lock()

    def worker(index):
        for run in range(runs_each):
            backend = backends[(index + run) % len(backends)]
            try:
                if run % 4 == 0:
                    job = tl.BackendV2().run(bell(), shots=shots, mode="sync")
                else:
                    job = backend.run(bell(), shots=shots)
                    job.wait_for_final_state(60, 0.001, lambda *args: None)
                ok = job.done() and counts_ok(job.result().get_counts(), shots)
            except Exception as error:  # noqa: BLE001 - counted, then reported
                ok = False
                failures.append(repr(error))
            with lock:
                runs[0] += 1
                if not ok and len(failures) < 5:
                    failures.append(f"thread {index} run {run}: wrong result")

    pool = [threading.Thread(target=worker, args=(i,)) for i in range(threads)]
    for thread in pool:
        thread.start()
    for thread in pool:
        thread.join()
    return {"runs": runs[0], "failures": len(failures)}, failures


def resident_kib():
    with open("/proc/self/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss


def lifetime(scale):
    rounds, per_round = 10, 1500 * scale
    samples, failures = [], []

    for _ in range(rounds):
        for _ in range(per_round):
            backend = tl.BackendV2()
            job = backend.run(bell(), shots=4)
            job.wait_for_final_state(60, 0, lambda *args: None)
            result = job.result()
            if not counts_ok(result.get_counts(), 4) or len(result.get_densitymatrix()) != 4:
                failures.append("wrong result")
            del backend, job, result
        samples.append(resident_kib())
    # The first rounds warm the allocator; after that the size must settle.
    growth = samples[-1] - samples[2]
    if growth > 20 * 1024:
        failures.append(f"resident memory grew by {growth} KiB over {rounds - 3} rounds")
    return {"runs": rounds * per_round, "failures": len(failures),
            "rss_kib_after_round_3": samples[2], "rss_kib_at_end": samples[-1]}, failures


def child_runs(program, variants, check, workers=8):
    """Runs `python -c program variant` for each variant, workers at a time;
    check(variant, completed process) returns a failure text or None."""
    failures = []

    def child(variant):
        try:
            done = subprocess.run([sys.executable, "-c", program, str(variant)],
                                  capture_output=True, text=True, timeout=600)
        except subprocess.TimeoutExpired:
            return f"variant {variant}: no end within 600 s"
        return check(variant, done)

    with ThreadPoolExecutor(max_workers=workers) as pool:
        for outcome in pool.map(child, variants):
            if outcome:
                failures.append(outcome)
    return {"runs": len(variants), "failures": len(failures)}, failures


def exit_status_zero(variant, done):
    if done.returncode != 0:
        return f"variant {variant}: status {done.returncode}: {done.stderr[-300:]}"
    return None


def exit_runs(scale):
    return child_runs(PROGRAM, list(range(200 * scale)), exit_status_zero)


def printing(scale):
    return child_runs(PRINTING_PROGRAM, list(range(200 * scale)), exit_status_zero)


def fork(scale):
    cases = sorted(CHILD_CASES)

    def check(case, done):
        expected = fork_lines(case) if case else POOL_LINES
        if (done.returncode, done.stdout.splitlines(), done.stderr) != (0, expected, ""):
            return (f"{case or 'multiprocessing'}: status {done.returncode}: "
                    f"{done.stdout[-200:]!r} {done.stderr[-300:]!r}")
        return None

    forked, failures = child_runs(FORK_PROGRAM, [cases[i % len(cases)] for i in range(90 * scale)],
                                  check, workers=4)
    pooled, more = child_runs(POOL_PROGRAM, [""] * (10 * scale), check, workers=4)
    return {"runs": forked["runs"] + pooled["runs"],
            "failures": forked["failures"] + pooled["failures"]}, failures + more


def save_and_delete(appdata, index, rounds):
    os.environ["APPDATA"] = appdata
    provider = tl.TavironProvider()
    for round_ in range(rounds):
        provider.save_account(f"t{round_}", "", "", f"p{index}_{round_}", {}, False, False)
        provider.save_account(f"t{round_}", "", "", f"shared{index}", {}, False, True)
        if round_ % 2:
            provider.delete_account(f"p{index}_{round_ - 1}")


def accounts(scale):
    processes, rounds = 8, 60 * scale
    with tempfile.TemporaryDirectory() as appdata:
        context = multiprocessing.get_context("fork")
        workers = [context.Process(target=save_and_delete, args=(appdata, i, rounds))
                   for i in range(processes)]
        for worker in workers:
            worker.start()
        for worker in workers:
            worker.join()
        failures = [f"process {i} exited {w.exitcode}" for i, w in enumerate(workers)
                    if w.exitcode != 0]
        with open(os.path.join(appdata, "taviron", "config.file")) as file:
            lines = file.read().splitlines()
    expected = {f"p{i}_{r}" for i in range(processes) for r in range(1, rounds, 2)}
    expected |= {f"shared{i}" for i in range(processes)}
    names = [line.split(",")[0] for line in lines]
    lost = len(expected - set(names))
    extra = len(names) - len(set(names)) + len(set(names) - expected)
    torn = sum(1 for line in lines if line.count(",") != 3)
    if lost or extra or torn:
        failures.append(f"{lost} lost, {extra} extra or repeated, {torn} torn lines")
    return {"runs": processes * rounds * 2 + processes * (rounds // 2),
            "failures": len(failures), "accounts_expected": len(expected),
            "accounts_lost": lost, "torn_lines": torn}, failures


SCENARIOS = {"concurrency": concurrency, "lifetime": lifetime, "exit": exit_runs,
             "printing": printing, "fork": fork, "accounts": accounts}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--scale", type=int, default=1)
    parser.add_argument("--only", nargs="*", choices=sorted(SCENARIOS), default=None)
    options = parser.parse_args()
    failed = False
    for name in options.only or SCENARIOS:
        started = time.monotonic()
        figures, failures = SCENARIOS[name](options.scale)
        seconds = time.monotonic() - started
        text = ", ".join(f"{key} {value}" for key, value in figures.items())
        print(f"{name:12s} {text} ({seconds:.1f} s)", flush=True)
        for failure in failures[:5]:
            print(f"    {failure}", flush=True)
        failed = failed or figures["failures"] > 0
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
