#ifndef TAVIRON_BINDINGS_MODULE_REGISTRATIONS_H
#define TAVIRON_BINDINGS_MODULE_REGISTRATIONS_H

#include <pybind11/pybind11.h>

namespace taviron::python {

// One registration per block of the module's namespace; DefineModule calls
// them in the module's fixed order. Each registers its classes with all
// their members before it returns.

// The module function job_monitor, then the enumeration JobStatus with its
// values exported as module attributes.
void RegisterJobMonitorAndStatus(pybind11::module_& m);
// QuantumRegister, AncillaRegister, ClassicalRegister.
void RegisterRegisters(pybind11::module_& m);
void RegisterJob(pybind11::module_& m);
void RegisterResult(pybind11::module_& m);
void RegisterBackend(pybind11::module_& m);
void RegisterProvider(pybind11::module_& m);
// The OpenQASM 2.0 reader class qasm2 (registered with the reader itself).
void RegisterQasmReader(pybind11::module_& m);
// Gate and its 60 handle classes.
void RegisterGateClasses(pybind11::module_& m);

// Registers the whole namespace of the module, in order.
void DefineModule(pybind11::module_& m);

}  // namespace taviron::python

#endif
