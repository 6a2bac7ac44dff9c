#ifndef TAVIRON_BINDINGS_INTERPRETER_ACCESS_H
#define TAVIRON_BINDINGS_INTERPRETER_ACCESS_H

#include <functional>

#include <Python.h>

namespace taviron::python {

// The one way native threads enter Python.
//
// A backend's worker thread runs without the interpreter lock; it takes the
// lock only to print a progress line or to release a Python object, and only
// through RunWithInterpreter. Once the interpreter starts to shut down
// (CloseInterpreterAccess, called from the module's exit hook) such steps are
// skipped, so that no native thread waits for, or touches, an interpreter
// that is being torn down.
//
// Once the interpreter finalizes, CPython ends any thread other than the
// finalizing one that asks for the lock by unwinding its stack. That unwind
// cannot pass a destructor that is noexcept, and a thread that asks once the
// interpreter is gone touches freed memory. So from the moment access closes
// (before finalization begins) a Python thread that would take the lock back
// parks instead: it sleeps until the process ends and never returns to
// Python. The close waits until no Python thread is between its check of
// access and the lock, so that none can still reach the interpreter when it
// finalizes. The destructors that take the lock back are noexcept(false)
// besides. A thread that already holds the lock when finalization begins
// (inside a callback or a print) is ended at its next request for the lock,
// inside Python; every such call goes through CallIntoPython, which parks
// the thread there, so the unwind never reaches the native frames above.

// Runs `step` with the interpreter lock held and returns true. A thread that
// holds the lock runs it at once; a Python thread waiting inside
// InterpreterReleased takes the lock back for it; any other thread takes the
// lock around it unless access has been closed, in which case `step` is
// skipped and false is returned. Exceptions thrown by `step` propagate after
// the lock is let go.
bool RunWithInterpreter(const std::function<void()>& step);

// True on a thread that holds the interpreter lock, or that let it go
// through InterpreterReleased and waits: a Python thread inside a call.
bool OnPythonThread();

// Lets the interpreter lock go on the calling Python thread for the life of
// the object, as pybind11::gil_scoped_release does, and marks the thread as a
// Python caller that waits: RunWithInterpreter takes the lock back for it
// without counting it among the native threads. Once access has closed, a
// thread other than the finalizing one parks instead.
class InterpreterReleased {
 public:
  InterpreterReleased();
  // Parks (never returns) once access has closed, unless the caller is the
  // finalizing thread.
  ~InterpreterReleased() noexcept(false);
  InterpreterReleased(const InterpreterReleased&) = delete;
  InterpreterReleased& operator=(const InterpreterReleased&) = delete;

 private:
  void* saved_thread_state_;
  bool was_waiting_;
};

// Closes access for threads that do not hold the interpreter lock: first
// waits until the native work of RunOutsideInterpreter under way has ended
// (none starts any more), then until every thread that is still inside
// RunWithInterpreter has left, and every Python thread already on its way
// back to the lock holds it. From then on every thread but the finalizing
// one parks where it would take the lock back. Called with the interpreter
// lock held; lets it go while it waits.
void CloseInterpreterAccess();

// Runs `work`, which touches no Python object (it may print through
// RunWithInterpreter), on a Python thread with the interpreter lock let go
// as InterpreterReleased does, so that other Python threads run meanwhile.
// Closing access waits for work under way to end: native work must not go
// on while the process ends, since the static objects it reads are
// destroyed then. Once access is closing, a thread other than the
// finalizing one parks instead of starting the work.
void RunOutsideInterpreter(const std::function<void()>& work);

// Raises the pending Python exception (KeyboardInterrupt from Ctrl-C, or
// whatever a signal handler raised) as pybind11::error_already_set when a
// signal handler reports one. Called by the waits that run without the
// interpreter lock; on the interpreter's main thread, the one where Python
// runs signal handlers, takes the lock for the check; elsewhere does
// nothing.
void PollPythonSignals();

// Drops one strong reference to object, from any thread, without ever
// waiting for the interpreter lock on a Python thread that let it go: such a
// wait may sit inside a destructor called through a noexcept release (a
// std::shared_ptr's), where the interpreter's end of the thread at
// finalization could not unwind. A thread that holds the lock drops the
// reference at once; a Python thread that waits without it hands the drop
// to the interpreter's pending calls (or, once access has closed, leaves
// it: the process is ending); a native thread goes through
// RunWithInterpreter.
void ReleasePythonReference(PyObject* object);

// Remembers the calling thread, which holds the interpreter lock, as the one
// that will finalize the interpreter (the interpreter's main thread). Called
// once when the module is defined.
void RememberFinalizingThread(unsigned long thread_ident);

// Runs `call`, a call into Python made by native code, and returns what it
// returns. The interpreter may end the calling thread inside the call: once
// finalization has begun, a thread other than the finalizing one that asks
// for the lock (as a Python call does between bytecodes, and around every
// wait) is unwound without a C++ exception. Such an unwind would run the
// destructors of every native frame above, which may drop Python objects
// without the lock, wait for it, or meet a noexcept frame and end the
// process. A thread ended inside `call` parks right here instead: it sleeps
// until the process ends, and no frame above it runs again. `call` itself
// must hold only plain references (PyObject*), never pybind11 objects.
template <typename Call>
auto CallIntoPython(Call&& call) -> decltype(call());

// Whether the calling thread holds the interpreter lock. Unlike
// PyGILState_Check, which answers yes on every thread once the interpreter
// is gone, false then.
bool HoldsInterpreterLock();

namespace interpreter_access_detail {

// Parks the calling thread unless Returned was called: its destructor runs
// without that only when the thread is unwound out of the guarded call.
class ParkUnlessReturned {
 public:
  ParkUnlessReturned() = default;
  ~ParkUnlessReturned();
  ParkUnlessReturned(const ParkUnlessReturned&) = delete;
  ParkUnlessReturned& operator=(const ParkUnlessReturned&) = delete;
  void Returned() { returned_ = true; }

 private:
  bool returned_ = false;
};

}  // namespace interpreter_access_detail

template <typename Call>
auto CallIntoPython(Call&& call) -> decltype(call()) {
  interpreter_access_detail::ParkUnlessReturned guard;
  auto outcome = call();
  guard.Returned();
  return outcome;
}

}  // namespace taviron::python

#endif
