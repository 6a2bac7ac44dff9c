"""The module as imported: its namespace in registration order, its
attributes, the class hierarchy and the docstrings that pin the binding
library's rendering."""

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
                 "BackendV2", "TavironProvider"]


def namespace_after_import_attributes():
    """The module's own attributes, in creation order, without those that the
    import machinery adds around them."""
    machinery = {"__name__", "__doc__", "__package__", "__loader__", "__spec__", "__file__",
                 "__builtins__", "__cached__", "__path__"}
    return [name for name in vars(tl) if name not in machinery]


def test_namespace_follows_registration_order():
    # The qasm2 reader class takes its place between the provider and Gate
    # once the OpenQASM reader is bound.
    reader = ["qasm2"] if hasattr(tl, "qasm2") else []
    expected = (["job_monitor", "JobStatus"] + STATUS_NAMES + OTHER_CLASSES + reader + ["Gate"]
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
               tl.HGate()]
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
    # ancilla_qubits of mct and of mcx, qubits and clbits of compose (and
    # wire_order of draw once it is bound) are separate empty lists: a shared
    # one would show up once.
    run = subprocess.run([sys.executable, "-c", _COUNT_DEFAULT_LISTS], check=True,
                         capture_output=True, text=True)
    expected = 5 if hasattr(tl.QuantumCircuit, "draw") else 4
    assert int(run.stdout) == expected


@pytest.mark.skipif(shutil.which("nm") is None, reason="needs nm")
def test_module_file_exports_only_its_initialiser():
    listing = subprocess.run(["nm", "-D", "--defined-only", tl.__file__], check=True,
                             capture_output=True, text=True).stdout
    exported = [line.split()[-1] for line in listing.splitlines() if line.strip()]
    assert exported == ["PyInit_TavironLib"]
