// One row per gate method; the qubit and parameter counts of each row come
// from the method's own signature, so they cannot drift from it.

#include "circuit/append_gate.h"

#include <string>
#include <type_traits>
#include <utility>

#include "circuit/quantum_circuit.h"
#include "foundation/gate_name_table.h"

namespace taviron {

namespace {

using Qubits = std::vector<uint64_t>;
using Parameters = std::vector<double>;

// Whether the arguments are the gate's doubles first, then its qubits, then
// one label: the shape of every gate method called here.
template <class... Arguments>
constexpr bool IsGateMethodShape() {
  constexpr size_t count = sizeof...(Arguments);
  constexpr bool is_double[] = {std::is_same_v<Arguments, double>..., false};
  constexpr bool is_qubit[] = {std::is_same_v<Arguments, uint64_t>..., false};
  constexpr bool is_label[] = {std::is_same_v<Arguments, std::string>..., false};
  size_t k = 0;
  while (k < count && is_double[k]) ++k;
  while (k < count && is_qubit[k]) ++k;
  return k + 1 == count && is_label[k];
}

template <class Method>
struct MethodShape;

template <class Handle, class... Arguments>
struct MethodShape<std::unique_ptr<Handle> (QuantumCircuit::*)(Arguments...)> {
  static_assert(std::is_base_of_v<Gate, Handle>, "a gate method returns a gate handle");
  static_assert(IsGateMethodShape<Arguments...>(),
                "a gate method takes its doubles, then its qubits, then a label");
  static constexpr size_t kParameters = (size_t{0} + ... + std::is_same_v<Arguments, double>);
  static constexpr size_t kQubits = (size_t{0} + ... + std::is_same_v<Arguments, uint64_t>);
};

template <auto Method, size_t... P, size_t... Q>
std::unique_ptr<Gate> CallWith(QuantumCircuit& circuit, const Qubits& qubits,
                               const Parameters& parameters, std::index_sequence<P...>,
                               std::index_sequence<Q...>) {
  return (circuit.*Method)(parameters[P]..., qubits[Q]..., std::string());
}

template <auto Method>
std::unique_ptr<Gate> Call(QuantumCircuit& circuit, const Qubits& qubits,
                           const Parameters& parameters) {
  using Shape = MethodShape<decltype(Method)>;
  return CallWith<Method>(circuit, qubits, parameters,
                          std::make_index_sequence<Shape::kParameters>(),
                          std::make_index_sequence<Shape::kQubits>());
}

struct MethodRow {
  GateId gate;              // kComposite for a composite
  CompositeKind composite;  // kNone for any other gate
  GateArity arity;
  std::unique_ptr<Gate> (*call)(QuantumCircuit&, const Qubits&, const Parameters&);
};

template <auto Method>
constexpr MethodRow Row(GateId gate) {
  using Shape = MethodShape<decltype(Method)>;
  return {gate, CompositeKind::kNone, {Shape::kQubits, Shape::kParameters}, &Call<Method>};
}

template <auto Method>
constexpr MethodRow Row(CompositeKind composite) {
  MethodRow row = Row<Method>(GateId::kComposite);
  row.composite = composite;
  return row;
}

using QC = QuantumCircuit;

constexpr MethodRow kMethodRows[] = {
    Row<&QC::h>(GateId::kH),
    Row<&QC::x>(GateId::kX),
    Row<&QC::i>(GateId::kI),
    Row<&QC::t>(GateId::kT),
    Row<&QC::s>(GateId::kS),
    Row<&QC::tdg>(GateId::kTdg),
    Row<&QC::sdg>(GateId::kSdg),
    Row<&QC::sx>(GateId::kSX),
    Row<&QC::sxdg>(GateId::kSXdg),
    Row<&QC::y>(GateId::kY),
    Row<&QC::z>(GateId::kZ),
    Row<&QC::reset>(GateId::kReset),
    Row<&QC::p>(GateId::kP),
    Row<&QC::r>(GateId::kR),
    Row<&QC::rv>(GateId::kRV),
    Row<&QC::rx>(GateId::kRX),
    Row<&QC::ry>(GateId::kRY),
    Row<&QC::rz>(GateId::kRZ),
    Row<&QC::u>(GateId::kU),
    Row<&QC::u0>(GateId::kU0),
    Row<&QC::u1>(GateId::kU1),
    Row<&QC::u2>(GateId::kU2),
    Row<&QC::cx>(GateId::kCX),
    Row<&QC::cy>(GateId::kCY),
    Row<&QC::cz>(GateId::kCZ),
    Row<&QC::ch>(GateId::kCH),
    Row<&QC::cs>(GateId::kCS),
    Row<&QC::csdg>(GateId::kCSdg),
    Row<&QC::csx>(GateId::kCSX),
    Row<&QC::cp>(GateId::kCP),
    Row<&QC::crx>(GateId::kCRX),
    Row<&QC::cry>(GateId::kCRY),
    Row<&QC::crz>(GateId::kCRZ),
    Row<&QC::cu1>(GateId::kCU1),
    Row<&QC::cu>(GateId::kCU),
    Row<&QC::cu3>(GateId::kCU3),
    Row<&QC::dcx>(GateId::kDCX),
    Row<&QC::ecr>(GateId::kECR),
    Row<&QC::iswap>(GateId::kISwap),
    Row<&QC::swap>(GateId::kSwap),
    Row<&QC::rxx>(GateId::kRXX),
    Row<&QC::ryy>(GateId::kRYY),
    Row<&QC::rzx>(GateId::kRZX),
    Row<&QC::rzz>(GateId::kRZZ),
    Row<&QC::ccx>(CompositeKind::kCcx),
    Row<&QC::ccz>(CompositeKind::kCcz),
    Row<&QC::cswap>(CompositeKind::kCswap),
    Row<&QC::rccx>(CompositeKind::kRccx),
    Row<&QC::rcccx>(CompositeKind::kRc3x),
    Row<&QC::c3sqrtx>(CompositeKind::kC3sqrtx),
    Row<&QC::c3x>(CompositeKind::kC3x),
    Row<&QC::c4x>(CompositeKind::kC4x),
};

// Each method takes the qubits and parameters that the catalogue gives a
// record of its gate.
constexpr bool MethodRowsMatchTheCatalogue() {
  for (const MethodRow& row : kMethodRows) {
    if (row.gate == GateId::kComposite) continue;
    if (!InGateCatalogue(row.gate)) return false;
    const GateDescriptor& entry = GateDescriptorOf(row.gate);
    if (entry.qubits != row.arity.qubits || entry.parameters != row.arity.parameters) return false;
  }
  return true;
}
static_assert(MethodRowsMatchTheCatalogue(),
              "a gate method's qubits and parameters are those of its catalogue entry");

const MethodRow* FindRow(GateId gate, CompositeKind composite) {
  for (const MethodRow& row : kMethodRows) {
    if (row.gate == gate && row.composite == composite) return &row;
  }
  return nullptr;
}

std::optional<GateArity> ArityOf(const MethodRow* row) {
  if (row == nullptr) return std::nullopt;
  return row->arity;
}

std::unique_ptr<Gate> CallRow(const MethodRow* row, QuantumCircuit& circuit,
                              const Qubits& qubits, const Parameters& parameters) {
  if (row == nullptr || qubits.size() != row->arity.qubits ||
      parameters.size() != row->arity.parameters) {
    return nullptr;
  }
  return row->call(circuit, qubits, parameters);
}

}  // namespace

std::optional<GateArity> AppendGateArity(GateId gate) {
  return ArityOf(FindRow(gate, CompositeKind::kNone));
}

std::optional<GateArity> AppendGateArity(CompositeKind composite) {
  if (composite == CompositeKind::kNone) return std::nullopt;
  return ArityOf(FindRow(GateId::kComposite, composite));
}

std::unique_ptr<Gate> AppendGate(QuantumCircuit& circuit, GateId gate, const Qubits& qubits,
                                 const Parameters& parameters) {
  return CallRow(FindRow(gate, CompositeKind::kNone), circuit, qubits, parameters);
}

std::unique_ptr<Gate> AppendGate(QuantumCircuit& circuit, CompositeKind composite,
                                 const Qubits& qubits, const Parameters& parameters) {
  if (composite == CompositeKind::kNone) return nullptr;
  return CallRow(FindRow(GateId::kComposite, composite), circuit, qubits, parameters);
}

}  // namespace taviron
