#include "bindings/interpreter_access.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#if defined(__GLIBCXX__)
#include <cxxabi.h>
#endif

#include <pybind11/pybind11.h>

namespace taviron::python {

namespace py = pybind11;

namespace {

struct AccessState {
  std::mutex mutex;
  std::condition_variable all_left;
  bool open = true;
  int inside = 0;
};

// Never destroyed: worker threads may still look at it while the process
// runs its static destructors.
AccessState& State() {
  static AccessState* state = new AccessState();
  return *state;
}

// Set while a Python thread waits with the interpreter lock let go.
thread_local bool python_caller_waiting = false;

// The interpreter's main thread, which finalizes it; 0 until the module is
// defined.
std::atomic<unsigned long> finalizing_thread{0};

bool InterpreterFinalizing() {
#if PY_VERSION_HEX >= 0x030D0000
  return Py_IsFinalizing() != 0;
#else
  return _Py_IsFinalizing() != 0;
#endif
}

// Runs `step` with the lock taken for the calling thread, which must not hold
// it now.
void RunWithLockTaken(const std::function<void()>& step) {
  ParkIfInterpreterFinalizing();
  const PyGILState_STATE gil = PyGILState_Ensure();
  try {
    step();
#if defined(__GLIBCXX__)
  } catch (abi::__forced_unwind&) {
    // The interpreter is ending this thread from inside `step` (Python code
    // there asked for the lock during finalization): the lock is already
    // gone, so there is nothing to give back.
    throw;
#endif
  } catch (...) {
    PyGILState_Release(gil);
    throw;
  }
  PyGILState_Release(gil);
}

int DropReference(void* object) {
  Py_DECREF(static_cast<PyObject*>(object));
  return 0;
}

}  // namespace

bool OnPythonThread() { return python_caller_waiting || PyGILState_Check(); }

InterpreterReleased::InterpreterReleased()
    : saved_thread_state_(PyEval_SaveThread()),
      was_waiting_(python_caller_waiting) {
  python_caller_waiting = true;
}

InterpreterReleased::~InterpreterReleased() noexcept(false) {
  python_caller_waiting = was_waiting_;
  ParkIfInterpreterFinalizing();
  PyEval_RestoreThread(static_cast<PyThreadState*>(saved_thread_state_));
}

bool RunWithInterpreter(const std::function<void()>& step) {
  if (python_caller_waiting) {
    RunWithLockTaken(step);
    return true;
  }
  AccessState& state = State();
  bool entered = false;
  {
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.open) {
      ++state.inside;
      entered = true;
    }
  }
  if (!entered) {
    // Shutting down: only the thread that holds the lock of a still
    // existing interpreter (the one tearing it down) goes on.
    if (PyGILState_GetThisThreadState() != nullptr && PyGILState_Check()) {
      step();
      return true;
    }
    return false;
  }
  struct Leave {
    AccessState& state;
    ~Leave() {
      std::lock_guard<std::mutex> lock(state.mutex);
      --state.inside;
      state.all_left.notify_all();
    }
  } leave{state};
  if (PyGILState_Check()) {
    step();
  } else {
    RunWithLockTaken(step);
  }
  return true;
}

void CloseInterpreterAccess() {
  AccessState& state = State();
  {
    std::lock_guard<std::mutex> lock(state.mutex);
    state.open = false;
  }
  InterpreterReleased released;
  std::unique_lock<std::mutex> lock(state.mutex);
  state.all_left.wait(lock, [&state] { return state.inside == 0; });
}

void PollPythonSignals() {
  RunWithInterpreter([] {
    if (PyErr_CheckSignals() != 0) {
      throw py::error_already_set();
    }
  });
}

void RememberFinalizingThread(unsigned long thread_ident) { finalizing_thread = thread_ident; }

void ParkIfInterpreterFinalizing() {
  if (!InterpreterFinalizing() || PyThread_get_thread_ident() == finalizing_thread.load()) {
    return;
  }
  // The process is ending: sleep through it, holding no lock, touching
  // nothing, so that neither Python nor an unwind resumes on this thread.
  for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}

void ReleasePythonReference(PyObject* object) {
  if (PyGILState_Check()) {
    Py_DECREF(object);
    return;
  }
  if (python_caller_waiting) {
    if (InterpreterFinalizing() || Py_AddPendingCall(&DropReference, object) == 0) return;
    // The pending calls are full: take the lock as a native thread would.
  }
  RunWithInterpreter([object] { Py_DECREF(object); });
}

}  // namespace taviron::python
