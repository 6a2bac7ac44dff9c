// job_monitor and the JobStatus enumeration, the first two entries of the
// module's namespace.

#include <pybind11/pybind11.h>

#include "bindings/held_object.h"
#include "bindings/interpreter_access.h"
#include "bindings/module_registrations.h"
#include "bindings/named_before_registration.h"
#include "bindings/python_output.h"
#include "execution/job.h"
#include "execution/job_monitor.h"
#include "execution/job_status.h"

namespace taviron::python {

namespace py = pybind11;

void RegisterJobMonitorAndStatus(py::module_& m) {
  // Registered before JobV1, so its signature names the job type bare.
  m.def(
      "job_monitor",
      // None, like any object that is no usable JobV1, matches no signature.
      [](NamedBeforeRegistration<Held<JobV1>> named_job, int32_t interval, bool quiet) {
        const Held<JobV1> job = named_job.value;
        // The monitor sleeps and polls without the interpreter lock; each
        // status line and each check for Ctrl-C takes it back briefly.
        InterpreterReleased released;
        job_monitor(*job, interval, quiet, PythonPrintSink(), PollPythonSignals);
      },
      "Installs a monitor for the submitted job", py::arg("job"), py::arg("interval") = 0,
      py::arg("quiet") = false);

  py::enum_<JobStatus> status(m, "JobStatus");
  status.value("INITIALIZING", JobStatus::INITIALIZING)
      .value("QUEUED", JobStatus::QUEUED)
      .value("VALIDATING", JobStatus::VALIDATING)
      .value("RUNNING", JobStatus::RUNNING)
      .value("CANCELLED", JobStatus::CANCELLED)
      .value("DONE", JobStatus::DONE)
      .value("ERROR", JobStatus::ERROR)
      .export_values();

  // An object made by __new__ alone holds no value until __init__ or
  // __setstate__ gives it one. The enumeration's own readers would read
  // storage that was never written; these, under the same names and
  // signatures, raise TypeError instead. name, str, repr, the comparisons
  // and the hash all read the value through __int__.
  const auto read_value = [](Held<JobStatus> value) { return static_cast<int32_t>(*value); };
  status.def_property_readonly("value", py::cpp_function(read_value));
  status.attr("__int__") =
      py::cpp_function(read_value, py::name("__int__"), py::is_method(status));
  status.attr("__index__") =
      py::cpp_function(read_value, py::name("__index__"), py::is_method(status));
}

}  // namespace taviron::python
