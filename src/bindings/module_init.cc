// The module's entry point. Written out by hand rather than through
// PYBIND11_MODULE so that every step, the binding library's set-up and the
// creation of the module object included, runs inside the exception
// handlers: no failure can leave this function as a C++ exception and end
// the process; each becomes the import's ImportError.

#include <exception>

#include <pybind11/pybind11.h>

#include "bindings/exit_hook.h"
#include "bindings/fork_hook.h"
#include "bindings/module_registrations.h"
#include "foundation/python_version_check.h"

namespace taviron::python {

namespace py = pybind11;

namespace {

#define TAVIRON_TEXT(x) #x
#define TAVIRON_VERSION_TEXT(major, minor) TAVIRON_TEXT(major) "." TAVIRON_TEXT(minor)
// The interpreter's major.minor that this module file was built against.
constexpr const char* kCompiledForPython =
    TAVIRON_VERSION_TEXT(PY_MAJOR_VERSION, PY_MINOR_VERSION);

// Single-phase module without per-module state, docstring or method table.
PyModuleDef module_definition = {
    PyModuleDef_HEAD_INIT,
    "TavironLib",  // m_name
    nullptr,       // m_doc
    -1,            // m_size
    nullptr,       // m_methods
    nullptr,       // m_slots
    nullptr,       // m_traverse
    nullptr,       // m_clear
    nullptr,       // m_free
};

constexpr int kModuleApiVersion = 1013;

}  // namespace

extern "C" __attribute__((visibility("default"))) PyObject* PyInit_TavironLib() {
  const char* interpreter_version = Py_GetVersion();
  if (!PythonVersionMatches(interpreter_version, kCompiledForPython)) {
    PyErr_SetString(PyExc_ImportError,
                    PythonVersionMismatchMessage(kCompiledForPython,
                                                 interpreter_version)
                        .c_str());
    return nullptr;
  }
  try {
    py::detail::get_internals();
    PyObject* created = PyModule_Create2(&module_definition, kModuleApiVersion);
    if (created == nullptr) {
      throw py::error_already_set();
    }
    // Owns the module: on failure it is released here, never handed out.
    py::module_ module = py::reinterpret_steal<py::module_>(created);
    DefineModule(module);
    InstallExitHook();
    InstallForkHook();
    return module.release().ptr();
  } catch (py::error_already_set& error) {
    py::raise_from(error, PyExc_ImportError, "initialization failed");
    return nullptr;
  } catch (const std::exception& error) {
    PyErr_SetString(PyExc_ImportError, error.what());
    return nullptr;
  } catch (...) {
    PyErr_SetString(PyExc_ImportError, "initialization failed");
    return nullptr;
  }
}

}  // namespace taviron::python
