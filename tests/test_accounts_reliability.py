"""Saved accounts under concurrent writers, failed writes, a settings
folder that others could tamper with, and a lock that another process
holds."""

import multiprocessing
import os
import signal
import subprocess
import sys
import time

import pytest

import TavironLib as tl

PROCESSES = 8
SAVES_EACH = 40


def save_many(appdata, index):
    os.environ["APPDATA"] = appdata
    provider = tl.TavironProvider()
    for round_ in range(SAVES_EACH):
        provider.save_account(f"tok{round_}", "", "", f"proc{index}", {}, False, True)


def save_and_delete(appdata, index):
    os.environ["APPDATA"] = appdata
    provider = tl.TavironProvider()
    for round_ in range(SAVES_EACH):
        provider.save_account(f"tok{round_}", "", "", f"p{index}_{round_}", {}, False, False)
        if round_ % 2:
            provider.delete_account(f"p{index}_{round_ - 1}")


def run_in_processes(target, appdata):
    context = multiprocessing.get_context("fork")
    processes = [context.Process(target=target, args=(str(appdata), index))
                 for index in range(PROCESSES)]
    for process in processes:
        process.start()
    for process in processes:
        process.join(120)
        assert process.exitcode == 0


def accounts_lines(appdata):
    return (appdata / "taviron" / "config.file").read_text().splitlines()


def test_processes_saving_at_once_lose_no_account(settings_folder):
    run_in_processes(save_many, settings_folder)
    saved = tl.TavironProvider().saved_accounts()
    assert saved == {f"proc{index}": f"tok{SAVES_EACH - 1}" for index in range(PROCESSES)}
    assert len(accounts_lines(settings_folder)) == PROCESSES


def test_processes_saving_and_deleting_at_once_keep_exactly_their_accounts(settings_folder):
    run_in_processes(save_and_delete, settings_folder)
    expected = {f"p{index}_{round_}" for index in range(PROCESSES)
                for round_ in range(1, SAVES_EACH, 2)}
    lines = accounts_lines(settings_folder)
    assert {line.split(",")[0] for line in lines} == expected
    assert len(lines) == len(expected)
    assert all(line.count(",") == 3 for line in lines)  # no torn line
    assert not [name for name in os.listdir(settings_folder / "taviron")
                if name.startswith("temp.file")]


def provider_and_folder(settings_folder):
    provider = tl.TavironProvider()
    provider.save_account("tok", "", "", "alice", {}, False, True)
    return provider, settings_folder / "taviron"


def test_failed_writes_raise_naming_the_path(settings_folder, monkeypatch):
    provider, folder = provider_and_folder(settings_folder)
    accounts = folder / "config.file"
    accounts.chmod(0o400)
    for write in (lambda: provider.save_account("t", "", "", "bob", {}, False, True),
                  lambda: provider.delete_account("alice")):
        with pytest.raises(RuntimeError, match=str(accounts)):
            write()
    assert accounts.read_text() == "alice,tok,,\n"

    accounts.unlink()
    accounts.mkdir()
    with pytest.raises(RuntimeError, match=f"{accounts}: Is a directory"):
        provider.save_account("t", "", "", "bob", {}, False, True)

    for variable in ("APPDATA", "XDG_CONFIG_HOME", "HOME"):
        monkeypatch.delenv(variable, raising=False)
    with pytest.raises(RuntimeError, match="HOME is set"):
        provider.delete_account("alice")


def test_planted_links_are_not_followed(settings_folder):
    provider, folder = provider_and_folder(settings_folder)
    target = settings_folder / "target"
    target.write_text("keep\n")
    (folder / "temp.file").symlink_to(target)
    provider.save_account("t2", "", "", "bob", {}, False, True)
    assert target.read_text() == "keep\n"
    assert provider.saved_accounts() == {"alice": "tok", "bob": "t2"}

    accounts = folder / "config.file"
    accounts.unlink()
    accounts.symlink_to(target)
    with pytest.raises(RuntimeError, match=str(accounts)):
        provider.save_account("t3", "", "", "carol", {}, False, True)
    assert target.read_text() == "keep\n"


def test_a_folder_that_others_may_write_is_refused(settings_folder):
    provider, folder = provider_and_folder(settings_folder)
    folder.chmod(0o777)
    with pytest.raises(RuntimeError, match=f"{folder} may be written by other users"):
        provider.save_account("t", "", "", "bob", {}, False, True)
    with pytest.raises(RuntimeError, match=str(folder)):
        tl.TavironProvider()
    folder.chmod(0o700)
    assert tl.TavironProvider().saved_accounts() == {"alice": "tok"}


# Another process holding the accounts lock --------------------------------

HOLDER = """
import fcntl, os, sys, time
os.makedirs(sys.argv[1], mode=0o700, exist_ok=True)
lock = open(os.path.join(sys.argv[1], "config.lock"), "a")
fcntl.flock(lock, fcntl.LOCK_EX)
print("held", flush=True)
time.sleep(float(sys.argv[2]))
"""

WAITER = """
import os, sys, threading, time
import TavironLib as tl
ticks = 0
def tick():
    global ticks
    while True:
        time.sleep(0.01)
        ticks += 1
threading.Thread(target=tick, daemon=True).start()
provider = tl.TavironProvider()
print("waiting", flush=True)
start = time.monotonic()
try:
    if sys.argv[1] == "save":
        provider.save_account("tok", name="alice")
    else:
        provider.delete_account("alice")
    outcome = "done"
except RuntimeError as error:
    outcome = str(error)
except KeyboardInterrupt:
    outcome = "KeyboardInterrupt"
print(f"{time.monotonic() - start:.2f} {ticks}", flush=True)
print(outcome, flush=True)
"""


def hold_lock(folder, seconds):
    holder = subprocess.Popen([sys.executable, "-c", HOLDER, str(folder), str(seconds)],
                              stdout=subprocess.PIPE, text=True)
    assert holder.stdout.readline() == "held\n"
    return holder


def start_waiter(appdata, operation):
    env = dict(os.environ, APPDATA=str(appdata))
    waiter = subprocess.Popen([sys.executable, "-c", WAITER, operation], env=env,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    assert waiter.stdout.readline() == "waiting\n"
    return waiter


def waiter_outcome(waiter):
    out, err = waiter.communicate(timeout=60)
    timing, outcome = out.splitlines()
    seconds, ticks = timing.split()
    return float(seconds), int(ticks), outcome, err


def test_a_lock_held_elsewhere_gives_up_after_ten_seconds_while_threads_run(settings_folder):
    folder = settings_folder / "taviron"
    holder = hold_lock(folder, 60)
    try:
        seconds, ticks, outcome, err = waiter_outcome(start_waiter(settings_folder, "save"))
    finally:
        holder.kill()
        holder.wait()
    assert outcome == (f"Cannot lock {folder}/config.lock: another process holds it and kept it "
                       "for 10 seconds; the saved accounts were not changed"), err
    assert 9.5 < seconds < 15
    # A thread ticking every 10 ms kept running all along.
    assert ticks > 0.5 * seconds / 0.01
    assert not (folder / "config.file").exists()


def test_ctrl_c_interrupts_a_wait_for_the_lock(settings_folder):
    folder = settings_folder / "taviron"
    holder = hold_lock(folder, 60)
    try:
        waiter = start_waiter(settings_folder, "delete")
        time.sleep(0.5)
        waiter.send_signal(signal.SIGINT)
        interrupted = time.monotonic()
        seconds, _, outcome, err = waiter_outcome(waiter)
        answered = time.monotonic() - interrupted
    finally:
        holder.kill()
        holder.wait()
    assert outcome == "KeyboardInterrupt", err
    assert seconds < 3 and answered < 3


def test_a_save_goes_on_once_the_lock_is_let_go(settings_folder):
    folder = settings_folder / "taviron"
    holder = hold_lock(folder, 1)
    seconds, _, outcome, err = waiter_outcome(start_waiter(settings_folder, "save"))
    holder.wait()
    assert outcome == "done", err
    assert 0.5 < seconds < 5
    assert (folder / "config.file").read_text() == "alice,tok,,\n"
