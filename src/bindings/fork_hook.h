#ifndef TAVIRON_BINDINGS_FORK_HOOK_H
#define TAVIRON_BINDINGS_FORK_HOOK_H

namespace taviron::python {

// Registers, through os.register_at_fork, what a forked child does first:
// every backend that Python received takes itself over from its worker,
// whose thread exists only in the parent (BackendV2::TakeOverAfterFork).
// The jobs that the parent had queued or was running end here at once
// (CANCELLED, ERROR) instead of when the child next uses their backend;
// the parent runs them. Called with the interpreter lock held.
void InstallForkHook();

}  // namespace taviron::python

#endif
