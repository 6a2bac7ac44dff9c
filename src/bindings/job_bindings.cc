// JobV1: a handle on one run, constructed from Python or returned by
// BackendV2.run. Its members take no named parameters.

#include <memory>
#include <string>

#include <pybind11/pybind11.h>

#include "bindings/interpreter_access.h"
#include "bindings/held_object.h"
#include "bindings/module_registrations.h"
#include "bindings/named_before_registration.h"
#include "bindings/python_hold.h"
#include "bindings/python_job_callback.h"
#include "execution/backend.h"
#include "execution/job.h"
#include "execution/result.h"

namespace taviron::python {

namespace py = pybind11;

void RegisterJob(py::module_& m) {
  py::class_<JobV1, PythonHold<JobV1>> cls(m, "JobV1");
  cls.def(py::init([](const std::string& job_id) {
    return PythonHold<JobV1>(std::make_shared<JobV1>(job_id));
  }));
  DefReadOnlyField(cls, "version", &JobV1::version);
  DefReadOnlyField(cls, "_async", &JobV1::_async);
  cls.def("job_id", MethodOnObject(&JobV1::job_id), "Gets the current Job Id")
      .def("done", MethodOnObject(&JobV1::done), "Checks whether the job is done or not")
      .def("running", MethodOnObject(&JobV1::running), "Checks whether the job is running or not")
      .def("cancelled", MethodOnObject(&JobV1::cancelled),
           "Checks whether the job is cancelled or not")
      .def("in_final_state", MethodOnObject(&JobV1::in_final_state),
           "Checks whether the job is in its final state of execution")
      .def(
          "wait_for_final_state",
          [](Held<JobV1> job, double timeout, double pause, py::function callback) {
            auto stored = std::make_shared<PythonJobCallback>(std::move(callback));
            // The wait polls without the interpreter lock, so that the worker
            // can print and release Python objects meanwhile; the callback
            // takes the lock back for each call, and the pause for each check
            // for Ctrl-C.
            InterpreterReleased released;
            job->wait_for_final_state(timeout, pause, std::move(stored), PollPythonSignals);
          },
          "Waits for the job's final state")
      .def("submit", MethodOnObject(&JobV1::submit), "Submit a new task for execution")
      .def(
          "result", [](Held<JobV1> job) { return NameBeforeRegistration(job->result()); },
          "Fetches the result of the experiment")
      .def("cancel", MethodOnObject(&JobV1::cancel), "Cancels the Job Id")
      .def("status", MethodOnObject(&JobV1::status), "Status of the Job")
      .def(
          "backend",
          [](Held<JobV1> job) {
            return NameBeforeRegistration(PythonHold<BackendV2>(job->backend()));
          },
          "Fetches the backend object");
}

}  // namespace taviron::python
