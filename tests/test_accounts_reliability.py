"""Saved accounts under concurrent writers, failed writes and a settings
folder that others could tamper with."""

import multiprocessing
import os

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
