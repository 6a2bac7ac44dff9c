#include "bindings/python_output.h"

#include <stdexcept>
#include <string>

#include <pybind11/pybind11.h>

#include "bindings/interpreter_access.h"

namespace taviron::python {

namespace py = pybind11;

void PrintToStdout(const py::handle& text) {
  if (py::module_::import("sys").attr("stdout").is_none()) return;
  py::print(text);
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
