"""Wrong arguments, broken files and requests too large for the process:
each gets an error that says what was wrong and with which value or path,
nothing is silently ignored, and memory guards count what things cost."""

import json
import os
import re
import subprocess
import sys
import textwrap
import warnings

import pytest

import TavironLib as tl


def measured(qubits=2):
    qc = tl.QuantumCircuit(qubits, qubits)
    qc.x(0)
    qc.measure_all()
    return qc


def run_child(code, timeout=120):
    """Runs code in a child interpreter and returns its completed process."""
    return subprocess.run([sys.executable, "-c", textwrap.dedent(code)], capture_output=True,
                          text=True, timeout=timeout)


# Run arguments and results ------------------------------------------------

@pytest.mark.parametrize("run", [
    lambda b, qc: b.run(qc, shots=-5),
    lambda b, qc: b.run(qc, shots=-5, mode="sync"),
    lambda b, qc: b.run(qc, -5),
    lambda b, qc: b.run(qc, shots=-2**31),
])
def test_a_negative_shot_count_is_refused_before_anything_is_stored(run):
    backend, qc = tl.BackendV2(), measured()
    backend.run(qc, shots=3, mode="sync")
    with pytest.raises(ValueError, match=r"^The shot count must not be negative: shots=-\d+\.$"):
        run(backend, qc)
    # The circuit keeps its count, and nothing waits in the queue.
    assert backend.run(qc, mode="sync").result().get_counts() == {"01": 3}


@pytest.mark.parametrize("keywords, warned", [
    ({"shot": 100}, ["ignores the keyword argument 'shot'"]),
    ({"shots": 1, "memory": True, "seed_simulator": 7},
     ["ignores the keyword argument 'memory'", "ignores the keyword argument 'seed_simulator'"]),
    ({"shots": 1, "mode": "bogus"}, ["mode 'bogus' is neither 'sync' nor 'async'"]),
    ({"shots": 1, "mode": "synchronous"}, ["mode 'synchronous' is neither"]),
    ({"shots": 1, "mode": ""}, ["mode '' is neither"]),
    ({"shots": 1, "mode": b"\xffsync"}, ["mode b'\\xffsync' is neither"]),
    ({"shots": 1, "mode": "SYNC"}, []),
    ({"shots": 1, "mode": "aSync"}, []),
    ({"shots": 1, "quiet": True}, []),
])
def test_ignored_keywords_and_unknown_modes_are_named_in_a_warning(keywords, warned):
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        job = tl.BackendV2().run(measured(), **keywords)
    job.wait_for_final_state(0, 0, lambda *args: None)
    texts = [str(w.message) for w in caught]
    assert all(w.category is UserWarning and w.filename == __file__ for w in caught)
    assert len(texts) == len(warned)
    for text, part in zip(texts, warned):
        assert text.startswith("BackendV2.run() ") and part in text
    # The run itself is the same as ever: unknown keywords ignored, other
    # modes queued.
    assert job.status() == tl.JobStatus.DONE


def test_a_warning_turned_into_an_error_stops_the_run():
    backend = tl.BackendV2()
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        with pytest.raises(UserWarning, match="'shot'"):
            backend.run(measured(), shot=100, mode="sync")


def test_a_job_of_no_shot_has_counts_but_no_state():
    qc = tl.QuantumCircuit(2, 2)
    qc.x(0)
    for mode in ("sync", "async"):
        job = tl.BackendV2().run(qc, mode=mode)  # a new circuit runs 0 shots
        job.wait_for_final_state(0, 0, lambda *args: None)
        assert job.status() == tl.JobStatus.DONE
        result = job.result()
        assert result.get_counts() == {} and result.get_memory() == []
        for readout in (result.get_statevector, result.get_unitary, result.get_probabilities,
                        result.get_densitymatrix, result.get_classicalregister,
                        lambda: result.data(0)):
            with pytest.raises(RuntimeError, match=r"^The job ran no shot, .* shots=1024\)\.$"):
                readout()
    # One shot reads the state of the circuit: |01>, not the all-zero state.
    state = tl.BackendV2().run(qc, shots=1, mode="sync").result().get_statevector()
    assert abs(state[1]) == pytest.approx(1.0)


@pytest.mark.parametrize("text, message", [
    ("", "Error Empty program: no statement found in line 1 at 1"),
    ("\n  // only a comment\n", "Error Empty program: no statement found in line 3 at"),
    ("h q[0];", "Error No OPENQASM 2.0 line and no declaration found; first statement in line 1"),
])
def test_a_program_with_nothing_to_read_says_so(tmp_path, text, message):
    with pytest.raises(RuntimeError, match=f"^{re.escape(message)}"):
        tl.qasm2().loads(text)
    path = tmp_path / "program.qasm"
    path.write_text(text)
    with pytest.raises(RuntimeError, match=f"^{re.escape(message)}"):
        tl.qasm2().load(str(path))


# Files and paths ----------------------------------------------------------

@pytest.fixture
def home(tmp_path, monkeypatch):
    """A sandboxed HOME whose settings folder is ~/.config/taviron."""
    monkeypatch.delenv("APPDATA", raising=False)
    monkeypatch.delenv("XDG_CONFIG_HOME", raising=False)
    monkeypatch.setenv("HOME", str(tmp_path / "home"))
    (tmp_path / "home" / ".config").mkdir(parents=True)
    return tmp_path / "home"


@pytest.mark.parametrize("write", [
    lambda base: tl.qasm2().load("/etc/passwd\x00.qasm"),
    lambda base: measured().qasm(filename=f"{base}/x\x00.qasm"),
    lambda base: measured().qasm(True, f"{base}/x\x00.qasm"),
    lambda base: measured().draw(filename=f"{base}/x\x00.txt"),
])
def test_a_nul_in_a_file_name_is_refused(tmp_path, capsys, write):
    folder = tmp_path / "written"
    folder.mkdir()
    with pytest.raises(ValueError, match=r"holds a NUL character \(embedded null byte\)$"):
        write(folder)
    assert os.listdir(folder) == [] and capsys.readouterr().out == ""


def test_writes_that_fail_are_reported_naming_the_file():
    with pytest.raises(RuntimeError, match=r"^Can't write the drawing to the file /dev/full\.$"):
        measured().draw(filename="/dev/full")
    with pytest.raises(RuntimeError, match=r"^Can't write the OpenQASM text to the file /dev/full"):
        measured().qasm(filename="/dev/full")


def test_writes_beyond_the_file_size_limit_are_reported(tmp_path):
    run = run_child(f"""
        import resource, TavironLib as tl
        resource.setrlimit(resource.RLIMIT_FSIZE, (64, 64))
        qc = tl.QuantumCircuit(3, 3)
        qc.h(0); qc.cx(0, 1); qc.measure_all()
        for write in (lambda: qc.draw(filename="{tmp_path}/drawing.txt"),
                      lambda: qc.qasm(filename="{tmp_path}/circuit.qasm")):
            try:
                write()
                print("written")
            except RuntimeError as error:
                print(error)
        """)
    assert run.returncode == 0, run.stderr
    lines = [line for line in run.stdout.splitlines() if line.startswith(("Can't", "written"))]
    assert lines == [f"Can't write the drawing to the file {tmp_path}/drawing.txt.",
                     f"Can't write the OpenQASM text to the file {tmp_path}/circuit.qasm."]


def make_fifo(path):
    os.mkfifo(path)


def make_link(path):
    target = path.parent.parent / "elsewhere"
    target.write_text("alice,tok\n")
    path.symlink_to(target)


def make_sparse(path):
    with open(path, "wb") as file:
        file.write(b"alice,tok\n")
        file.truncate(3 << 30)


UNREADABLE = {
    "a folder": (lambda path: path.mkdir(), "Is a directory"),
    "a FIFO": (make_fifo, "it is not a regular file"),
    "a link": (make_link, "it is a symbolic link, which is not followed"),
    "a sparse file of 3 GB": (make_sparse,
                              "it is larger than the 1048576 bytes that an accounts file may hold"),
    "invalid UTF-8": (lambda path: path.write_bytes(b"alice,tok\nb\xc3\x28b,t\n"),
                      "line 2 is not UTF-8 text"),
    "no permission": (lambda path: (path.write_text("alice,tok\n"), path.chmod(0)),
                      "Permission denied"),
}


@pytest.mark.parametrize("case", sorted(UNREADABLE))
def test_an_accounts_file_that_cannot_be_read_is_reported(home, case):
    if case == "no permission" and os.geteuid() == 0:
        pytest.skip("root reads any file")
    make, reason = UNREADABLE[case]
    folder = home / ".config" / "taviron"
    folder.mkdir(mode=0o700)
    path = folder / "config.file"
    provider = tl.TavironProvider()
    make(path)
    message = f"^Cannot read the accounts file {re.escape(str(path))}: {re.escape(reason)}$"
    for read in (provider.saved_accounts, tl.TavironProvider):
        with pytest.raises(RuntimeError, match=message):
            read()


def test_a_settings_folder_linked_to_a_folder_of_the_user_is_followed(home):
    real = home / "dotfiles" / "taviron"
    real.mkdir(parents=True, mode=0o700)
    link = home / ".config" / "taviron"
    link.symlink_to(real)
    tl.TavironProvider().save_account("tok", name="alice")
    assert (real / "config.file").read_text() == "alice,tok,,\n"
    assert tl.TavironProvider().active_account() == {"name": "alice", "token": "tok"}

    refusals = [(lambda: real.chmod(0o770), "may be written by other users")]
    if os.geteuid() == 0:
        refusals.append((lambda: os.chown(real, 65534, 65534), "is not owned by the user"))
    for arrange, words in refusals:
        arrange()
        message = (f"^The settings folder {re.escape(str(link))} is a symbolic link to a folder "
                   f"that {words}")
        for use in (lambda: tl.TavironProvider().save_account("t", name="bob"),
                    tl.TavironProvider):
            with pytest.raises(RuntimeError, match=message):
                use()
        os.chown(real, os.geteuid(), os.getegid())
        real.chmod(0o700)
    assert tl.TavironProvider().saved_accounts() == {"alice": "tok"}


def test_saves_killed_half_way_leave_no_temporary_behind(home):
    folder = home / ".config" / "taviron"
    tl.TavironProvider().save_account("tok", name="alice")
    # Writers killed at random points, many of them mid-save.
    saver = textwrap.dedent("""
        import TavironLib as tl
        provider = tl.TavironProvider()
        print("ready", flush=True)
        while True:
            provider.save_account("secret" * 20000, name="victim")
        """)
    for delay in range(20):
        child = subprocess.Popen([sys.executable, "-c", saver], stdout=subprocess.PIPE, text=True)
        assert child.stdout.readline() == "ready\n"
        try:
            child.wait(timeout=0.005 * (1 + delay % 5))
        except subprocess.TimeoutExpired:
            child.kill()
        child.wait(timeout=30)
        child.stdout.close()
    tl.TavironProvider().delete_account("victim")
    assert sorted(os.listdir(folder)) == ["config.file", "config.lock"]
    assert tl.TavironProvider().saved_accounts() == {"alice": "tok"}


# Memory guards ------------------------------------------------------------

MEMORY_CHILD = """
    import json, resource, TavironLib as tl

    def mapped():
        return int(open("/proc/self/statm").read().split()[0]) * 4096

    resource.setrlimit(resource.RLIMIT_AS, (mapped() + (400 << 20), resource.RLIM_INFINITY))
    twelve = tl.QuantumCircuit(12)
    twelve.h(0)
    twelve.measure_all()
    result = tl.BackendV2().run(twelve, shots=3, mode="sync").result()
    cases = {
        "shots": lambda: tl.BackendV2().run(tl.QuantumCircuit(2, 2), shots=4_000_000, mode="sync"),
        "barrier": lambda: tl.QuantumCircuit(2).barrier([0] * 10**7),
        "reset": lambda: tl.QuantumCircuit(2).reset([0] * 10**7),
        "h": lambda: tl.QuantumCircuit(2).h([0] * 10**7),
        "mcx": lambda: tl.QuantumCircuit(22).mcx(list(range(1, 21)), 0),
        "density matrix": result.get_densitymatrix,
        "a small run": lambda: tl.BackendV2().run(tl.QuantumCircuit(2, 2), shots=100_000,
                                                  mode="sync").done(),
    }
    outcome = {}
    for name, case in cases.items():
        try:
            case()
            outcome[name] = "accepted"
        except MemoryError as error:
            outcome[name] = str(error)
    print(json.dumps(outcome))
    """

MEMORY_REFUSALS = {
    "shots": r"A run of 4000000 shots needs [\d.]+ (MB|GB)",
    "barrier": r"A barrier over a list of 10000000 qubits needs [\d.]+ GB",
    "reset": r"A reset over a list of 10000000 qubits needs [\d.]+ GB",
    "h": r"A gate over a list of 10000000 qubits needs [\d.]+ GB",
    "mcx": r"A multi-controlled gate of 20 controls needs [\d.]+ GB",
    "density matrix": r"The density matrix of 12 qubits needs [\d.]+ GB",
}


@pytest.fixture(scope="module")
def under_a_lowered_address_space_limit():
    run = run_child(MEMORY_CHILD)
    assert run.returncode == 0, run.stderr
    return json.loads(run.stdout.splitlines()[-1])


@pytest.mark.parametrize("case", sorted(MEMORY_REFUSALS))
def test_requests_beyond_a_lowered_address_space_limit_are_refused(
        under_a_lowered_address_space_limit, case):
    message = under_a_lowered_address_space_limit[case]
    assert re.match(MEMORY_REFUSALS[case] + r", more than the \d+ MB \(the room left under the "
                    r"address-space limit\) that this machine can give$", message), message


def test_what_fits_under_a_lowered_address_space_limit_still_runs(
        under_a_lowered_address_space_limit):
    assert under_a_lowered_address_space_limit["a small run"] == "accepted"
