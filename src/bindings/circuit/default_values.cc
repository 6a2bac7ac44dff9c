#include "bindings/circuit/default_values.h"

#include <cstring>

namespace taviron::python {

namespace py = pybind11;

namespace {

py::object NewDict() { return py::dict(); }
py::object NewList() { return py::list(); }

}  // namespace

DefaultValues::DefaultValues()
    : table_{
          {"label", py::str(""), nullptr},
          {"name", py::str(""), nullptr},
          {"global_phase", py::float_(0.0), nullptr},
          {"metadata", py::object(), &NewDict},
          {"use_basis_gates", py::bool_(false), nullptr},
          {"ancilla_qubits", py::object(), &NewList},
          {"mode", py::str("noancilla"), nullptr},
          {"qubits", py::object(), &NewList},
          {"clbits", py::object(), &NewList},
          {"front", py::bool_(false), nullptr},
          {"inplace", py::bool_(false), nullptr},
          {"wrap", py::bool_(false), nullptr},
          {"formatted", py::bool_(false), nullptr},
          {"filename", py::str(""), nullptr},
          {"encoding", py::str(""), nullptr},
          {"output", py::str("text"), nullptr},
          {"scale", py::float_(1.0), nullptr},
          {"style", py::object(), &NewDict},
          {"interactive", py::bool_(false), nullptr},
          {"plot_barriers", py::bool_(true), nullptr},
          {"reverse_bits", py::bool_(false), nullptr},
          {"justify", py::str("left"), nullptr},
          {"vertical_compression", py::str("medium"), nullptr},
          {"idle_wires", py::bool_(true), nullptr},
          {"with_layout", py::bool_(true), nullptr},
          {"fold", py::int_(80), nullptr},
          {"initial_state", py::bool_(false), nullptr},
          {"cregbundle", py::bool_(true), nullptr},
          {"wire_order", py::object(), &NewList},
      } {}

py::object DefaultValues::Find(const char* name) const {
  for (const Entry& entry : table_) {
    if (std::strcmp(entry.name, name) == 0) return entry.make ? entry.make() : entry.shared;
  }
  return py::object();
}

}  // namespace taviron::python
