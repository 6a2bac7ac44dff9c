"""Result: an empty one from Python, a completed one from a run, and every
readout message."""

import pytest

import TavironLib as tl

NO_STATEVECTOR = "Statevector is is no longer accessible for the given job."
NO_AMPLITUDES = "Amplitude vector is no longer accessible for the given job."
NO_DENSITY = "Density Matrix is no longer accessible for the given job."
NOT_COMPLETED = "Job not completed yet. Try again later."
TO_DICT_KEYS = ["backend_name", "backend_version", "date", "header", "qobj_id", "job_id",
                "status", "success", "results"]


def completed_result(qc, shots=20):
    job = tl.BackendV2().run(qc, shots=shots, mode="sync")
    assert job.done()
    return job.result()


def test_a_result_made_from_python():
    result = tl.Result()
    assert result.results == [] and result.success is False
    assert result.get_memory() == [] and result.get_counts() == {}
    assert (result.backend_name, result.backend_version, result.qobj_id, result.job_id,
            result.header) == ("", "", "", "", "")
    assert result.status == "Functional"
    assert len(result.date) == 25 and result.date.endswith("\n")
    as_dict = result.to_dict()
    assert list(as_dict) == TO_DICT_KEYS
    assert as_dict["success"] == "False" and as_dict["results"] == []


@pytest.mark.parametrize("readout, message", [
    (lambda r: r.get_statevector(), NO_STATEVECTOR),
    (lambda r: r.get_unitary(), NO_AMPLITUDES),
    (lambda r: r.get_probabilities(), NO_AMPLITUDES),
    (lambda r: r.get_densitymatrix(), NO_DENSITY),
    (lambda r: r.get_classicalregister(), NO_AMPLITUDES),
    (lambda r: r.data(0), NOT_COMPLETED),
    (lambda r: r.from_dict({}), "Function 'Result::from_dict' is not implemented."),
])
def test_readout_messages_without_a_final_state(readout, message):
    with pytest.raises(RuntimeError) as raised:
        readout(tl.Result())
    assert str(raised.value) == message


@pytest.mark.parametrize("readout", [
    lambda r: r.data(), lambda r: r.data(arg0=0), lambda r: r.from_dict(None),
    lambda r: r.get_statevector(1.5), lambda r: r.get_statevector(2**31),
    lambda r: r.get_probabilities(experiment="0"), lambda r: r.get_densitymatrix(0, 0, 0),
])
def test_readouts_refuse_other_arguments(readout):
    with pytest.raises(TypeError):
        readout(tl.Result())


def test_attributes_are_read_only_copies():
    result = completed_result(tl.QuantumCircuit(1, 1), shots=0)
    shots = result.results
    shots.append("changed")
    assert result.results == []
    for name in ("success", "results", "job_id", "status"):
        with pytest.raises(AttributeError):
            setattr(result, name, None)


def test_a_completed_bell_result():
    qc = tl.QuantumCircuit(2, 2)
    qc.h(0)
    qc.cx(0, 1)
    qc.measure(0, 0)
    qc.measure(1, 1)
    result = completed_result(qc, shots=100)
    counts = result.get_counts()
    # Each key is missing with probability 2**-100.
    assert list(counts) == ["00", "11"] and sum(counts.values()) == 100
    assert sorted(result.get_memory()) == sorted(result.results)
    as_dict = result.to_dict()
    assert list(as_dict) == TO_DICT_KEYS
    assert as_dict["success"] == "Success" and as_dict["backend_name"] == "velmora_taviron"
    assert result.success is True and result.backend_version == "0.2.1"
    data = result.data(0)
    assert list(data) == ["counts", "statevector", "probabilities", "amplitudes",
                          "densitymatrix", "creg"]
    assert data["counts"] == counts
    assert len(data["amplitudes"]) == 2
    assert all(isinstance(pair, list) and len(pair) == 2 for pair in data["statevector"])
    assert isinstance(data["creg"], str) and data["creg"] == result.get_classicalregister()


def test_readouts_of_a_completed_one_qubit_result():
    qc = tl.QuantumCircuit(1, 1)
    qc.x(0)
    result = completed_result(qc, shots=1)
    assert result.get_statevector() == pytest.approx([0j, 1 + 0j])
    assert result.get_statevector(3) == result.get_statevector(decimals=2)
    assert result.get_probabilities() == pytest.approx([0.0, 1.0])
    assert result.get_unitary() == [0j]
    density = result.get_densitymatrix()
    assert len(density) == 2 and all(len(row) == 2 for row in density)
    assert density[1][1] == pytest.approx(1.0)
    assert result.data(0)["densitymatrix"] == density
