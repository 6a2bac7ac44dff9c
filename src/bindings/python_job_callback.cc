#include "bindings/python_job_callback.h"

#include <memory>

#include "bindings/interpreter_access.h"
#include "bindings/python_hold.h"

namespace py = pybind11;

PythonJobCallback::PythonJobCallback(py::function callable)
    : callable_(callable.release().ptr()) {}

PythonJobCallback::~PythonJobCallback() { ReleasePythonReference(callable_); }

void PythonJobCallback::Call(const std::string& job_id, JobStatus status, JobV1& job) {
  RunWithInterpreter([&] {
    if (PyErr_CheckSignals() != 0) {
      throw py::error_already_set();
    }
    py::object job_object = py::cast(PythonHold<JobV1>(job.shared_from_this()));
    const py::handle callable(callable_);
    callable(job_id, status, job_object);
  });
}
