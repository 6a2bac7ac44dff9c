#include "bindings/circuit/constructors_and_properties.h"

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "bindings/held_object.h"

namespace taviron::python {

namespace py = pybind11;

namespace {

// One positional argument of the register constructor: the register object
// itself (never a copy, so that the circuit can write its first index and
// name back), or std::monostate for anything else, which the constructor
// refuses. A register instance that holds no register counts as anything
// else.
template <typename Register>
bool AsRegister(py::handle item, RegisterArgument& argument) {
  if (!HoldsNativeObject<Register>(item)) return false;
  argument = item.cast<Register*>();
  return true;
}

RegisterArgument AsRegisterArgument(py::handle item) {
  RegisterArgument argument = std::monostate();
  if (AsRegister<QuantumRegister>(item, argument)) return argument;
  if (AsRegister<AncillaRegister>(item, argument)) return argument;
  AsRegister<ClassicalRegister>(item, argument);
  return argument;
}

// A read-only property: its getter takes only the circuit, and only from an
// instance that holds one, and returns a copy of what the accessor reads.
template <typename Read>
void BindProperty(QuantumCircuitClass& cls, const char* name,
                  Read (QuantumCircuit::*accessor)() const) {
  using Value = std::remove_cv_t<std::remove_reference_t<Read>>;
  cls.def_property_readonly(
      name, py::cpp_function(
                [accessor](Held<QuantumCircuit> self) -> Value {
                  return (self.object->*accessor)();
                },
                py::is_method(cls)));
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

  BindProperty(cls, "num_qubits", &QuantumCircuit::num_qubits);
  BindProperty(cls, "num_ancillas", &QuantumCircuit::num_ancillas);
  BindProperty(cls, "num_clbits", &QuantumCircuit::num_clbits);
  BindProperty(cls, "header", &QuantumCircuit::header);
  BindProperty(cls, "instances", &QuantumCircuit::instances);
  BindProperty(cls, "global_phase", &QuantumCircuit::global_phase);
  BindProperty(cls, "prefix", &QuantumCircuit::prefix);
}

}  // namespace taviron::python
