#include "bindings/fork_hook.h"

#include <memory>

#include <pybind11/pybind11.h>

#include "bindings/exit_hook.h"
#include "execution/backend.h"

namespace taviron::python {

namespace py = pybind11;

namespace {

void TakeOverEveryBackend() {
  for (const std::shared_ptr<BackendV2>& backend : LiveBackends()) {
    backend->TakeOverAfterFork();
  }
}

}  // namespace

void InstallForkHook() {
  py::module_::import("os").attr("register_at_fork")(
      py::arg("after_in_child") = py::cpp_function(&TakeOverEveryBackend));
}

}  // namespace taviron::python
