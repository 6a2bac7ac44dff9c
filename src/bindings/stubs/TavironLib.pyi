from __future__ import annotations
import typing
__all__: list[str] = ['AncillaRegister', 'BackendV2', 'C3SQRTX', 'CANCELLED', 'CCXGate', 'CCZGate', 'CHGate', 'CPGate', 'CRXGate', 'CRYGate', 'CRZGate', 'CSGate', 'CSWAPGate', 'CSXGate', 'CSdgGate', 'CU1Gate', 'CU3Gate', 'CUGate', 'CXGate', 'CYGate', 'CZGate', 'ClassicalRegister', 'DCXGate', 'DONE', 'ECRGate', 'ERROR', 'GMSGate', 'Gate', 'HGate', 'IGate', 'INITIALIZING', 'ISWAPGate', 'JobStatus', 'JobV1', 'MCPGate', 'MCRXGate', 'MCRYGate', 'MCRZGate', 'MCXGate', 'MeasGate', 'PAULIGate', 'PhaseGate', 'QUEUED', 'QuantumCircuit', 'QuantumRegister', 'RCCCXGate', 'RCCXGate', 'RGate', 'RUNNING', 'RXGate', 'RXXGate', 'RYGate', 'RYYGate', 'RZGate', 'RZXGate', 'RZZGate', 'ResetGate', 'Result', 'RvGate', 'SGate', 'SWAPGate', 'SXGate', 'SXdgGate', 'SdgGate', 'TGate', 'TavironProvider', 'TdgGate', 'U0Gate', 'U1Gate', 'U2Gate', 'U3Gate', 'UGate', 'UserGate', 'VALIDATING', 'XGate', 'YGate', 'ZGate', 'job_monitor', 'qasm2']
class AncillaRegister:
    def __getitem__(self, arg0: int) -> int:
        """
        Get item at the specified index
        """
    @typing.overload
    def __init__(self, arg0: int) -> None:
        ...
    @typing.overload
    def __init__(self, arg0: int, arg1: str) -> None:
        ...
    def __len__(self) -> int:
        """
        Returns the number of qubits defined in this ancilla register
        """
    def name(self) -> str:
        """
        Returns the name of the ancilla register
        """
    def prefix(self) -> str:
        """
        Returns the prefix defined for the ancilla register's name
        """
    def size(self) -> int:
        """
        Returns the number of qubits defined in this ancilla register
        """
class BackendV2:
    def __init__(self) -> None:
        ...
    @typing.overload
    def run(self, arg0: QuantumCircuit, **kwargs) -> JobV1:
        """
        Executes the quantum circuit using the backend
        """
    @typing.overload
    def run(self, arg0: QuantumCircuit, arg1: int) -> JobV1:
        """
        Executes the quantum circuit using the backend
        """
    @property
    def backend_version(self) -> str:
        ...
    @property
    def description(self) -> str:
        ...
    @property
    def dt(self) -> int:
        ...
    @property
    def dtm(self) -> int:
        ...
    @property
    def max_circuits(self) -> int:
        ...
    @property
    def name(self) -> str:
        ...
    @property
    def num_qubits(self) -> int:
        ...
    @property
    def online_date(self) -> str:
        ...
    @property
    def version(self) -> int:
        ...
class C3SQRTX(Gate):
    def __init__(self) -> None:
        ...
class CCXGate(Gate):
    def __init__(self) -> None:
        ...
class CCZGate(Gate):
    def __init__(self) -> None:
        ...
class CHGate(Gate):
    def __init__(self) -> None:
        ...
class CPGate(Gate):
    def __init__(self) -> None:
        ...
class CRXGate(Gate):
    def __init__(self) -> None:
        ...
class CRYGate(Gate):
    def __init__(self) -> None:
        ...
class CRZGate(Gate):
    def __init__(self) -> None:
        ...
class CSGate(Gate):
    def __init__(self) -> None:
        ...
class CSWAPGate(Gate):
    def __init__(self) -> None:
        ...
class CSXGate(Gate):
    def __init__(self) -> None:
        ...
class CSdgGate(Gate):
    def __init__(self) -> None:
        ...
class CU1Gate(Gate):
    def __init__(self) -> None:
        ...
class CU3Gate(Gate):
    def __init__(self) -> None:
        ...
class CUGate(Gate):
    def __init__(self) -> None:
        ...
class CXGate(Gate):
    def __init__(self) -> None:
        ...
class CYGate(Gate):
    def __init__(self) -> None:
        ...
class CZGate(Gate):
    def __init__(self) -> None:
        ...
class ClassicalRegister:
    def __getitem__(self, arg0: int) -> int:
        """
        Get item at the specified index
        """
    @typing.overload
    def __init__(self, arg0: int) -> None:
        ...
    @typing.overload
    def __init__(self, arg0: int, arg1: str) -> None:
        ...
    def __len__(self) -> int:
        """
        Returns the number of qubits defined in this classical register
        """
    def name(self) -> str:
        """
        Returns the name of the classical register
        """
    def prefix(self) -> str:
        """
        Returns the prefix defined for the classical register's name
        """
    def size(self) -> int:
        """
        Returns the number of qubits defined in this classical register
        """
class DCXGate(Gate):
    def __init__(self) -> None:
        ...
class ECRGate(Gate):
    def __init__(self) -> None:
        ...
class GMSGate(Gate):
    def __init__(self) -> None:
        ...
class Gate:
    @typing.overload
    def c_if(self, cr: ClassicalRegister, val: int) -> None:
        """
        Implments the IF test
        """
    @typing.overload
    def c_if(self, clbit: int, val: int) -> None:
        """
        Implments the IF test
        """
class HGate(Gate):
    def __init__(self) -> None:
        ...
class IGate(Gate):
    def __init__(self) -> None:
        ...
class ISWAPGate(Gate):
    def __init__(self) -> None:
        ...
class JobStatus:
    """
    Members:
    
      INITIALIZING
    
      QUEUED
    
      VALIDATING
    
      RUNNING
    
      CANCELLED
    
      DONE
    
      ERROR
    """
    CANCELLED: typing.ClassVar[JobStatus]  # value = <JobStatus.CANCELLED: 4>
    DONE: typing.ClassVar[JobStatus]  # value = <JobStatus.DONE: 5>
    ERROR: typing.ClassVar[JobStatus]  # value = <JobStatus.ERROR: 6>
    INITIALIZING: typing.ClassVar[JobStatus]  # value = <JobStatus.INITIALIZING: 0>
    QUEUED: typing.ClassVar[JobStatus]  # value = <JobStatus.QUEUED: 1>
    RUNNING: typing.ClassVar[JobStatus]  # value = <JobStatus.RUNNING: 3>
    VALIDATING: typing.ClassVar[JobStatus]  # value = <JobStatus.VALIDATING: 2>
    __members__: typing.ClassVar[dict[str, JobStatus]]  # value = {'INITIALIZING': <JobStatus.INITIALIZING: 0>, 'QUEUED': <JobStatus.QUEUED: 1>, 'VALIDATING': <JobStatus.VALIDATING: 2>, 'RUNNING': <JobStatus.RUNNING: 3>, 'CANCELLED': <JobStatus.CANCELLED: 4>, 'DONE': <JobStatus.DONE: 5>, 'ERROR': <JobStatus.ERROR: 6>}
    def __eq__(self, other: typing.Any) -> bool:
        ...
    def __getstate__(self) -> int:
        ...
    def __hash__(self) -> int:
        ...
    def __index__(self) -> int:
        ...
    def __init__(self, value: int) -> None:
        ...
    def __int__(self) -> int:
        ...
    def __ne__(self, other: typing.Any) -> bool:
        ...
    def __repr__(self) -> str:
        ...
    def __setstate__(self, state: int) -> None:
        ...
    def __str__(self) -> str:
        ...
    @property
    def name(self) -> str:
        ...
    @property
    def value(self) -> int:
        ...
class JobV1:
    def __init__(self, arg0: str) -> None:
        ...
    def backend(self) -> BackendV2:
        """
        Fetches the backend object
        """
    def cancel(self) -> None:
        """
        Cancels the Job Id
        """
    def cancelled(self) -> bool:
        """
        Checks whether the job is cancelled or not
        """
    def done(self) -> bool:
        """
        Checks whether the job is done or not
        """
    def in_final_state(self) -> bool:
        """
        Checks whether the job is in its final state of execution
        """
    def job_id(self) -> str:
        """
        Gets the current Job Id
        """
    def result(self) -> Result:
        """
        Fetches the result of the experiment
        """
    def running(self) -> bool:
        """
        Checks whether the job is running or not
        """
    def status(self) -> JobStatus:
        """
        Status of the Job
        """
    def submit(self) -> None:
        """
        Submit a new task for execution
        """
    def wait_for_final_state(self, arg0: float, arg1: float, arg2: typing.Callable) -> None:
        """
        Waits for the job's final state
        """
    @property
    def _async(self) -> bool:
        ...
    @property
    def version(self) -> int:
        ...
class MCPGate(Gate):
    def __init__(self) -> None:
        ...
class MCRXGate(Gate):
    def __init__(self) -> None:
        ...
class MCRYGate(Gate):
    def __init__(self) -> None:
        ...
class MCRZGate(Gate):
    def __init__(self) -> None:
        ...
class MCXGate(Gate):
    def __init__(self) -> None:
        ...
class MeasGate(Gate):
    def __init__(self) -> None:
        ...
class PAULIGate(Gate):
    def __init__(self) -> None:
        ...
class PhaseGate(Gate):
    def __init__(self) -> None:
        ...
class QuantumCircuit:
    @typing.overload
    def __init__(self, num_qubits: int, num_cbits: int, name: str = '', global_phase: float = 0.0, metadata: dict = {}) -> None:
        ...
    @typing.overload
    def __init__(self, num_qubits: int, name: str = '', global_phase: float = 0.0, metadata: dict = {}) -> None:
        ...
    @typing.overload
    def __init__(self, *args, name: str = '', global_phase: float = 0.0, metadata: dict = {}) -> None:
        ...
    def append(self, qc: QuantumCircuit, qubits_vector: list[int], cbits_vector: list[int]) -> int:
        """
        Appends a quantum circuit to the current circuit
        """
    @typing.overload
    def barrier(self, label: str = '') -> int:
        """
        Implements the barrier gate
        """
    @typing.overload
    def barrier(self, qubit_list: list[int], label: str = '') -> int:
        """
        Implements the barrier gate
        """
    def c3sqrtx(self, control_qubit1: int, control_qubit2: int, control_qubit3: int, target_qubit: int, label: str = '') -> C3SQRTX:
        """
        Implements the triple controlled square root of X gate
        """
    def c3x(self, control_qubit1: int, control_qubit2: int, control_qubit3: int, target_qubit: int, label: str = '') -> MCXGate:
        """
        Implements the three controlled X gate
        """
    def c4x(self, control_qubit1: int, control_qubit2: int, control_qubit3: int, control_qubit4: int, target_qubit: int, label: str = '') -> MCXGate:
        """
        Implments the four controlled X gate
        """
    def ccx(self, control_qubit1: int, control_qubit2: int, target_qubit: int, label: str = '') -> CCXGate:
        """
        Implements the controlled-controlled-x gate
        """
    def ccz(self, control_qubit1: int, control_qubit2: int, target_qubit: int, label: str = '') -> CCZGate:
        """
        Implements the controlled-controlled-z gate
        """
    def ch(self, control_qubit: int, target_qubit: int, label: str = '') -> CHGate:
        """
        Implements the controlled-h gate
        """
    def clear(self) -> None:
        """
        Deletes all quantum gates added to the circuit
        """
    def cnot(self, control_qubit: int, target_qubit: int, label: str = '') -> CXGate:
        """
        Implements the controlled-not gate
        """
    def compose(self, other: QuantumCircuit, qubits: list[int] = [], clbits: list[int] = [], front: bool = False, inplace: bool = False, wrap: bool = False) -> QuantumCircuit:
        """
        Composes a new quantum circuit from the current circuit
        """
    def cp(self, theta: float, control_qubit: int, target_qubit: int, label: str = '') -> CPGate:
        """
        Implements the controlled-phase gate
        """
    def crx(self, theta: float, control_qubit: int, target_qubit: int, label: str = '') -> CRXGate:
        """
        Implements the controlled-rx gate
        """
    def cry(self, theta: float, control_qubit: int, target_qubit: int, label: str = '') -> CRYGate:
        """
        Implements the controlled-ry gate
        """
    def crz(self, theta: float, control_qubit: int, target_qubit: int, label: str = '') -> CRZGate:
        """
        Implements the controlled-rz gate
        """
    def cs(self, control_qubit: int, target_qubit: int, label: str = '') -> CSGate:
        """
        Implements the controlled-s gate
        """
    def csdg(self, control_qubit: int, target_qubit: int, label: str = '') -> CSdgGate:
        """
        Implements the controlled-sdg gate
        """
    def cswap(self, control_qubit: int, target_qubit1: int, target_qubit2: int, label: str = '') -> CSWAPGate:
        """
        Implements the controlled-swap gate
        """
    def csx(self, control_qubit: int, target_qubit: int, label: str = '') -> CSXGate:
        """
        Implements the controlled-sx gate
        """
    def cu(self, theta: float, phi: float, lambda_: float, gamma: float, control_qubit: int, target_qubit: int, label: str = '') -> CUGate:
        """
        Implements the controlled-u gate
        """
    def cu1(self, theta: float, control_qubit: int, target_qubit: int, label: str = '') -> CU1Gate:
        """
        Implements the controlled-u1 gate
        """
    def cu3(self, theta: float, phi: float, lambda_: float, control_qubit: int, target_qubit: int, label: str = '') -> CU3Gate:
        """
        Implements the controlled-u3 gate
        """
    def cx(self, control_qubit: int, target_qubit: int, label: str = '') -> CXGate:
        """
        Implements the controlled-x gate
        """
    def cy(self, control_qubit: int, target_qubit: int, label: str = '') -> CYGate:
        """
        Implements the controlled-y gate
        """
    def cz(self, control_qubit: int, target_qubit: int, label: str = '') -> CZGate:
        """
        Implements the controlled-z gate
        """
    def dcx(self, qubit1: int, qubit2: int, label: str = '') -> DCXGate:
        """
        Implements the dcx gate
        """
    def depth(self) -> int:
        """
        Obtains the depth of the circuit
        """
    def draw(self, output: str = 'text', scale: float = 1.0, filename: str = '', style: dict = {}, interactive: bool = False, plot_barriers: bool = True, reverse_bits: bool = False, justify: str = 'left', vertical_compression: str = 'medium', idle_wires: bool = True, with_layout: bool = True, fold: int = 80, initial_state: bool = False, cregbundle: bool = True, wire_order: list[int] = []) -> None:
        """
        Draws the quantum circuit
        """
    def ecr(self, qubit1: int, qubit2: int, label: str = '') -> ECRGate:
        """
        Implements the ecr gate
        """
    def fredkin(self, control_qubit1: int, control_qubit2: int, target_qubit: int, label: str = '') -> CSWAPGate:
        """
        Implements the controlled-swap gate
        """
    def gms(self, theta: float, qubit_list: list[int], label: str = '') -> GMSGate:
        """
        Implements the MS or the Global Mølmer–Sørensen gate
        """
    @typing.overload
    def h(self, qubit: int, label: str = '') -> HGate:
        """
        Implements the Hadamard gate
        """
    @typing.overload
    def h(self, qubit_vector: list[int], label: str = '') -> HGate:
        """
        Implements the Hadamard gate
        """
    @typing.overload
    def h(self, qr: QuantumRegister, label: str = '') -> HGate:
        """
        Implements the Hadamard gate
        """
    @typing.overload
    def i(self, qubit: int, label: str = '') -> IGate:
        """
        Implements the identity gate
        """
    @typing.overload
    def i(self, qubit_vector: list[int], label: str = '') -> IGate:
        """
        Implements the identity gate
        """
    @typing.overload
    def i(self, qr: QuantumRegister, label: str = '') -> IGate:
        """
        Implements the identity gate
        """
    @typing.overload
    def id(self, qubit: int, label: str = '') -> IGate:
        """
        Implements the identity gate
        """
    @typing.overload
    def id(self, qubit_vector: list[int], label: str = '') -> IGate:
        """
        Implements the identity gate
        """
    @typing.overload
    def id(self, qr: QuantumRegister, label: str = '') -> IGate:
        """
        Implements the identity gate
        """
    def iswap(self, qubit1: int, qubit2: int, label: str = '') -> ISWAPGate:
        """
        Implements the iswap gate
        """
    def mcp(self, lambda_: float, control_qubits: list[int], target_qubit: int, label: str = '') -> MCPGate:
        """
        Implements the multicontrol phase gate
        """
    def mcrx(self, lambda_: float, control_qubits: list[int], target_qubit: int, use_basis_gates: bool = False, label: str = '') -> MCRXGate:
        """
        Implements the multicontrol X rotation
        """
    def mcry(self, lambda_: float, control_qubits: list[int], target_qubit: int, use_basis_gates: bool = False, label: str = '') -> MCRYGate:
        """
        Implements the multicontrol Y rotation
        """
    def mcrz(self, lambda_: float, control_qubits: list[int], target_qubit: int, use_basis_gates: bool = False, label: str = '') -> MCRZGate:
        """
        Implements the multicontrol Z rotation
        """
    def mct(self, control_qubits: list[int], target_qubit: int, ancilla_qubits: list[int] = [], mode: str = 'noancilla', label: str = '') -> MCXGate:
        """
        Implements the multicontrol X gate
        """
    def mcx(self, control_qubits: list[int], target_qubit: int, ancilla_qubits: list[int] = [], mode: str = 'noancilla', label: str = '') -> MCXGate:
        """
        Implements the multicontrol X gate
        """
    @typing.overload
    def measure(self, qubit: int, classical_bit: int, label: str = '') -> MeasGate:
        """
        Perform Pauli-Z measurement on qubit and project it to the given classical register.
        """
    @typing.overload
    def measure(self, qubit: int, label: str = '') -> MeasGate:
        """
        Perform Pauli-Z measurement on qubit and project it to the corresponding classical register
        """
    def measure_active(self, label: str = '') -> MeasGate:
        """
        Measures all active qubits
        """
    def measure_all(self, label: str = '') -> MeasGate:
        """
        Measures all qubits
        """
    def ms(self, theta: float, qubit_list: list[int], label: str = '') -> GMSGate:
        """
        Implements the MS or the Global Mølmer–Sørensen gate
        """
    @typing.overload
    def p(self, theta: float, qubit: int, label: str = '') -> PhaseGate:
        """
        Implements the phase gate
        """
    @typing.overload
    def p(self, theta: float, qubit_vector: list[int], label: str = '') -> PhaseGate:
        """
        Implements the phase gate
        """
    @typing.overload
    def p(self, theta: float, qr: QuantumRegister, label: str = '') -> PhaseGate:
        """
        Implements the phase gate
        """
    def pauli(self, qubit_list: list[int], pauli_operator: str, label: str = '') -> PAULIGate:
        """
        Performs Pauli operations (I-X-Y-Z) on a list of qubits
        """
    def qasm(self, formatted: bool = False, filename: str = '', encoding: str = '') -> str:
        """
        Obtains a QASM 2.0 equivalent code for the quantum circuit
        """
    @typing.overload
    def r(self, theta: float, phi: float, qubit: int, label: str = '') -> RGate:
        """
        Implements the rotation gate r
        """
    @typing.overload
    def r(self, theta: float, phi: float, qubit_vector: list[int], label: str = '') -> RGate:
        """
        Implements the rotation gate r
        """
    @typing.overload
    def r(self, theta: float, phi: float, qr: QuantumRegister, label: str = '') -> RGate:
        """
        Implements the rotation gate r
        """
    def rc3x(self, control_qubit1: int, control_qubit2: int, control_qubit3: int, target_qubit: int, label: str = '') -> RCCCXGate:
        """
        Implements the triple controlled X rotation gate
        """
    def rcccx(self, control_qubit1: int, control_qubit2: int, control_qubit3: int, target_qubit: int, label: str = '') -> RCCCXGate:
        """
        Implements the triple controlled X rotation gate
        """
    def rccx(self, control_qubit1: int, control_qubit2: int, target_qubit: int, label: str = '') -> RCCXGate:
        """
        Implements the controlled-swap gate
        """
    @typing.overload
    def reset(self, qubit: int, label: str = '') -> ResetGate:
        """
        Resets a qubit or a list of qubits to state |0>?
        """
    @typing.overload
    def reset(self, qubit_list: list[int], label: str = '') -> ResetGate:
        """
        Resets a qubit or a list of qubits to state |0>?
        """
    @typing.overload
    def rv(self, vx: float, vy: float, vz: float, qubit: int, label: str = '') -> RvGate:
        """
        Implements the rv gate
        """
    @typing.overload
    def rv(self, vx: float, vy: float, vz: float, qubit_vector: list[int], label: str = '') -> RvGate:
        """
        Implements the rv gate
        """
    @typing.overload
    def rv(self, vx: float, vy: float, vz: float, qr: QuantumRegister, label: str = '') -> RvGate:
        """
        Implements the rv gate
        """
    @typing.overload
    def rx(self, theta: float, qubit: int, label: str = '') -> RXGate:
        """
        Implements the rx gate
        """
    @typing.overload
    def rx(self, theta: float, qubit_vector: list[int], label: str = '') -> RXGate:
        """
        Implements the rx gate
        """
    @typing.overload
    def rx(self, theta: float, qr: QuantumRegister, label: str = '') -> RXGate:
        """
        Implements the rx gate
        """
    def rxx(self, theta: float, qubit1: int, qubit2: int, label: str = '') -> RXXGate:
        """
        Implements the rxx gate
        """
    @typing.overload
    def ry(self, theta: float, qubit: int, label: str = '') -> RYGate:
        """
        Implements the ry gate
        """
    @typing.overload
    def ry(self, theta: float, qubit_vector: list[int], label: str = '') -> RYGate:
        """
        Implements the ry gate
        """
    @typing.overload
    def ry(self, theta: float, qr: QuantumRegister, label: str = '') -> RYGate:
        """
        Implements the ry gate
        """
    def ryy(self, theta: float, qubit1: int, qubit2: int, label: str = '') -> RYYGate:
        """
        Implements the ryy gate
        """
    @typing.overload
    def rz(self, phi: float, qubit: int, label: str = '') -> RZGate:
        """
        Implements the rz gate
        """
    @typing.overload
    def rz(self, phi: float, qubit_vector: list[int], label: str = '') -> RZGate:
        """
        Implements the rz gate
        """
    @typing.overload
    def rz(self, phi: float, qr: QuantumRegister, label: str = '') -> RZGate:
        """
        Implements the rz gate
        """
    def rzx(self, theta: float, qubit1: int, qubit2: int, label: str = '') -> RZXGate:
        """
        Implements the rzx gate
        """
    def rzz(self, theta: float, qubit1: int, qubit2: int, label: str = '') -> RZZGate:
        """
        Implements the rzz gate
        """
    @typing.overload
    def s(self, qubit: int, label: str = '') -> SGate:
        """
        Implements the s gate
        """
    @typing.overload
    def s(self, qubit_vector: list[int], label: str = '') -> SGate:
        """
        Implements the s gate
        """
    @typing.overload
    def s(self, qr: QuantumRegister, label: str = '') -> SGate:
        """
        Implements the s gate
        """
    @typing.overload
    def sdg(self, qubit: int, label: str = '') -> SdgGate:
        """
        Implements the sdg gate
        """
    @typing.overload
    def sdg(self, qubit_vector: list[int], label: str = '') -> SdgGate:
        """
        Implements the sdg gate
        """
    @typing.overload
    def sdg(self, qr: QuantumRegister, label: str = '') -> SdgGate:
        """
        Implements the sdg gate
        """
    def size(self) -> int:
        """
        Returns to the total number of gate operations in the circuit, excepting for barrier gates
        """
    def swap(self, qubit1: int, qubit2: int, label: str = '') -> SWAPGate:
        """
        Implements the swap gate
        """
    @typing.overload
    def sx(self, qubit: int, label: str = '') -> SXGate:
        """
        Implements the sx gate
        """
    @typing.overload
    def sx(self, qubit_vector: list[int], label: str = '') -> SXGate:
        """
        Implements the sx gate
        """
    @typing.overload
    def sx(self, qr: QuantumRegister, label: str = '') -> SXGate:
        """
        Implements the sx gate
        """
    @typing.overload
    def sxdg(self, qubit: int, label: str = '') -> SXdgGate:
        """
        Implements the sxdg gate
        """
    @typing.overload
    def sxdg(self, qubit_vector: list[int], label: str = '') -> SXdgGate:
        """
        Implements the sxdg gate
        """
    @typing.overload
    def sxdg(self, qr: QuantumRegister, label: str = '') -> SXdgGate:
        """
        Implements the sxdg gate
        """
    @typing.overload
    def t(self, qubit: int, label: str = '') -> TGate:
        """
        Implements the t gate
        """
    @typing.overload
    def t(self, qubit_vector: list[int], label: str = '') -> TGate:
        """
        Implements the t gate
        """
    @typing.overload
    def t(self, qr: QuantumRegister, label: str = '') -> TGate:
        """
        Implements the t gate
        """
    @typing.overload
    def tdg(self, qubit: int, label: str = '') -> TdgGate:
        """
        Implements the tdg gate
        """
    @typing.overload
    def tdg(self, qubit_vector: list[int], label: str = '') -> TdgGate:
        """
        Implements the tdg gate
        """
    @typing.overload
    def tdg(self, qr: QuantumRegister, label: str = '') -> TdgGate:
        """
        Implements the tdg gate
        """
    def toffoli(self, control_qubit1: int, control_qubit2: int, target_qubit: int, label: str = '') -> CCXGate:
        """
        Implements the controlled-controlled-x gate
        """
    @typing.overload
    def u(self, theta: float, phi: float, lambda_: float, qubit: int, label: str = '') -> UGate:
        """
        Implements the u gate
        """
    @typing.overload
    def u(self, theta: float, phi: float, lambda_: float, qubit_vector: list[int], label: str = '') -> UGate:
        """
        Implements the u gate
        """
    @typing.overload
    def u(self, theta: float, phi: float, lambda_: float, qr: QuantumRegister, label: str = '') -> UGate:
        """
        Implements the u gate
        """
    @typing.overload
    def u0(self, gamma: float, qubit: int, label: str = '') -> U0Gate:
        """
        Implements the U0 gate, which is the same as the identity gate
        """
    @typing.overload
    def u0(self, gamma: float, qubit_vector: list[int], label: str = '') -> U0Gate:
        """
        Implements the U0 gate, which is the same as the identity gate
        """
    @typing.overload
    def u0(self, gamma: float, qr: QuantumRegister, label: str = '') -> U0Gate:
        """
        Implements the U0 gate, which is the same as the identity gate
        """
    @typing.overload
    def u1(self, lambda_: float, qubit: int, label: str = '') -> U1Gate:
        """
        Implements the u1 gate
        """
    @typing.overload
    def u1(self, lambda_: float, qubit_vector: list[int], label: str = '') -> U1Gate:
        """
        Implements the u1 gate
        """
    @typing.overload
    def u1(self, lambda_: float, qr: QuantumRegister, label: str = '') -> U1Gate:
        """
        Implements the u1 gate
        """
    @typing.overload
    def u2(self, phi: float, lambda_: float, qubit: int, label: str = '') -> U2Gate:
        """
        Implements the u2 gate
        """
    @typing.overload
    def u2(self, phi: float, lambda_: float, qubit_vector: list[int], label: str = '') -> U2Gate:
        """
        Implements the u2 gate
        """
    @typing.overload
    def u2(self, phi: float, lambda_: float, qr: QuantumRegister, label: str = '') -> U2Gate:
        """
        Implements the u2 gate
        """
    @typing.overload
    def u3(self, theta: float, phi: float, lambda_: float, qubit: int, label: str = '') -> U3Gate:
        """
        Implements the u3 gate
        """
    @typing.overload
    def u3(self, theta: float, phi: float, lambda_: float, qubit_vector: list[int], label: str = '') -> U3Gate:
        """
        Implements the u3 gate
        """
    @typing.overload
    def u3(self, theta: float, phi: float, lambda_: float, qr: QuantumRegister, label: str = '') -> U3Gate:
        """
        Implements the u3 gate
        """
    def width(self) -> int:
        """
        Obtains the width of the circuit
        """
    @typing.overload
    def x(self, qubit: int, label: str = '') -> XGate:
        """
        Implements the x gate
        """
    @typing.overload
    def x(self, qubit_vector: list[int], label: str = '') -> XGate:
        """
        Implements the x gate
        """
    @typing.overload
    def x(self, qr: QuantumRegister, label: str = '') -> XGate:
        """
        Implements the x gate
        """
    @typing.overload
    def y(self, qubit: int, label: str = '') -> YGate:
        """
        Implements the y gate
        """
    @typing.overload
    def y(self, qubit_vector: list[int], label: str = '') -> YGate:
        """
        Implements the y gate
        """
    @typing.overload
    def y(self, qr: QuantumRegister, label: str = '') -> YGate:
        """
        Implements the y gate
        """
    @typing.overload
    def z(self, qubit: int, label: str = '') -> ZGate:
        """
        Implements the z gate
        """
    @typing.overload
    def z(self, qubit_vector: list[int], label: str = '') -> ZGate:
        """
        Implements the z gate
        """
    @typing.overload
    def z(self, qr: QuantumRegister, label: str = '') -> ZGate:
        """
        Implements the z gate
        """
    @property
    def global_phase(self) -> float:
        ...
    @property
    def header(self) -> str:
        ...
    @property
    def instances(self) -> int:
        ...
    @property
    def num_ancillas(self) -> int:
        ...
    @property
    def num_clbits(self) -> int:
        ...
    @property
    def num_qubits(self) -> int:
        ...
    @property
    def prefix(self) -> str:
        ...
class QuantumRegister:
    def __getitem__(self, arg0: int) -> int:
        """
        Get item at the specified index
        """
    @typing.overload
    def __init__(self, arg0: int) -> None:
        ...
    @typing.overload
    def __init__(self, arg0: int, arg1: str) -> None:
        ...
    def __len__(self) -> int:
        """
        Returns the number of qubits defined in this quantum register
        """
    def name(self) -> str:
        """
        Returns the name of the quantum register
        """
    def prefix(self) -> str:
        """
        Returns the prefix defined for the quantum register's name
        """
    def size(self) -> int:
        """
        Returns the number of qubits defined in this quantum register
        """
class RCCCXGate(Gate):
    def __init__(self) -> None:
        ...
class RCCXGate(Gate):
    def __init__(self) -> None:
        ...
class RGate(Gate):
    def __init__(self) -> None:
        ...
class RXGate(Gate):
    def __init__(self) -> None:
        ...
class RXXGate(Gate):
    def __init__(self) -> None:
        ...
class RYGate(Gate):
    def __init__(self) -> None:
        ...
class RYYGate(Gate):
    def __init__(self) -> None:
        ...
class RZGate(Gate):
    def __init__(self) -> None:
        ...
class RZXGate(Gate):
    def __init__(self) -> None:
        ...
class RZZGate(Gate):
    def __init__(self) -> None:
        ...
class ResetGate(Gate):
    def __init__(self) -> None:
        ...
class Result:
    def __init__(self) -> None:
        ...
    def data(self, arg0: int) -> dict:
        """
        Obtains the experiment data
        """
    def from_dict(self, arg0: dict) -> None:
        """
        Imports a Python dictionary
        """
    def get_classicalregister(self) -> str:
        """
        Gets the classical register
        """
    def get_counts(self) -> dict:
        """
        Gets the count of the experiment
        """
    def get_densitymatrix(self, experiment: int = 0, decimals: int = 0) -> list[list[complex]]:
        """
        Gets the density matrix
        """
    def get_memory(self) -> list[str]:
        """
        Gets a dictionar of the current memory variables
        """
    def get_probabilities(self, experiment: int = 0, decimals: int = 0) -> list[float]:
        """
        Gets the probabilities
        """
    def get_statevector(self, experiment: int = 0, decimals: int = 0) -> list[complex]:
        """
        Gets the statevector of the referred qubits
        """
    def get_unitary(self, experiment: int = 0, decimals: int = 0) -> list[complex]:
        """
        Gets the unitary of the execution
        """
    def to_dict(self) -> dict:
        """
        Obtains a Python dictionary of the results
        """
    @property
    def backend_name(self) -> str:
        ...
    @property
    def backend_version(self) -> str:
        ...
    @property
    def date(self) -> str:
        ...
    @property
    def header(self) -> str:
        ...
    @property
    def job_id(self) -> str:
        ...
    @property
    def qobj_id(self) -> str:
        ...
    @property
    def results(self) -> list[str]:
        ...
    @property
    def status(self) -> str:
        ...
    @property
    def success(self) -> bool:
        ...
class RvGate(Gate):
    def __init__(self) -> None:
        ...
class SGate(Gate):
    def __init__(self) -> None:
        ...
class SWAPGate(Gate):
    def __init__(self) -> None:
        ...
class SXGate(Gate):
    def __init__(self) -> None:
        ...
class SXdgGate(Gate):
    def __init__(self) -> None:
        ...
class SdgGate(Gate):
    def __init__(self) -> None:
        ...
class TGate(Gate):
    def __init__(self) -> None:
        ...
class TavironProvider:
    def __init__(self, token: str = '', url: str = '', name: str = '', instance: str = '', proxies: dict = {}, verify: bool = False) -> None:
        ...
    def active_account(self) -> dict:
        """
        Provides the details of the current active account
        """
    def backends(self, arg0: str, **kwargs) -> list[str]:
        """
        Get the list of supported backends
        """
    def delete_account(self, name: str = '') -> bool:
        """
        Deletes a given account
        """
    @typing.overload
    def get_backend(self, arg0: str, **kwargs) -> BackendV2:
        """
        Get the backend
        """
    @typing.overload
    def get_backend(self, arg0: str) -> BackendV2:
        """
        Get the backend
        """
    def save_account(self, token: str = '', url: str = '', instance: str = '', name: str = '', proxies: dict = {}, verify: bool = False, overwrite: bool = True) -> None:
        """
        Save an account
        """
    def saved_accounts(self, defaults: bool = False, name: str = '') -> dict:
        """
        Provides the list of saved accounts
        """
class TdgGate(Gate):
    def __init__(self) -> None:
        ...
class U0Gate(Gate):
    def __init__(self) -> None:
        ...
class U1Gate(Gate):
    def __init__(self) -> None:
        ...
class U2Gate(Gate):
    def __init__(self) -> None:
        ...
class U3Gate(Gate):
    def __init__(self) -> None:
        ...
class UGate(Gate):
    def __init__(self) -> None:
        ...
class UserGate(Gate):
    def __init__(self) -> None:
        ...
class XGate(Gate):
    def __init__(self) -> None:
        ...
class YGate(Gate):
    def __init__(self) -> None:
        ...
class ZGate(Gate):
    def __init__(self) -> None:
        ...
class qasm2:
    def __init__(self) -> None:
        ...
    def load(self, filename: str, include_path: str = '', include_input_directory: str = 'append', strict: bool = False) -> QuantumCircuit:
        """
        Loads a QASM2 file
        """
    def loads(self, qasm2string: str, include_path: str = '', include_input_directory: str = 'append', strict: bool = False) -> QuantumCircuit:
        """
        Loads QASM2 instructions form a character string
        """
def job_monitor(job: JobV1, interval: int = 0, quiet: bool = False) -> None:
    """
    Installs a monitor for the submitted job
    """
CANCELLED: JobStatus  # value = <JobStatus.CANCELLED: 4>
DONE: JobStatus  # value = <JobStatus.DONE: 5>
ERROR: JobStatus  # value = <JobStatus.ERROR: 6>
INITIALIZING: JobStatus  # value = <JobStatus.INITIALIZING: 0>
QUEUED: JobStatus  # value = <JobStatus.QUEUED: 1>
RUNNING: JobStatus  # value = <JobStatus.RUNNING: 3>
VALIDATING: JobStatus  # value = <JobStatus.VALIDATING: 2>
__author__: str = 'The TavironLib developers'
__credits__: str = 'Built on pybind11 and Eigen.'
__version__: str = '0.2.1'
