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
// cannot pass a destructor that is noexcept, so a thread that would take the
// lock back then parks instead: it sleeps until the process ends and never
// returns to Python (see ParkIfInterpreterFinalizing). The destructors that
// take the lock back are noexcept(false) besides, for the thread that asks
// for it in the instant finalization begins.

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
// even after access has been closed, since the interpreter is its own.
class InterpreterReleased {
 public:
  InterpreterReleased();
  // Parks (never returns) when the interpreter is being finalized by
  // another thread.
  ~InterpreterReleased() noexcept(false);
  InterpreterReleased(const InterpreterReleased&) = delete;
  InterpreterReleased& operator=(const InterpreterReleased&) = delete;

 private:
  void* saved_thread_state_;
  bool was_waiting_;
};

// Closes access for threads that do not hold the interpreter lock and waits
// until every such thread that is still inside RunWithInterpreter has left.
// Called with the interpreter lock held; lets it go while it waits.
void CloseInterpreterAccess();

// Raises the pending Python exception (KeyboardInterrupt from Ctrl-C, or
// whatever a signal handler raised) as pybind11::error_already_set when a
// signal handler reports one. Called by the waits that run without the
// interpreter lock; takes the lock for the check.
void PollPythonSignals();

// Drops one strong reference to object, from any thread, without ever
// waiting for the interpreter lock on a Python thread that let it go: such a
// wait may sit inside a destructor called through a noexcept release (a
// std::shared_ptr's), where the interpreter's end of the thread at
// finalization could not unwind. A thread that holds the lock drops the
// reference at once; a Python thread that waits without it hands the drop
// to the interpreter's pending calls (or, once the interpreter finalizes,
// leaves it: the process is ending); a native thread goes through
// RunWithInterpreter.
void ReleasePythonReference(PyObject* object);

// Remembers the calling thread, which holds the interpreter lock, as the one
// that will finalize the interpreter (the interpreter's main thread). Called
// once when the module is defined.
void RememberFinalizingThread(unsigned long thread_ident);

// Called before a thread takes the interpreter lock back: when the
// interpreter is being finalized and the caller is not the finalizing
// thread, sleeps until the process ends and does not return.
void ParkIfInterpreterFinalizing();

}  // namespace taviron::python

#endif
