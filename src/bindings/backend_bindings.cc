// BackendV2: the simulator backend with its queue and worker thread.

#include <memory>
#include <string>

#include <pybind11/pybind11.h>

#include "bindings/exit_hook.h"
#include "bindings/held_object.h"
#include "bindings/interpreter_access.h"
#include "bindings/module_registrations.h"
#include "bindings/named_before_registration.h"
#include "bindings/python_hold.h"
#include "bindings/python_output.h"
#include "circuit/quantum_circuit.h"
#include "execution/backend.h"
#include "execution/job.h"
#include "execution/run_arguments.h"

namespace taviron::python {

namespace py = pybind11;

namespace {

// None converts to a missing circuit, which no run path can use: refused
// before anything is written or queued.
void RequireCircuit(const std::shared_ptr<QuantumCircuit>& circuit) {
  if (!circuit) {
    throw py::type_error("BackendV2.run(): the circuit must be a QuantumCircuit, not None");
  }
}

// A UserWarning from the line that called run; raises when the program
// has turned warnings into errors.
void Warn(const std::string& text) {
  if (PyErr_WarnEx(PyExc_UserWarning, text.c_str(), 1) != 0) throw py::error_already_set();
}

// Other toolkits' options are accepted and ignored, and every mode but
// "sync" queues the run; each is named in a warning, so that a misspelt
// keyword or mode does not pass unseen.
void WarnOfIgnoredArguments(const py::kwargs& kwargs, const RunOptions& options) {
  for (const auto& item : kwargs) {
    const std::string keyword = py::str(item.first);
    if (keyword != "shots" && keyword != "mode" && keyword != "quiet") {
      Warn("BackendV2.run() ignores the keyword argument '" + keyword +
           "'; it reads only shots, mode and quiet");
    }
  }
  if (options.mode && !IsNamedRunMode(*options.mode)) {
    // Shown as Python shows it: a mode given as bytes need not be UTF-8.
    const std::string shown = py::repr(kwargs["mode"]);
    Warn("BackendV2.run() mode " + shown +
         " is neither 'sync' nor 'async'; the job is queued as with 'async'");
  }
}

// The keywords shots, mode and quiet, read in that order, each only when
// given; other keywords are ignored. A keyword that fails to convert
// (RuntimeError from the binding library's cast) refuses the call before
// anything is written into the circuit.
RunOptions ReadRunOptions(const py::kwargs& kwargs) {
  RunOptions options;
  if (kwargs.contains("shots")) {
    options.shots = kwargs["shots"].cast<int32_t>();
  }
  if (kwargs.contains("mode")) {
    options.mode = kwargs["mode"].cast<std::string>();
  }
  if (kwargs.contains("quiet")) {
    options.quiet = kwargs["quiet"].cast<bool>();
  }
  return options;
}

}  // namespace

void RegisterBackend(py::module_& m) {
  py::class_<BackendV2, PythonHold<BackendV2>> cls(m, "BackendV2");
  cls.def(py::init([] {
    return PythonHold<BackendV2>(TrackBackend(std::make_shared<BackendV2>()));
  }));
  DefReadOnlyField(cls, "version", &BackendV2::version);
  DefReadOnlyField(cls, "dt", &BackendV2::dt);
  DefReadOnlyField(cls, "dtm", &BackendV2::dtm);
  DefReadOnlyField(cls, "max_circuits", &BackendV2::max_circuits);
  DefReadOnlyField(cls, "num_qubits", &BackendV2::num_qubits);
  DefReadOnlyField(cls, "name", &BackendV2::name);
  DefReadOnlyField(cls, "description", &BackendV2::description);
  DefReadOnlyField(cls, "online_date", &BackendV2::online_date);
  DefReadOnlyField(cls, "backend_version", &BackendV2::backend_version);
  // The keyword form first: it is tried first.
  cls.def(
      "run",
      [](Held<BackendV2> backend,
         NamedBeforeRegistration<std::shared_ptr<QuantumCircuit>> named_circuit,
         const py::kwargs& kwargs) {
        const std::shared_ptr<QuantumCircuit>& circuit = named_circuit.value;
        RequireCircuit(circuit);
        const RunOptions options = ReadRunOptions(kwargs);
        WarnOfIgnoredArguments(kwargs, options);
        // A synchronous run simulates without the interpreter lock, as the
        // worker does; its lines take the lock back to print.
        return PythonHold<JobV1>(
            backend->run(circuit, options, PythonPrintSink(), &RunOutsideInterpreter));
      },
      "Executes the quantum circuit using the backend");
  cls.def(
      "run",
      [](Held<BackendV2> backend,
         NamedBeforeRegistration<std::shared_ptr<QuantumCircuit>> named_circuit, int32_t shots) {
        const std::shared_ptr<QuantumCircuit>& circuit = named_circuit.value;
        RequireCircuit(circuit);
        return PythonHold<JobV1>(backend->run_shots(circuit, shots, PythonPrintSink()));
      },
      "Executes the quantum circuit using the backend");
}

}  // namespace taviron::python
