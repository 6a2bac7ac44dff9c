#include "bindings/exit_hook.h"

#include <algorithm>
#include <vector>

#include <pybind11/pybind11.h>

#include "bindings/interpreter_access.h"
#include "execution/backend.h"
#include "foundation/never_destroyed.h"

namespace taviron::python {

namespace py = pybind11;

namespace {

// Every backend handed to Python, while it lives. Touched only with the
// interpreter lock held. Never destroyed, so that no static destructor races
// with a late release.
std::vector<std::weak_ptr<BackendV2>>& TrackedBackends() {
  static NeverDestroyed<std::vector<std::weak_ptr<BackendV2>>> backends;
  return backends.get();
}

void StopEveryBackendAndCloseAccess() {
  std::vector<std::shared_ptr<BackendV2>> live = LiveBackends();
  TrackedBackends().clear();
  {
    // Workers still print their running job's lines, and release the
    // Python objects of the jobs they finish, while this thread waits.
    InterpreterReleased released;
    for (const std::shared_ptr<BackendV2>& backend : live) {
      backend->StopWorker();
    }
    live.clear();
  }
  CloseInterpreterAccess();
}

}  // namespace

std::shared_ptr<BackendV2> TrackBackend(std::shared_ptr<BackendV2> backend) {
  std::vector<std::weak_ptr<BackendV2>>& tracked = TrackedBackends();
  tracked.erase(std::remove_if(tracked.begin(), tracked.end(),
                               [](const std::weak_ptr<BackendV2>& entry) {
                                 return entry.expired();
                               }),
                tracked.end());
  tracked.push_back(backend);
  return backend;
}

std::vector<std::shared_ptr<BackendV2>> LiveBackends() {
  std::vector<std::shared_ptr<BackendV2>> live;
  for (const std::weak_ptr<BackendV2>& tracked : TrackedBackends()) {
    if (std::shared_ptr<BackendV2> backend = tracked.lock()) {
      live.push_back(std::move(backend));
    }
  }
  return live;
}

void InstallExitHook() {
  RememberFinalizingThread(
      py::module_::import("threading").attr("main_thread")().attr("ident").cast<unsigned long>());
  py::module_::import("atexit").attr("register")(
      py::cpp_function(&StopEveryBackendAndCloseAccess));
}

}  // namespace taviron::python
