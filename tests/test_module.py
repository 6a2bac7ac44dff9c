"""The module as imported: its namespace in registration order, its
attributes, the class hierarchy and the docstrings that pin the binding
library's rendering."""

import os
import shutil
import subprocess
import sys

import pytest

import TavironLib as tl

GATE_CLASSES = [
    "HGate", "XGate", "IGate", "TGate", "SGate", "TdgGate", "SdgGate", "SXGate", "SXdgGate",
    "YGate", "ZGate", "PhaseGate", "RGate", "RvGate", "RXGate", "RYGate", "RZGate", "UGate",
    "U0Gate", "U1Gate", "U2Gate", "U3Gate", "CXGate", "CYGate", "CZGate", "CHGate", "CSGate",
    "CSdgGate", "CSXGate", "CPGate", "CRXGate", "CRYGate", "CRZGate", "CUGate", "RXXGate",
    "RYYGate", "RZXGate", "RZZGate", "DCXGate", "ECRGate", "ISWAPGate", "SWAPGate", "CU1Gate",
    "CU3Gate", "CCXGate", "MCXGate", "CCZGate", "CSWAPGate", "PAULIGate", "RCCXGate", "MCPGate",
    "MCRXGate", "MCRYGate", "MCRZGate", "GMSGate", "RCCCXGate", "C3SQRTX", "MeasGate",
    "ResetGate", "UserGate",
]
STATUS_NAMES = ["INITIALIZING", "QUEUED", "VALIDATING", "RUNNING", "CANCELLED", "DONE", "ERROR"]
OTHER_CLASSES = ["QuantumRegister", "AncillaRegister", "ClassicalRegister", "JobV1", "Result",
                 "BackendV2", "TavironProvider", "qasm2"]


def namespace_after_import_attributes():
    """The module's own attributes, in creation order, without those that the
    import machinery adds around them."""
    machinery = {"__name__", "__doc__", "__package__", "__loader__", "__spec__", "__file__",
                 "__builtins__", "__cached__", "__path__"}
    return [name for name in vars(tl) if name not in machinery]


def test_namespace_follows_registration_order():
    expected = (["job_monitor", "JobStatus"] + STATUS_NAMES + OTHER_CLASSES + ["Gate"]
                + GATE_CLASSES + ["QuantumCircuit", "__version__", "__credits__", "__author__"])
    assert namespace_after_import_attributes() == expected


def test_module_attributes():
    assert tl.__doc__ is None
    assert tl.__version__ == "0.2.1"
    assert isinstance(tl.__credits__, str) and tl.__credits__
    assert isinstance(tl.__author__, str) and tl.__author__
    assert tl.BackendV2().backend_version == tl.__version__


@pytest.mark.parametrize("name", STATUS_NAMES)
def test_status_values_are_exported_as_the_same_objects(name):
    assert getattr(tl, name) is getattr(tl.JobStatus, name)


def test_gate_classes_derive_from_gate_and_nothing_else_derives():
    classes = {name: getattr(tl, name) for name in OTHER_CLASSES + ["Gate", "QuantumCircuit"]}
    for name in GATE_CLASSES:
        cls = getattr(tl, name)
        assert cls.__bases__ == (tl.Gate,), name
        assert cls.__module__ == "TavironLib"
    for name, cls in classes.items():
        assert len(cls.__bases__) == 1 and cls.__bases__[0].__module__ != "TavironLib", name
    assert not issubclass(tl.AncillaRegister, tl.QuantumRegister)
    assert len(GATE_CLASSES) == 60
    assert tl.RvGate.__name__ == "RvGate" and not hasattr(tl, "RVGate")


def test_classes_have_no_docstring_and_no_instance_dictionary():
    for name in OTHER_CLASSES + ["Gate"] + GATE_CLASSES:
        cls = getattr(tl, name)
        assert cls.__doc__ is None, name
    samples = [tl.QuantumRegister(1), tl.JobV1("x"), tl.Result(), tl.TavironProvider(),
               tl.qasm2(), tl.HGate()]
    for obj in samples:
        with pytest.raises(AttributeError):
            obj.extra = 1


def test_classes_can_be_subclassed_from_python():
    class Named(tl.QuantumRegister):
        pass

    assert Named(2).size() == 2


# One or two docstrings per class: each is the binding library's signature
# line, a blank line and the text, and shows which classes were registered
# before the function (module prefix) and which after (bare native name).
DOCSTRINGS = [
    (tl.job_monitor,
     "job_monitor(job: JobV1, interval: int = 0, quiet: bool = False) -> None\n\n"
     "Installs a monitor for the submitted job\n"),
    (tl.QuantumRegister.__init__,
     "__init__(*args, **kwargs)\nOverloaded function.\n\n"
     "1. __init__(self: TavironLib.QuantumRegister, arg0: int) -> None\n\n"
     "2. __init__(self: TavironLib.QuantumRegister, arg0: int, arg1: str) -> None\n"),
    (tl.AncillaRegister.size,
     "size(self: TavironLib.AncillaRegister) -> int\n\n"
     "Returns the number of qubits defined in this ancilla register\n"),
    (tl.ClassicalRegister.__len__,
     "__len__(self: TavironLib.ClassicalRegister) -> int\n\n"
     "Returns the number of qubits defined in this classical register\n"),
    (tl.QuantumRegister.__getitem__,
     "__getitem__(self: TavironLib.QuantumRegister, arg0: int) -> int\n\n"
     "Get item at the specified index\n"),
    (tl.ClassicalRegister.prefix,
     "prefix(self: TavironLib.ClassicalRegister) -> str\n\n"
     "Returns the prefix defined for the classical register's name\n"),
    (tl.JobV1.result,
     "result(self: TavironLib.JobV1) -> Result\n\nFetches the result of the experiment\n"),
    (tl.JobV1.status,
     "status(self: TavironLib.JobV1) -> TavironLib.JobStatus\n\nStatus of the Job\n"),
    (tl.JobV1.backend,
     "backend(self: TavironLib.JobV1) -> BackendV2\n\nFetches the backend object\n"),
    (tl.JobV1.wait_for_final_state,
     "wait_for_final_state(self: TavironLib.JobV1, arg0: float, arg1: float, arg2: function)"
     " -> None\n\nWaits for the job's final state\n"),
    (tl.Result.get_statevector,
     "get_statevector(self: TavironLib.Result, experiment: int = 0, decimals: int = 0)"
     " -> List[complex]\n\nGets the statevector of the referred qubits\n"),
    (tl.Result.get_densitymatrix,
     "get_densitymatrix(self: TavironLib.Result, experiment: int = 0, decimals: int = 0)"
     " -> List[List[complex]]\n\nGets the density matrix\n"),
    (tl.Result.data,
     "data(self: TavironLib.Result, arg0: int) -> dict\n\nObtains the experiment data\n"),
    (tl.Result.get_memory,
     "get_memory(self: TavironLib.Result) -> List[str]\n\n"
     "Gets a dictionar of the current memory variables\n"),
    (tl.Result.results.fget, "(self: TavironLib.Result) -> List[str]\n"),
    (tl.BackendV2.num_qubits.fget, "(self: TavironLib.BackendV2) -> int\n"),
    (tl.BackendV2.run,
     "run(*args, **kwargs)\nOverloaded function.\n\n"
     "1. run(self: TavironLib.BackendV2, arg0: QuantumCircuit, **kwargs) -> TavironLib.JobV1\n\n"
     "Executes the quantum circuit using the backend\n\n"
     "2. run(self: TavironLib.BackendV2, arg0: QuantumCircuit, arg1: int) -> TavironLib.JobV1\n\n"
     "Executes the quantum circuit using the backend\n"),
    (tl.TavironProvider.__init__,
     "__init__(self: TavironLib.TavironProvider, token: str = '', url: str = '', "
     "name: str = '', instance: str = '', proxies: dict = {}, verify: bool = False) -> None\n"),
    (tl.TavironProvider.get_backend,
     "get_backend(*args, **kwargs)\nOverloaded function.\n\n"
     "1. get_backend(self: TavironLib.TavironProvider, arg0: str, **kwargs)"
     " -> TavironLib.BackendV2\n\nGet the backend\n\n"
     "2. get_backend(self: TavironLib.TavironProvider, arg0: str) -> TavironLib.BackendV2\n\n"
     "Get the backend\n"),
    (tl.TavironProvider.save_account,
     "save_account(self: TavironLib.TavironProvider, token: str = '', url: str = '', "
     "instance: str = '', name: str = '', proxies: dict = {}, verify: bool = False, "
     "overwrite: bool = True) -> None\n\nSave an account\n"),
    (tl.Gate.c_if,
     "c_if(*args, **kwargs)\nOverloaded function.\n\n"
     "1. c_if(self: TavironLib.Gate, cr: TavironLib.ClassicalRegister, val: int) -> None\n\n"
     "Implments the IF test\n\n"
     "2. c_if(self: TavironLib.Gate, clbit: int, val: int) -> None\n\n"
     "Implments the IF test\n"),
    (tl.RvGate.__init__, "__init__(self: TavironLib.RvGate) -> None\n"),
    (tl.JobStatus.__init__, "__init__(self: TavironLib.JobStatus, value: int) -> None\n"),
]


@pytest.mark.parametrize("function, expected", DOCSTRINGS,
                         ids=[f.__qualname__ for f, _ in DOCSTRINGS])
def test_docstrings(function, expected):
    assert function.__doc__ == expected


def test_enumeration_docstring_lists_its_members():
    assert tl.JobStatus.__doc__ == "Members:" + "".join("\n\n  " + n for n in STATUS_NAMES)


def test_standard_exception_translation():
    # std::out_of_range from a register item becomes IndexError.
    with pytest.raises(IndexError):
        tl.QuantumRegister(2)[2]
    # NotImplemented becomes RuntimeError with its text.
    with pytest.raises(RuntimeError, match=r"^Function 'JobV1::submit' is not implemented\.$"):
        tl.JobV1("1").submit()


# Calls every method and attribute getter of the classes below through its
# class, once per overload, with arguments of the types that its signature
# names, and in place of the object either None or an instance that holds no
# native object (made by __new__ alone). Prints each member before the call,
# so that a crash shows where it happened.
_CALL_ON_UNUSABLE_OBJECTS = """
import re
import TavironLib as tl
SAMPLES = {"int": 0, "float": 0.0, "str": "x", "bool": False, "dict": {}, "function": print,
           "QuantumCircuit": tl.QuantumCircuit(1), "TavironLib.ClassicalRegister":
           tl.ClassicalRegister(1)}
CLASSES = ["QuantumRegister", "AncillaRegister", "ClassicalRegister", "JobV1", "Result",
           "BackendV2", "TavironProvider", "qasm2", "Gate", "HGate"]
wrong = []
def check(label, function, obj, args):
    print(label, flush=True)
    try:
        function(obj, *args)
        wrong.append((label, "no error"))
    except TypeError:
        pass
    except Exception as error:
        wrong.append((label, type(error).__name__))
for class_name in CLASSES:
    cls = getattr(tl, class_name)
    for name, member in vars(cls).items():
        if isinstance(member, property):
            calls = [(member.fget, [])]
        elif name in ("__doc__", "__module__") or not callable(member):
            continue
        else:
            function = getattr(cls, name)
            signatures = re.findall(r"\\(self: [^,)]+((?:, [^)]*)?)\\)", function.__doc__ or "")
            calls = []
            for parameters in signatures:
                types = [p.split(": ")[1].split(" = ")[0] for p in parameters.split(", ")[1:]
                         if not p.startswith("**")]
                calls.append((function, [SAMPLES[t] for t in types]))
        for function, args in calls:
            check(f"{class_name} {name} None", function, None, args)
            if name != "__init__":
                check(f"{class_name} {name} new", function, cls.__new__(cls), args)
S = tl.JobStatus
for name in ("__int__", "__index__"):
    check(f"JobStatus {name} None", getattr(S, name), None, [])
for reader in (lambda s: s.value, int, str, repr, hash, lambda s: s.name, lambda s: s == S.DONE):
    check("JobStatus reader new", reader, S.__new__(S), [])
check("job_monitor None", tl.job_monitor, None, [])
check("job_monitor new", tl.job_monitor, tl.JobV1.__new__(tl.JobV1), [])
print("wrong:", wrong)
"""


def test_members_refuse_none_and_objects_without_native_object():
    run = subprocess.run([sys.executable, "-c", _CALL_ON_UNUSABLE_OBJECTS], capture_output=True,
                         text=True)
    assert run.returncode == 0, run.stdout[-200:] + run.stderr
    lines = run.stdout.splitlines()
    assert lines[-1] == "wrong: []"
    # Every kind of member was reached.
    for label in ("JobV1 job_id new", "Result success None", "BackendV2 name new",
                  "ClassicalRegister __getitem__ new", "Gate c_if new", "HGate __init__ None",
                  "TavironProvider get_backend new", "qasm2 loads new"):
        assert label in lines


# Empty lists that the import leaves alive with no Python object referring to
# them: the list defaults that the bound functions keep.
_COUNT_DEFAULT_LISTS = """
import gc
def unreferenced_empty_lists():
    found = [o for o in gc.get_objects() if type(o) is list and not o]
    return sum(1 for o in found if len(gc.get_referrers(o)) == 1)
before = unreferenced_empty_lists()
import TavironLib
print(unreferenced_empty_lists() - before)
"""


def test_each_list_default_is_an_object_of_its_own():
    # ancilla_qubits of mct and of mcx, wire_order of draw, qubits and clbits
    # of compose are separate empty lists: a shared one would show up once.
    run = subprocess.run([sys.executable, "-c", _COUNT_DEFAULT_LISTS], check=True,
                         capture_output=True, text=True)
    assert int(run.stdout) == 5


@pytest.mark.skipif(shutil.which("nm") is None, reason="needs nm")
def test_module_file_exports_only_its_initialiser():
    listing = subprocess.run(["nm", "-D", "--defined-only", tl.__file__], check=True,
                             capture_output=True, text=True).stdout
    exported = [line.split()[-1] for line in listing.splitlines() if line.strip()]
    assert exported == ["PyInit_TavironLib"]


# The threads of the process, and whether OpenBLAS is mapped into it: after
# the import, after a backend is made, and after a run whose splits are large
# enough for LAPACK (bond dimension above 16 on 12 qubits).
_THREADS_AROUND_THE_FIRST_DECOMPOSITION = """
import math, os, random
def threads():
    return len(os.listdir("/proc/self/task"))
def openblas_mapped():
    with open("/proc/self/maps") as maps:
        return "libscipy_openblas" in maps.read()
import TavironLib as tl
print(threads(), openblas_mapped())
backend = tl.TavironProvider().get_backend("velmora_taviron")
print(threads(), openblas_mapped())
rng = random.Random(12)
qc = tl.QuantumCircuit(12, 12)
for layer in range(16):
    for q in range(12):
        qc.u(rng.uniform(0, 2 * math.pi), rng.uniform(0, 2 * math.pi), rng.uniform(0, 2 * math.pi), q)
    for q in range(layer % 2, 11, 2):
        qc.cx(q, q + 1)
qc.measure_all()
backend.run(qc, shots=1, mode="SYNC", quiet=True)
print(threads(), openblas_mapped())
"""


@pytest.mark.skipif(not os.path.isdir("/proc/self/task"), reason="needs /proc")
def test_import_and_decompositions_start_no_openblas_threads():
    run = subprocess.run([sys.executable, "-c", _THREADS_AROUND_THE_FIRST_DECOMPOSITION],
                         capture_output=True, text=True, timeout=120)
    assert run.returncode == 0, run.stderr
    imported, with_backend, after_run = [line.split() for line in run.stdout.splitlines()]
    # The import starts no thread and loads no OpenBLAS; the run loads it
    # (its first large split) and starts no thread beside the backend's.
    assert imported == ["1", "False"]
    assert with_backend[1] == "False"
    assert after_run == [with_backend[0], "True"]
