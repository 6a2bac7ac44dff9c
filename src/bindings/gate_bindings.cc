// Gate and its 60 handle classes. Gate has no constructor of its own; each
// subclass adds only a constructor without arguments.

#include <cstdint>
#include <cstring>
#include <memory>

#include <pybind11/pybind11.h>

#include "bindings/held_object.h"
#include "bindings/module_registrations.h"
#include "circuit/registers.h"
#include "foundation/gate.h"

namespace taviron::python {

namespace py = pybind11;

namespace {

// The Python name of a handle class: its native name, except RVGate.
const char* PythonGateClassName(const char* native_name) {
  return std::strcmp(native_name, "RVGate") == 0 ? "RvGate" : native_name;
}

template <typename Handle>
void RegisterGateClass(py::module_& m, const char* native_name) {
  py::class_<Handle, Gate>(m, PythonGateClassName(native_name)).def(py::init<>());
}

}  // namespace

void RegisterGateClasses(py::module_& m) {
  py::class_<Gate>(m, "Gate")
      .def(
          "c_if",
          [](Held<Gate> gate, std::shared_ptr<ClassicalRegister> cr, uint64_t val) {
            // None converts to a missing register; like a parameter taken by
            // reference, it does not match this form.
            if (!cr) {
              throw py::reference_cast_error();
            }
            gate->c_if(std::move(cr), val);
          },
          "Implments the IF test", py::arg("cr"), py::arg("val"))
      .def("c_if", MethodOnObject(&Gate::c_if_clbit),
           "Implments the IF test", py::arg("clbit"), py::arg("val"));

#define TAVIRON_REGISTER_GATE_CLASS(Name) RegisterGateClass<Name>(m, #Name);
  TAVIRON_GATE_HANDLE_CLASSES(TAVIRON_REGISTER_GATE_CLASS)
#undef TAVIRON_REGISTER_GATE_CLASS
}

}  // namespace taviron::python
