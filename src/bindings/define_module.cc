#include "bindings/module_registrations.h"

#include "bindings/circuit/register_quantum_circuit.h"

namespace taviron::python {

namespace py = pybind11;

void DefineModule(py::module_& m) {
  RegisterJobMonitorAndStatus(m);
  RegisterRegisters(m);
  RegisterJob(m);
  RegisterResult(m);
  RegisterBackend(m);
  RegisterProvider(m);
  RegisterQasmReader(m);
  RegisterGateClasses(m);
  RegisterQuantumCircuit(m);
  m.attr("__version__") = py::str("0.2.1");
  m.attr("__credits__") = py::str("Built on pybind11 and Eigen.");
  m.attr("__author__") = py::str("The TavironLib developers");
}

}  // namespace taviron::python
