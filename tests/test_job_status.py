"""JobStatus and job_monitor."""

import pickle
import subprocess
import sys
import textwrap

import pytest

import TavironLib as tl

S = tl.JobStatus


def test_values_names_and_member_order():
    assert [(name, member.value) for name, member in S.__members__.items()] == [
        ("INITIALIZING", 0), ("QUEUED", 1), ("VALIDATING", 2), ("RUNNING", 3),
        ("CANCELLED", 4), ("DONE", 5), ("ERROR", 6)]


def test_comparison_is_strict_and_unordered():
    assert S(5) == S.DONE and S(5) is not S.DONE
    assert not (S.DONE == 5) and S.DONE != 5
    assert S.DONE != S.ERROR
    with pytest.raises(TypeError):
        S.QUEUED < S.DONE
    assert int(S.DONE) == S.DONE.value == hash(S.DONE) == 5
    assert list(range(10))[S.DONE] == 5


def test_text_forms():
    assert str(S.DONE) == "JobStatus.DONE"
    assert repr(S.QUEUED) == "<JobStatus.QUEUED: 1>"
    for value in (42, -1):
        unknown = S(value)
        assert unknown.name == "???"
        assert str(unknown) == "JobStatus.???"
        assert repr(unknown) == f"<JobStatus.???: {value}>"


@pytest.mark.parametrize("value", [2**31, 1.0, "1"])
def test_construction_refuses_non_32_bit_values(value):
    with pytest.raises(TypeError):
        S(value)


def test_state_protocol():
    fresh = S.__new__(S)
    fresh.__setstate__(3)
    assert fresh == S.RUNNING
    assert S.DONE.__init__(2) is None and S.DONE.value == 5
    assert pickle.loads(pickle.dumps(S.ERROR)) == S.ERROR


def test_job_monitor_arguments():
    job = tl.JobV1("m")
    job.cancel()
    with pytest.raises(TypeError):
        tl.job_monitor(None)
    with pytest.raises(TypeError):
        tl.job_monitor(job, 1.5)
    with pytest.raises(TypeError):
        tl.job_monitor(job, 0, "yes")
    with pytest.raises(TypeError):
        tl.job_monitor(job, 0, False, 1)
    with pytest.raises(TypeError):
        tl.job_monitor(job=job, period=1)


def test_job_monitor_prints_through_python(capsys):
    job = tl.JobV1("m")
    job.cancel()
    tl.job_monitor(job)
    assert capsys.readouterr().out == "Job Cancelled\nEnding Job Monitor\n"
    # Positional and keyword forms are the same call; quiet prints nothing.
    tl.job_monitor(job, 2, True)
    tl.job_monitor(job, interval=2, quiet=True)
    tl.job_monitor(job, -1, None)
    assert capsys.readouterr().out == "Job Cancelled\nEnding Job Monitor\n"


def test_job_monitor_on_a_finished_run(capsys):
    qc = tl.QuantumCircuit(1, 1)
    qc.measure(0, 0)
    job = tl.BackendV2().run(qc, shots=1, mode="sync")
    tl.job_monitor(job)
    assert capsys.readouterr().out == "Job Done.\nEnding Job Monitor\n"


def run_python(code, timeout=60):
    return subprocess.run([sys.executable, "-c", textwrap.dedent(code)], capture_output=True,
                          text=True, timeout=timeout)


def test_ctrl_c_interrupts_waits_that_never_end():
    # A job made from Python never runs, so both waits would go on for ever;
    # the interrupt arrives while they wait without the interpreter lock.
    for wait in ("tl.job_monitor(job, 3600, True)",
                 "job.wait_for_final_state(0, 0, lambda *a: None)"):
        completed = run_python(f"""
            import _thread, threading
            import TavironLib as tl
            job = tl.JobV1("forever")
            threading.Timer(0.2, _thread.interrupt_main).start()
            try:
                {wait}
            except KeyboardInterrupt:
                print("interrupted")
            """)
        assert completed.returncode == 0, completed.stderr
        assert completed.stdout == "interrupted\n"
