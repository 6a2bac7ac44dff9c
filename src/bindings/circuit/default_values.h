#ifndef TAVIRON_BINDINGS_CIRCUIT_DEFAULT_VALUES_H
#define TAVIRON_BINDINGS_CIRCUIT_DEFAULT_VALUES_H

#include <utility>
#include <vector>

#include <pybind11/pybind11.h>

// The defaults of QuantumCircuit's constructors and methods, keyed by
// parameter name: a parameter of a given name has the same default wherever
// it appears (label is always '', ancilla_qubits always [] ...). Each default
// is one Python object, made once when the module is defined; every overload
// that names the parameter keeps that very object, and every call that leaves
// the argument out receives it.
class DefaultValues {
 public:
  DefaultValues();

  // The default of the parameter `name`, or a null object when a parameter
  // of that name is required.
  pybind11::object Find(const char* name) const;

 private:
  std::vector<std::pair<const char*, pybind11::object>> table_;
};

#endif
