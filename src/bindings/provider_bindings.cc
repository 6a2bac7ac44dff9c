// TavironProvider: the account in use, the saved-accounts file and the
// source of backends. The proxies dictionaries are accepted and ignored.

#include <memory>
#include <string>

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "bindings/exit_hook.h"
#include "bindings/held_object.h"
#include "bindings/interpreter_access.h"
#include "bindings/module_registrations.h"
#include "bindings/python_hold.h"
#include "execution/backend.h"
#include "execution/provider.h"

namespace taviron::python {

namespace py = pybind11;

namespace {

// Texts are decoded as UTF-8 through the binding library's caster, so a
// text that is not valid UTF-8 raises UnicodeDecodeError.
py::dict StringDict(const StringPairs& pairs) {
  py::dict dict;
  for (const auto& entry : pairs) {
    dict[py::cast(entry.first)] = py::cast(entry.second);
  }
  return dict;
}

PythonHold<BackendV2> GetBackend(Held<TavironProvider> provider, const std::string& name) {
  return PythonHold<BackendV2>(TrackBackend(provider->get_backend(name)));
}

}  // namespace

void RegisterProvider(py::module_& m) {
  py::class_<TavironProvider>(m, "TavironProvider")
      .def(py::init([](const std::string& token, const std::string& url,
                       const std::string& name, const std::string& instance,
                       const py::dict& /*proxies*/, bool verify) {
             return new TavironProvider(token, url, name, instance, verify);
           }),
           py::arg("token") = "", py::arg("url") = "", py::arg("name") = "",
           py::arg("instance") = "", py::arg("proxies") = py::dict(),
           py::arg("verify") = false)
      .def(
          "backends",
          [](Held<TavironProvider> provider, const std::string& name, const py::kwargs&) {
            return provider->backends(name);
          },
          "Get the list of supported backends")
      .def(
          "get_backend",
          [](Held<TavironProvider> provider, const std::string& name, const py::kwargs&) {
            return GetBackend(provider, name);
          },
          "Get the backend")
      .def("get_backend", &GetBackend, "Get the backend")
      .def(
          "active_account",
          [](Held<TavironProvider> provider) { return StringDict(provider->active_account()); },
          "Provides the details of the current active account")
      // A change of the accounts file may wait for a lock that another
      // process holds: it waits without the interpreter lock, checking for
      // Ctrl-C, so other Python threads run meanwhile.
      .def(
          "delete_account",
          [](Held<TavironProvider> provider, const std::string& name) {
            InterpreterReleased released;
            return provider->delete_account(name, PollPythonSignals);
          },
          "Deletes a given account", py::arg("name") = "")
      .def(
          "save_account",
          [](Held<TavironProvider> provider, const std::string& token, const std::string& url,
             const std::string& instance, const std::string& name, const py::dict& /*proxies*/,
             bool verify, bool overwrite) {
            InterpreterReleased released;
            provider->save_account(token, url, instance, name, verify, overwrite,
                                   PollPythonSignals);
          },
          "Save an account", py::arg("token") = "", py::arg("url") = "",
          py::arg("instance") = "", py::arg("name") = "", py::arg("proxies") = py::dict(),
          py::arg("verify") = false, py::arg("overwrite") = true)
      .def(
          "saved_accounts",
          [](Held<TavironProvider> provider, bool defaults, const std::string& name) {
            return StringDict(provider->saved_accounts(defaults, name));
          },
          "Provides the list of saved accounts", py::arg("defaults") = false,
          py::arg("name") = "");
}

}  // namespace taviron::python
