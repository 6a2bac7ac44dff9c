#include "bindings/circuit/default_values.h"

#include <cstring>

namespace py = pybind11;

DefaultValues::DefaultValues()
    : table_{
          {"label", py::str("")},
          {"name", py::str("")},
          {"global_phase", py::float_(0.0)},
          {"metadata", py::dict()},
          {"use_basis_gates", py::bool_(false)},
          {"ancilla_qubits", py::list()},
          {"mode", py::str("noancilla")},
          {"qubits", py::list()},
          {"clbits", py::list()},
          {"front", py::bool_(false)},
          {"inplace", py::bool_(false)},
          {"wrap", py::bool_(false)},
      } {}

py::object DefaultValues::Find(const char* name) const {
  for (const auto& entry : table_) {
    if (std::strcmp(entry.first, name) == 0) return entry.second;
  }
  return py::object();
}
