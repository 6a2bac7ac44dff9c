#ifndef TAVIRON_BINDINGS_EXIT_HOOK_H
#define TAVIRON_BINDINGS_EXIT_HOOK_H

#include <memory>
#include <vector>

namespace taviron {
class BackendV2;
}  // namespace taviron

namespace taviron::python {

// Remembers a backend that Python received, so that the exit hook can stop
// its worker. Keeps no hold on it. Called with the interpreter lock held.
// Returns the backend.
std::shared_ptr<BackendV2> TrackBackend(std::shared_ptr<BackendV2> backend);

// The tracked backends that are still alive, held. Called with the
// interpreter lock held.
std::vector<std::shared_ptr<BackendV2>> LiveBackends();

// Registers, through Python's atexit, the hook that runs before the
// interpreter tears down: it stops the worker of every live backend (a
// running job finishes, queued jobs stay QUEUED), then closes native
// threads' access to the interpreter (see interpreter_access.h).
void InstallExitHook();

}  // namespace taviron::python

#endif
