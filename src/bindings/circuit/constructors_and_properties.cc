#include "bindings/circuit/constructors_and_properties.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace py = pybind11;

namespace {

// One positional argument of the register constructor: the register object
// itself (never a copy, so that the circuit can write its first index and
// name back), or std::monostate for anything else, which the constructor
// refuses.
RegisterArgument AsRegisterArgument(py::handle item) {
  if (py::isinstance<QuantumRegister>(item)) return item.cast<QuantumRegister*>();
  if (py::isinstance<AncillaRegister>(item)) return item.cast<AncillaRegister*>();
  if (py::isinstance<ClassicalRegister>(item)) return item.cast<ClassicalRegister*>();
  return std::monostate();
}

// `metadata` is accepted and has no effect.
std::shared_ptr<QuantumCircuit> FromCounts(uint64_t num_qubits, uint64_t num_cbits,
                                           std::string name, double global_phase,
                                           const py::dict& /*metadata*/) {
  return std::make_shared<QuantumCircuit>(num_qubits, num_cbits, std::move(name),
                                          global_phase);
}

std::shared_ptr<QuantumCircuit> FromQubitCount(uint64_t num_qubits, std::string name,
                                               double global_phase,
                                               const py::dict& /*metadata*/) {
  return std::make_shared<QuantumCircuit>(num_qubits, std::move(name), global_phase);
}

std::shared_ptr<QuantumCircuit> FromRegisters(py::args args, std::string name,
                                              double global_phase,
                                              const py::dict& /*metadata*/) {
  std::vector<RegisterArgument> registers;
  registers.reserve(args.size());
  for (py::handle item : args) registers.push_back(AsRegisterArgument(item));
  return std::make_shared<QuantumCircuit>(registers, std::move(name), global_phase);
}

}  // namespace

void BindConstructorsAndProperties(QuantumCircuitClass& cls, const DefaultValues& defaults) {
  const auto p = [&defaults](const char* name) { return Param(defaults, name); };
  cls.def(py::init(&FromCounts), p("num_qubits"), p("num_cbits"), p("name"),
          p("global_phase"), p("metadata"));
  cls.def(py::init(&FromQubitCount), p("num_qubits"), p("name"), p("global_phase"),
          p("metadata"));
  // Every positional argument goes into args; the rest are keyword-only.
  cls.def(py::init(&FromRegisters), p("name"), p("global_phase"), p("metadata"));

  cls.def_readonly("num_qubits", &QuantumCircuit::num_qubits);
  cls.def_readonly("num_ancillas", &QuantumCircuit::num_ancillas);
  cls.def_readonly("num_clbits", &QuantumCircuit::num_clbits);
  cls.def_readonly("header", &QuantumCircuit::header);
  cls.def_readonly("instances", &QuantumCircuit::instances);
  cls.def_readonly("global_phase", &QuantumCircuit::global_phase);
  cls.def_readonly("prefix", &QuantumCircuit::prefix);
}
