#include "bindings/python_output.h"

#include <stdexcept>
#include <string>

#include <pybind11/pybind11.h>

#include "bindings/interpreter_access.h"

namespace taviron::python {

namespace py = pybind11;

void PrintToStdout(py::object text) {
  PyObject* const line = text.release().ptr();
  const bool printed = CallIntoPython([line] {
    PyObject* const file = PySys_GetObject("stdout");  // borrowed
    bool done = true;
    if (file == nullptr) {
      PyErr_SetString(PyExc_RuntimeError, "lost sys.stdout");
      done = false;
    } else if (file != Py_None) {
      // Held across the writes: another thread may replace sys.stdout
      // meanwhile, and the last release of either object may run Python.
      Py_INCREF(file);
      done = PyFile_WriteObject(line, file, Py_PRINT_RAW) == 0 &&
             PyFile_WriteString("\n", file) == 0;
      Py_DECREF(file);
    }
    Py_DECREF(line);
    return done;
  });
  if (!printed) throw py::error_already_set();
}

namespace {

void PrintOnWorkerThread(const std::string& line) {
  bool failed = false;
  std::string failure;
  RunWithInterpreter([&line, &failed, &failure] {
    try {
      PrintToStdout(py::cast(line));
    } catch (py::error_already_set& error) {
      failed = true;
      failure = error.what();
    }
  });
  if (failed) {
    throw std::runtime_error(failure);
  }
}

}  // namespace

OutputSink PythonPrintSink() {
  return [](const std::string& line) {
    if (OnPythonThread()) {
      RunWithInterpreter([&line] { PrintToStdout(py::cast(line)); });
    } else {
      PrintOnWorkerThread(line);
    }
  };
}

}  // namespace taviron::python
