#include "bindings/module_registrations.h"

// The qasm2 class keeps its place in the module's order here; it is bound
// together with the OpenQASM 2.0 reader.
void RegisterQasmReader(pybind11::module_& /*m*/) {}
