#ifndef TAVIRON_BINDINGS_CIRCUIT_DEFAULT_VALUES_H
#define TAVIRON_BINDINGS_CIRCUIT_DEFAULT_VALUES_H

#include <vector>

#include <pybind11/pybind11.h>

namespace taviron::python {

// The defaults of QuantumCircuit's constructors and methods, keyed by
// parameter name: a parameter of a given name has the same default value
// wherever it appears (label is always '', ancilla_qubits always [] ...).
// Each default is a Python object made once, when the module is defined, and
// kept by the overload that names it; every call that leaves the argument
// out receives that very object. A text, number or flag default is one
// immutable object shared by every overload; an empty dict or list default
// is mutable, so each overload that names it gets a new one of its own
// (metadata of each constructor, ancilla_qubits of mct and of mcx, ...).
class DefaultValues {
 public:
  DefaultValues();

  // The default of the parameter `name` for one new overload, or a null
  // object when a parameter of that name is required.
  pybind11::object Find(const char* name) const;

 private:
  struct Entry {
    const char* name;
    // The shared immutable default; null for a mutable one.
    pybind11::object shared;
    // Makes a new mutable default; null for an immutable one.
    pybind11::object (*make)();
  };

  std::vector<Entry> table_;
};

}  // namespace taviron::python

#endif
