// qasm2: the OpenQASM 2.0 reader. Each load/loads call returns a new
// circuit, which its Python object holds from then on.

#include <memory>

#include <pybind11/pybind11.h>

#include "bindings/held_object.h"
#include "bindings/module_registrations.h"
#include "bindings/named_before_registration.h"
#include "qasm/qasm_reader.h"

namespace taviron::python {

namespace py = pybind11;

void RegisterQasmReader(py::module_& m) {
  py::class_<qasm2>(m, "qasm2")
      .def(py::init<>())
      .def("load", MethodNamingResultBeforeRegistration(&qasm2::load), "Loads a QASM2 file", py::arg("filename"),
           py::arg("include_path") = "", py::arg("include_input_directory") = "append",
           py::arg("strict") = false)
      .def("loads", MethodNamingResultBeforeRegistration(&qasm2::loads),
           "Loads QASM2 instructions form a character string", py::arg("qasm2string"),
           py::arg("include_path") = "", py::arg("include_input_directory") = "append",
           py::arg("strict") = false);
}

}  // namespace taviron::python
