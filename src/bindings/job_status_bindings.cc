// job_monitor and the JobStatus enumeration, the first two entries of the
// module's namespace.

#include <pybind11/pybind11.h>

#include "bindings/interpreter_access.h"
#include "bindings/module_registrations.h"
#include "bindings/python_output.h"
#include "execution/job.h"
#include "execution/job_monitor.h"
#include "execution/job_status.h"

namespace py = pybind11;

void RegisterJobMonitorAndStatus(py::module_& m) {
  // Registered before JobV1, so its signature names the job type bare.
  m.def(
      "job_monitor",
      [](JobV1* job, int32_t interval, bool quiet) {
        if (job == nullptr) {
          throw py::type_error("job_monitor(): the job must be a JobV1, not None");
        }
        // The monitor sleeps and polls without the interpreter lock; each
        // status line and each check for Ctrl-C takes it back briefly.
        InterpreterReleased released;
        job_monitor(*job, interval, quiet, PythonPrintSink(), PollPythonSignals);
      },
      "Installs a monitor for the submitted job", py::arg("job"), py::arg("interval") = 0,
      py::arg("quiet") = false);

  py::enum_<JobStatus>(m, "JobStatus")
      .value("INITIALIZING", JobStatus::INITIALIZING)
      .value("QUEUED", JobStatus::QUEUED)
      .value("VALIDATING", JobStatus::VALIDATING)
      .value("RUNNING", JobStatus::RUNNING)
      .value("CANCELLED", JobStatus::CANCELLED)
      .value("DONE", JobStatus::DONE)
      .value("ERROR", JobStatus::ERROR)
      .export_values();
}
