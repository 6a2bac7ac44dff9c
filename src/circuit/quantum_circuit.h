#ifndef TAVIRON_CIRCUIT_QUANTUM_CIRCUIT_H
#define TAVIRON_CIRCUIT_QUANTUM_CIRCUIT_H

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "circuit/composite_name_index.h"
#include "circuit/registers.h"
#include "foundation/gate.h"
#include "foundation/gate_record.h"

namespace taviron {

// Numbers the default circuit names "circuit_<n>"; compose also reads and
// advances it. Never reset; wraps modulo 2^32.
extern int32_t CircuitNameCounter;

// One positional argument of the register constructor: a caller's register
// object (not owned), or std::monostate for an argument that is no register.
using RegisterArgument = std::variant<std::monostate, QuantumRegister*,
                                      AncillaRegister*, ClassicalRegister*>;

// A circuit: registers, counts, per-qubit bookkeeping, the instruction list
// and the run settings. Gate methods return their handle as a unique_ptr that
// the caller owns (null only where a method returns nothing).
//
// Where the members are defined: most gate methods come from one table row
// each (a row `X(rzz, GateId::kRZZ, ...)` defines QuantumCircuit::rzz); every
// block below names its table or file, so `grep -rn "X(rzz," src/circuit`
// finds the row. qasm() lives with the OpenQASM writer, draw() with the
// text drawer.
class QuantumCircuit {
 public:
  // Count constructor: throws std::range_error "Invalid number of qubits
  // passed." unless 1 <= num_qubits <= 100, and "Invalid number of
  // classical bits passed." when num_cbits exceeds num_qubits.
  QuantumCircuit(uint64_t num_qubits, uint64_t num_cbits,
                 std::string name = "", double global_phase = 0.0);
  // Qubit-count constructor: the count constructor with as many classical
  // bits as qubits (the same refusals).
  explicit QuantumCircuit(uint64_t num_qubits, std::string name = "",
                          double global_phase = 0.0);
  // Register constructor: copies the given registers, then writes the
  // circuit's first indices and default names back into the caller's objects.
  explicit QuantumCircuit(const std::vector<RegisterArgument>& args,
                          std::string name = "", double global_phase = 0.0);
  // Vector constructor: keeps the caller's register objects themselves; a
  // complementary classical register is appended to `classical`.
  QuantumCircuit(
      const std::vector<std::shared_ptr<QuantumRegister>>& quantum,
      const std::vector<std::shared_ptr<AncillaRegister>>& ancilla,
      std::vector<std::shared_ptr<ClassicalRegister>>& classical,
      std::string name, double global_phase);

  QuantumCircuit(const QuantumCircuit&) = delete;
  QuantumCircuit& operator=(const QuantumCircuit&) = delete;
  virtual ~QuantumCircuit();

  // The circuit's state, read in place (the simulator reads the instruction
  // list and the run settings on every run; nothing here copies).
  //
  // Qubits of every quantum and ancilla register together.
  uint64_t total_qubits() const { return total_qubits_; }
  // Qubits of the quantum registers, of the ancilla registers, and classical
  // bits; counted by SetupRegisters.
  uint64_t num_qubits() const { return num_qubits_; }
  uint64_t num_ancillas() const { return num_ancillas_; }
  uint64_t num_clbits() const { return num_clbits_; }
  // One entry per classical bit, -1 until the bit is written.
  const std::vector<int64_t>& clbit_slots() const { return clbit_slots_; }
  // One entry per qubit: 1 once a record has acted on it, else 0.
  const std::vector<int64_t>& active_qubits() const { return active_qubits_; }
  const std::vector<std::shared_ptr<QuantumRegister>>& quantum_registers() const {
    return quantum_registers_;
  }
  const std::vector<std::shared_ptr<AncillaRegister>>& ancilla_registers() const {
    return ancilla_registers_;
  }
  const std::vector<std::shared_ptr<ClassicalRegister>>& classical_registers() const {
    return classical_registers_;
  }
  const std::string& name() const { return name_; }
  double global_phase() const { return global_phase_; }
  const std::string& header() const { return header_; }
  int32_t instances() const { return instances_; }
  const std::string& prefix() const { return prefix_; }
  // The instruction list, in execution order.
  const GateRecordList& gates() const { return gates_; }
  // What a run asks for: the shot count and whether the run prints nothing.
  int32_t shots() const { return shots_; }
  bool quiet() const { return quiet_; }
  // The classical bits and registers that c_if on this circuit's handles may
  // name; set up with the registers (SetupRegisters) and shared with every
  // handle (see NewHandle).
  const std::shared_ptr<const ConditionTargets>& condition_targets() const {
    return condition_targets_;
  }

  // The run settings, written by the backend's run before it checks the
  // circuit.
  void set_shots(int32_t shots) { shots_ = shots; }
  void set_quiet(bool quiet) { quiet_ = quiet; }
  // The instruction list itself, for the appenders that push records at its
  // end or put a record of their own in place of one (a composite shared
  // with other calls gets a copy of its own before a condition is set).
  GateRecordList& mutable_gates() { return gates_; }
  // Marks a qubit as acted on; the appenders call it once a record on the
  // qubit is in place. The qubit is below total_qubits().
  void MarkQubitActive(uint64_t qubit) { active_qubits_[qubit] = 1; }

  // Constructors: quantum_circuit_constructors.cc. Register set-up (last step
  // of every constructor): quantum_circuit_register_setup.cc.
  void SetupRegisters();
  // kind: 0 quantum, 1 ancilla, 2 classical; position is 1-based.
  bool IsRegisterNameUsed(const std::string& name, uint64_t position,
                          int32_t kind) const;

  // A new, empty handle of class Handle for the records of one call, which
  // checks its conditions against this circuit's classical bits.
  template <class Handle>
  std::unique_ptr<Handle> NewHandle(std::string label) const {
    auto handle = std::make_unique<Handle>(std::move(label));
    handle->condition_targets = condition_targets_;
    return handle;
  }

  // Bookkeeping: quantum_circuit_bookkeeping.cc.
  void clear();
  int32_t size() const;
  std::pair<int64_t, std::string> FindQubitRegister(int64_t index) const;
  std::pair<int64_t, std::string> FindClbitRegister(int64_t index) const;
  int64_t GetQubitIndex(const std::string& register_name,
                        uint64_t local_index) const;
  int64_t GetRegisterSize(const std::string& register_name) const;

  // Output: qasm() in src/qasm/quantum_circuit_qasm.cc, draw() in
  // src/drawer/quantum_circuit_draw.cc. qasm
  // returns the circuit's OpenQASM 2.0 text, or hands it to `print` in one
  // call and returns "" when formatted; a non-empty filename also receives
  // the text (a file that cannot be written is ignored); encoding is unused.
  std::string qasm(bool formatted = false, const std::string& filename = "",
                   const std::string& encoding = "",
                   const std::function<void(const std::string&)>& print = {}) const;
  // draw hands every row of the text drawing (UTF-16 code units) to `print`,
  // one call per row, and writes it to `filename` as UTF-16LE when that is
  // not empty. Only plot_barriers, fold and filename change the drawing;
  // the drawing style dictionary of the Python call is not passed on.
  void draw(const std::string& output = "text", double scale = 1.0,
            const std::string& filename = "", bool interactive = false,
            bool plot_barriers = true, bool reverse_bits = false,
            const std::string& justify = "left",
            const std::string& vertical_compression = "medium",
            bool idle_wires = true, bool with_layout = true, int32_t fold = 80,
            bool initial_state = false, bool cregbundle = true,
            const std::vector<int64_t>& wire_order = {},
            const std::function<void(const std::u16string&)>& print = {}) const;

  // One-qubit gates with constant matrices: int, list and register forms.
  // Each gate's three forms are one row of TAVIRON_CONSTANT_ONE_QUBIT_GATES
  // in quantum_circuit_one_qubit_constant_gates.cc.
  std::unique_ptr<HGate> h(uint64_t qubit, std::string label = "");
  std::unique_ptr<HGate> h_list(std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<HGate> h_register(const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<XGate> x(uint64_t qubit, std::string label = "");
  std::unique_ptr<XGate> x_list(std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<XGate> x_register(const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<IGate> i(uint64_t qubit, std::string label = "");
  std::unique_ptr<IGate> i_list(std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<IGate> i_register(const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<TGate> t(uint64_t qubit, std::string label = "");
  std::unique_ptr<TGate> t_list(std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<TGate> t_register(const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<SGate> s(uint64_t qubit, std::string label = "");
  std::unique_ptr<SGate> s_list(std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<SGate> s_register(const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<TdgGate> tdg(uint64_t qubit, std::string label = "");
  std::unique_ptr<TdgGate> tdg_list(std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<TdgGate> tdg_register(const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<SdgGate> sdg(uint64_t qubit, std::string label = "");
  std::unique_ptr<SdgGate> sdg_list(std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<SdgGate> sdg_register(const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<SXGate> sx(uint64_t qubit, std::string label = "");
  std::unique_ptr<SXGate> sx_list(std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<SXGate> sx_register(const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<SXdgGate> sxdg(uint64_t qubit, std::string label = "");
  std::unique_ptr<SXdgGate> sxdg_list(std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<SXdgGate> sxdg_register(const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<YGate> y(uint64_t qubit, std::string label = "");
  std::unique_ptr<YGate> y_list(std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<YGate> y_register(const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<ZGate> z(uint64_t qubit, std::string label = "");
  std::unique_ptr<ZGate> z_list(std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<ZGate> z_register(const QuantumRegister& qr, std::string label = "");

  // Measurement, reset and barrier: quantum_circuit_measure_reset_barrier.cc.
  std::unique_ptr<MeasGate> measure(uint64_t qubit, uint64_t classical_bit,
                                    std::string label = "");
  std::unique_ptr<MeasGate> measure_qubit(uint64_t qubit, std::string label = "");
  std::unique_ptr<MeasGate> measure_all(std::string label = "");
  std::unique_ptr<MeasGate> measure_active(std::string label = "");
  // Null when the qubit is out of range.
  std::unique_ptr<ResetGate> reset(uint64_t qubit, std::string label = "");
  std::unique_ptr<ResetGate> reset_list(std::vector<int64_t> qubit_list,
                                        std::string label = "");
  // 0, or BarrierNothingAppended when no record was appended.
  int32_t barrier(std::string label = "");
  int32_t barrier_list(std::vector<int64_t> qubit_list, std::string label = "");
  static constexpr int32_t BarrierNothingAppended = -2147483628;

  // Two-qubit gates; the first qubit (the control) is the matrix's low bit. cx
  // and cu1 are written out in quantum_circuit_two_qubit_gates.cc; every other
  // one is a row of TAVIRON_TWO_QUBIT_GATES there.
  std::unique_ptr<CXGate> cx(uint64_t control_qubit, uint64_t target_qubit, std::string label = "");
  std::unique_ptr<CXGate> cnot(uint64_t control_qubit, uint64_t target_qubit, std::string label = "");
  std::unique_ptr<CYGate> cy(uint64_t control_qubit, uint64_t target_qubit, std::string label = "");
  std::unique_ptr<CZGate> cz(uint64_t control_qubit, uint64_t target_qubit, std::string label = "");
  std::unique_ptr<CHGate> ch(uint64_t control_qubit, uint64_t target_qubit, std::string label = "");
  std::unique_ptr<CSGate> cs(uint64_t control_qubit, uint64_t target_qubit, std::string label = "");
  std::unique_ptr<CSdgGate> csdg(uint64_t control_qubit, uint64_t target_qubit, std::string label = "");
  std::unique_ptr<CSXGate> csx(uint64_t control_qubit, uint64_t target_qubit, std::string label = "");
  std::unique_ptr<CPGate> cp(double theta, uint64_t control_qubit, uint64_t target_qubit, std::string label = "");
  std::unique_ptr<CRXGate> crx(double theta, uint64_t control_qubit, uint64_t target_qubit, std::string label = "");
  std::unique_ptr<CRYGate> cry(double theta, uint64_t control_qubit, uint64_t target_qubit, std::string label = "");
  std::unique_ptr<CRZGate> crz(double theta, uint64_t control_qubit, uint64_t target_qubit, std::string label = "");
  std::unique_ptr<CU1Gate> cu1(double theta, uint64_t control_qubit, uint64_t target_qubit, std::string label = "");
  std::unique_ptr<CUGate> cu(double theta, double phi, double lambda, double gamma, uint64_t control_qubit,
                             uint64_t target_qubit, std::string label = "");
  std::unique_ptr<CU3Gate> cu3(double theta, double phi, double lambda, uint64_t control_qubit,
                               uint64_t target_qubit, std::string label = "");
  std::unique_ptr<DCXGate> dcx(uint64_t qubit1, uint64_t qubit2, std::string label = "");
  std::unique_ptr<ECRGate> ecr(uint64_t qubit1, uint64_t qubit2, std::string label = "");
  std::unique_ptr<ISWAPGate> iswap(uint64_t qubit1, uint64_t qubit2, std::string label = "");
  std::unique_ptr<SWAPGate> swap(uint64_t qubit1, uint64_t qubit2, std::string label = "");
  std::unique_ptr<RXXGate> rxx(double theta, uint64_t qubit1, uint64_t qubit2, std::string label = "");
  std::unique_ptr<RYYGate> ryy(double theta, uint64_t qubit1, uint64_t qubit2, std::string label = "");
  std::unique_ptr<RZXGate> rzx(double theta, uint64_t qubit1, uint64_t qubit2, std::string label = "");
  std::unique_ptr<RZZGate> rzz(double theta, uint64_t qubit1, uint64_t qubit2, std::string label = "");

  // One-qubit gates with computed matrices: the angles come first, then the
  // int, list or register operand. Each gate's three forms are one row of
  // TAVIRON_COMPUTED_ONE_QUBIT_GATES in
  // quantum_circuit_computed_one_qubit_gates.cc. u3 appends the record of u
  // (GateId::kU); u0 is the identity whatever its angle.
  std::unique_ptr<PhaseGate> p(double theta, uint64_t qubit, std::string label = "");
  std::unique_ptr<PhaseGate> p_list(double theta, std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<PhaseGate> p_register(double theta, const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<RGate> r(double theta, double phi, uint64_t qubit, std::string label = "");
  std::unique_ptr<RGate> r_list(double theta, double phi, std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<RGate> r_register(double theta, double phi, const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<RVGate> rv(double vx, double vy, double vz, uint64_t qubit, std::string label = "");
  std::unique_ptr<RVGate> rv_list(double vx, double vy, double vz, std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<RVGate> rv_register(double vx, double vy, double vz, const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<RXGate> rx(double theta, uint64_t qubit, std::string label = "");
  std::unique_ptr<RXGate> rx_list(double theta, std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<RXGate> rx_register(double theta, const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<RYGate> ry(double theta, uint64_t qubit, std::string label = "");
  std::unique_ptr<RYGate> ry_list(double theta, std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<RYGate> ry_register(double theta, const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<RZGate> rz(double phi, uint64_t qubit, std::string label = "");
  std::unique_ptr<RZGate> rz_list(double phi, std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<RZGate> rz_register(double phi, const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<UGate> u(double theta, double phi, double lambda, uint64_t qubit, std::string label = "");
  std::unique_ptr<UGate> u_list(double theta, double phi, double lambda, std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<UGate> u_register(double theta, double phi, double lambda, const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<U0Gate> u0(double gamma, uint64_t qubit, std::string label = "");
  std::unique_ptr<U0Gate> u0_list(double gamma, std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<U0Gate> u0_register(double gamma, const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<U1Gate> u1(double lambda, uint64_t qubit, std::string label = "");
  std::unique_ptr<U1Gate> u1_list(double lambda, std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<U1Gate> u1_register(double lambda, const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<U2Gate> u2(double phi, double lambda, uint64_t qubit, std::string label = "");
  std::unique_ptr<U2Gate> u2_list(double phi, double lambda, std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<U2Gate> u2_register(double phi, double lambda, const QuantumRegister& qr, std::string label = "");
  std::unique_ptr<U3Gate> u3(double theta, double phi, double lambda, uint64_t qubit, std::string label = "");
  std::unique_ptr<U3Gate> u3_list(double theta, double phi, double lambda, std::vector<int64_t> qubits, std::string label = "");
  std::unique_ptr<U3Gate> u3_register(double theta, double phi, double lambda, const QuantumRegister& qr, std::string label = "");

  // Three-qubit composites: one composite record whose body holds the
  // decomposition; the handle holds the composite alone. An empty label
  // gives the composite its default label ("ccx", "ccz", "cswap", "Rccx").
  // quantum_circuit_toffoli_family.cc: ccx, ccz, cswap and rccx by
  // TAVIRON_DEFINE_FIXED_COMPOSITE lines, toffoli and fredkin written out.
  std::unique_ptr<CCXGate> ccx(uint64_t control_qubit1, uint64_t control_qubit2, uint64_t target_qubit,
                               std::string label = "");
  std::unique_ptr<CCXGate> toffoli(uint64_t control_qubit1, uint64_t control_qubit2, uint64_t target_qubit,
                                   std::string label = "");
  std::unique_ptr<CCZGate> ccz(uint64_t control_qubit1, uint64_t control_qubit2, uint64_t target_qubit,
                               std::string label = "");
  std::unique_ptr<CSWAPGate> cswap(uint64_t control_qubit, uint64_t target_qubit1, uint64_t target_qubit2,
                                   std::string label = "");
  // The control first, then the two exchanged qubits, as cswap.
  std::unique_ptr<CSWAPGate> fredkin(uint64_t control_qubit1, uint64_t control_qubit2, uint64_t target_qubit,
                                     std::string label = "");
  std::unique_ptr<RCCXGate> rccx(uint64_t control_qubit1, uint64_t control_qubit2, uint64_t target_qubit,
                                 std::string label = "");
  // A Pauli string: the last letter of pauli_operator acts on the first
  // listed qubit. One composite (default label "Pauli") whose qubit list is
  // qubit_list reversed and whose texts are the upper-case letters
  // (quantum_circuit_pauli_string.cc).
  std::unique_ptr<PAULIGate> pauli(std::vector<int64_t> qubit_list, const std::string& pauli_operator,
                                   std::string label = "");

  // quantum_circuit_depth_width.cc. The largest number of records on any one
  // qubit, every barrier record lining all qubits up to the highest count so
  // far.
  int32_t depth() const;
  // Qubits (quantum and ancilla) plus classical bits.
  int32_t width() const;

  // Fixed decompositions: one composite whose body is the gate's decomposition;
  // the handle holds the composite alone. Default labels "Gms", "rc3x",
  // "c3sqrtx", "c3x", "c4x". ms and rc3x are the same gates as gms and rcccx.
  // quantum_circuit_fixed_decompositions.cc: rcccx, c3sqrtx and c3x by
  // TAVIRON_DEFINE_FIXED_COMPOSITE lines, the others written out.
  std::unique_ptr<GMSGate> gms(double theta, std::vector<uint64_t> qubit_list, std::string label = "");
  std::unique_ptr<GMSGate> ms(double theta, std::vector<uint64_t> qubit_list, std::string label = "");
  std::unique_ptr<RCCCXGate> rcccx(uint64_t control_qubit1, uint64_t control_qubit2, uint64_t control_qubit3,
                                   uint64_t target_qubit, std::string label = "");
  std::unique_ptr<RCCCXGate> rc3x(uint64_t control_qubit1, uint64_t control_qubit2, uint64_t control_qubit3,
                                  uint64_t target_qubit, std::string label = "");
  std::unique_ptr<C3SQRTX> c3sqrtx(uint64_t control_qubit1, uint64_t control_qubit2, uint64_t control_qubit3,
                                   uint64_t target_qubit, std::string label = "");
  std::unique_ptr<MCXGate> c3x(uint64_t control_qubit1, uint64_t control_qubit2, uint64_t control_qubit3,
                               uint64_t target_qubit, std::string label = "");
  std::unique_ptr<MCXGate> c4x(uint64_t control_qubit1, uint64_t control_qubit2, uint64_t control_qubit3,
                               uint64_t control_qubit4, uint64_t target_qubit, std::string label = "");

  // Multi-controlled gates on any number of controls (repeats ignored). The
  // composite's qubits are the sorted controls, then the target; default labels
  // "mcphase", "mcrx", "mcry", "mcrz", "mcx". mcrz is the multi-controlled
  // phase diag(1, e^(i lambda)). mcx with one to four controls is cx, ccx, c3x
  // or c4x. use_basis_gates, ancilla_qubits and mode change nothing.
  // quantum_circuit_multi_controlled_gates.cc: mcrx, mcry and mcrz are rows of
  // TAVIRON_MULTI_CONTROLLED_ROTATIONS, the others written out.
  std::unique_ptr<MCPGate> mcp(double lambda, std::vector<uint64_t> control_qubits, uint64_t target_qubit,
                               std::string label = "");
  std::unique_ptr<MCRXGate> mcrx(double lambda, std::vector<uint64_t> control_qubits, uint64_t target_qubit,
                                 bool use_basis_gates = false, std::string label = "");
  std::unique_ptr<MCRYGate> mcry(double lambda, std::vector<uint64_t> control_qubits, uint64_t target_qubit,
                                 bool use_basis_gates = false, std::string label = "");
  std::unique_ptr<MCRZGate> mcrz(double lambda, std::vector<uint64_t> control_qubits, uint64_t target_qubit,
                                 bool use_basis_gates = false, std::string label = "");
  std::unique_ptr<MCXGate> mcx(std::vector<uint64_t> control_qubits, uint64_t target_qubit,
                               std::vector<uint64_t> ancilla_qubits = {}, std::string mode = "noancilla",
                               std::string label = "");
  std::unique_ptr<MCXGate> mct(std::vector<uint64_t> control_qubits, uint64_t target_qubit,
                               std::vector<uint64_t> ancilla_qubits = {}, std::string mode = "noancilla",
                               std::string label = "");

  // Attach another circuit (which may be this one) as one composite named
  // after it: its records are copied through the qubit map (one entry per
  // qubit of this circuit) and the classical map (one per classical bit).
  // append always puts the composite last and returns 0; compose puts it
  // first when front is set and returns this circuit, or nullptr when
  // inplace is set. Empty compose lists are the identity maps
  // (quantum_circuit_append_compose.cc).
  int32_t append(const QuantumCircuit& qc, std::vector<uint64_t> qubits_vector,
                 std::vector<uint64_t> cbits_vector);
  QuantumCircuit* compose(const QuantumCircuit& other, std::vector<uint64_t> qubits = {},
                          std::vector<uint64_t> clbits = {}, bool front = false, bool inplace = false,
                          bool wrap = false);
  int32_t AttachCircuit(const QuantumCircuit& other, std::vector<uint64_t> qubit_map,
                        std::vector<uint64_t> clbit_map, bool front);

 private:
  // Tests write what no caller may (src/circuit/testing/circuit_internals.h).
  friend class CircuitInternals;

  uint64_t total_qubits_ = 0;
  int32_t shots_ = 0;
  std::vector<int64_t> clbit_slots_;
  std::vector<int64_t> active_qubits_;
  std::vector<std::shared_ptr<QuantumRegister>> quantum_registers_;
  std::vector<std::shared_ptr<AncillaRegister>> ancilla_registers_;
  std::vector<std::shared_ptr<ClassicalRegister>> classical_registers_;
  uint64_t num_qubits_ = 0;
  uint64_t num_ancillas_ = 0;
  uint64_t num_clbits_ = 0;
  std::string header_ = "OPENQASM 2.0;";
  int32_t instances_ = 153;
  double global_phase_ = 0.0;
  std::string prefix_ = "circuit";
  GateRecordList gates_;
  // The composites of gates_ by label, for attaching circuits (see
  // AttachCircuit); clear and front insertions reset it.
  CompositeNameIndex composite_index_;
  std::string name_;
  bool quiet_ = true;
  std::shared_ptr<const ConditionTargets> condition_targets_;
};

}  // namespace taviron

#endif
