"""Ctrl-C (SIGINT) while the main thread waits inside the module: the wait
ends with KeyboardInterrupt within a fraction of a second, however long the
pause between its polls or the monitor's interval, and other Python threads
run throughout. Each case runs in a child interpreter, several times."""

import os
import subprocess
import sys
import textwrap

import pytest

RUNS = 5

PROGRAM = textwrap.dedent("""
    import os, signal, sys, threading, time
    sys.path.insert(0, TESTS)
    import TavironLib as tl
    from circuit_reference import bell_circuit
    from ticking import Ticker

    wait = sys.argv[1]
    never = tl.JobV1("never")
    sent = []

    def interrupt():
        time.sleep(0.3)
        sent.append(time.monotonic())
        os.kill(os.getpid(), signal.SIGINT)

    with Ticker() as ticker:
        threading.Thread(target=interrupt, daemon=True).start()
        try:
            if wait == "pause":
                never.wait_for_final_state(0, 30, lambda *args: None)
            elif wait == "pause with timeout":
                never.wait_for_final_state(40, 30, lambda *args: None)
            elif wait == "monitor":
                tl.job_monitor(never, 30, True)
            elif wait == "printing monitor":
                tl.job_monitor(never, 30, False)
        except KeyboardInterrupt:
            print(f"interrupted after {time.monotonic() - sent[0]:.3f}", flush=True)
    print(f"longest gap {ticker.longest_gap():.3f}", flush=True)
""").replace("TESTS", repr(os.path.dirname(os.path.abspath(__file__))))


def figure(lines, prefix):
    found = [float(line.split()[-1]) for line in lines if line.startswith(prefix)]
    assert len(found) == 1, lines
    return found[0]


@pytest.mark.parametrize("wait", ["pause", "pause with timeout", "monitor", "printing monitor"])
def test_ctrl_c_ends_a_long_wait_at_once(wait):
    for _ in range(RUNS):
        done = subprocess.run([sys.executable, "-c", PROGRAM, wait], capture_output=True,
                              text=True, timeout=60)
        assert done.returncode == 0, done.stderr
        lines = done.stdout.splitlines()
        # Seen only when the 30 s pause ended, it took about 30 s.
        assert figure(lines, "interrupted after") < 1.0
        assert figure(lines, "longest gap") < 0.5
