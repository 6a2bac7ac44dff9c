#include "bindings/python_job_callback.h"

#include <memory>

#include "bindings/interpreter_access.h"
#include "bindings/python_hold.h"

namespace taviron::python {

namespace py = pybind11;

PythonJobCallback::PythonJobCallback(py::function callable)
    : callable_(callable.release().ptr()) {}

PythonJobCallback::~PythonJobCallback() { ReleasePythonReference(callable_); }

void PythonJobCallback::Call(const std::string& job_id, JobStatus status, JobV1& job) {
  RunWithInterpreter([&] {
    if (PyErr_CheckSignals() != 0) {
      throw py::error_already_set();
    }
    // The job first: dropping the temporary holder lets the lock go briefly.
    py::object job_object = py::cast(PythonHold<JobV1>(job.shared_from_this()));
    py::object id_object = py::cast(job_id);
    py::object status_object = py::cast(status);
    // Plain references from here: the interpreter may end this thread inside
    // the call (a daemon thread at finalization); see CallIntoPython.
    PyObject* const callable = callable_;
    PyObject* const arguments[] = {id_object.release().ptr(), status_object.release().ptr(),
                                   job_object.release().ptr()};
    const bool called = CallIntoPython([callable, &arguments] {
      PyObject* const outcome = PyObject_CallFunctionObjArgs(callable, arguments[0], arguments[1],
                                                             arguments[2], nullptr);
      for (PyObject* argument : arguments) Py_DECREF(argument);
      Py_XDECREF(outcome);
      return outcome != nullptr;
    });
    if (!called) {
      throw py::error_already_set();
    }
  });
}

}  // namespace taviron::python
