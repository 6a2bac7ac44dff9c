#include "bindings/interpreter_access.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include <pybind11/pybind11.h>

#include "foundation/fork_lock_registry.h"
#include "foundation/never_destroyed.h"

namespace taviron::python {

namespace py = pybind11;

namespace {

// The interpreter's main thread, which finalizes it; 0 until the module is
// defined.
std::atomic<unsigned long> finalizing_thread{0};

struct AccessState {
  std::mutex mutex;
  std::condition_variable all_left;
  bool open = true;
  // Native threads inside RunWithInterpreter.
  int inside = 0;
  // Python threads on their way back into the interpreter: past the check
  // that access is open, not yet holding the lock (or not yet done handing
  // it a pending call).
  int returning = 0;
  // Whether Python threads may start native work without the lock, and how
  // many are inside such work (RunOutsideInterpreter).
  bool work_open = true;
  int working = 0;
  // A forked child has none of the threads counted, and its one thread,
  // the one that forked, is its interpreter's main thread from now on.
  ForkLockRegistration fork_registration{mutex, &all_left, ForkLockRule::kHeldAcrossFork,
                                         ForkLockRank::kLeaf, [this] {
                                           inside = 0;
                                           returning = 0;
                                           working = 0;
                                           finalizing_thread = PyThread_get_thread_ident();
                                         }};
};

// Never destroyed: worker threads may still look at it while the process
// runs its static destructors.
AccessState& State() {
  static NeverDestroyed<AccessState> state;
  return state.get();
}

// Counts a thread out of one of AccessState's counts when it leaves.
struct Leave {
  AccessState& state;
  int& count;
  ~Leave() {
    std::lock_guard<std::mutex> lock(state.mutex);
    --count;
    state.all_left.notify_all();
  }
};

// Set while a Python thread waits with the interpreter lock let go.
thread_local bool python_caller_waiting = false;

bool InterpreterFinalizing() {
#if PY_VERSION_HEX >= 0x030D0000
  return Py_IsFinalizing() != 0;
#else
  return _Py_IsFinalizing() != 0;
#endif
}

bool OnFinalizingThread() { return PyThread_get_thread_ident() == finalizing_thread.load(); }

// The process is ending: sleeps through it, holding no lock, touching
// nothing, so that neither Python nor an unwind resumes on this thread.
[[noreturn]] void Park() {
  for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}

// Counts the calling Python thread as returning to the interpreter and
// returns true, or returns false once access is closed (or the interpreter
// finalizes) and the caller is not the finalizing thread. A thread counted
// must call EndReturn when it holds the lock again (or has handed over its
// pending call): CloseInterpreterAccess waits for that, so that no thread is
// between this check and the interpreter when finalization begins. Checking
// the finalization flag alone leaves that window open: a thread preempted
// just after the check would later enter an interpreter that no longer
// exists.
bool BeginReturn() {
  AccessState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if ((!state.open || InterpreterFinalizing()) && !OnFinalizingThread()) return false;
  ++state.returning;
  return true;
}

void EndReturn() {
  AccessState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  --state.returning;
  state.all_left.notify_all();
}

// Runs `take`, which takes the interpreter lock back for a Python thread that
// let it go, or parks when the interpreter is closing (see BeginReturn).
void TakeLockBack(const std::function<void()>& take) {
  if (!BeginReturn()) Park();
  take();
  EndReturn();
}

// Runs `step` with the lock taken for the calling thread, which must not hold
// it now. The lock is given back when `step` returns or throws. A thread
// that the interpreter ends inside `step` is unwound without a C++
// exception in flight and parks in CallIntoPython before it gets here; were
// one to get here, its lock is already gone, and nothing is given back.
void RunWithLockTaken(const std::function<void()>& step) {
  struct GiveBack {
    PyGILState_STATE gil = PyGILState_UNLOCKED;
    const int exceptions = std::uncaught_exceptions();
    bool returned = false;
    ~GiveBack() {
      if (returned || std::uncaught_exceptions() > exceptions) PyGILState_Release(gil);
    }
  } give_back;
  if (python_caller_waiting) {
    TakeLockBack([&give_back] { give_back.gil = PyGILState_Ensure(); });
  } else {
    // A native thread, counted in AccessState::inside by RunWithInterpreter.
    give_back.gil = PyGILState_Ensure();
  }
  step();
  give_back.returned = true;
}

int DropReference(void* object) {
  return CallIntoPython([object] {
    Py_DECREF(static_cast<PyObject*>(object));
    return 0;
  });
}

}  // namespace

interpreter_access_detail::ParkUnlessReturned::~ParkUnlessReturned() {
  if (!returned_) Park();
}

bool OnPythonThread() { return python_caller_waiting || HoldsInterpreterLock(); }

InterpreterReleased::InterpreterReleased()
    : saved_thread_state_(PyEval_SaveThread()),
      was_waiting_(python_caller_waiting) {
  python_caller_waiting = true;
}

InterpreterReleased::~InterpreterReleased() noexcept(false) {
  python_caller_waiting = was_waiting_;
  PyThreadState* const saved = static_cast<PyThreadState*>(saved_thread_state_);
  TakeLockBack([saved] { PyEval_RestoreThread(saved); });
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
    if (HoldsInterpreterLock()) {
      step();
      return true;
    }
    return false;
  }
  const Leave leave{state, state.inside};
  if (HoldsInterpreterLock()) {
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
    state.work_open = false;
  }
  InterpreterReleased released;
  std::unique_lock<std::mutex> lock(state.mutex);
  // The work under way ends first, with access still open: it may print.
  state.all_left.wait(lock, [&state] { return state.working == 0; });
  state.open = false;
  state.all_left.wait(lock, [&state] { return state.inside == 0 && state.returning == 0; });
}

void RunOutsideInterpreter(const std::function<void()>& work) {
  InterpreterReleased released;
  AccessState& state = State();
  bool started = false;
  {
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.work_open || OnFinalizingThread()) {
      ++state.working;
      started = true;
    }
  }
  // The interpreter is ending; so is this thread.
  if (!started) Park();
  const Leave leave{state, state.working};
  work();
}

void PollPythonSignals() {
  // Python runs signal handlers on its main thread only: elsewhere there is
  // nothing to check, and no need to take the lock.
  if (!OnFinalizingThread()) return;
  RunWithInterpreter([] {
    if (PyErr_CheckSignals() != 0) {
      throw py::error_already_set();
    }
  });
}

void RememberFinalizingThread(unsigned long thread_ident) {
  State();  // registered with the fork handlers from now on
  finalizing_thread = thread_ident;
}

bool HoldsInterpreterLock() {
#if PY_VERSION_HEX >= 0x030D0000
  return PyThreadState_GetUnchecked() != nullptr && PyGILState_Check();
#else
  return _PyThreadState_UncheckedGet() != nullptr && PyGILState_Check();
#endif
}

void ReleasePythonReference(PyObject* object) {
  // The last reference's release may run Python code (a __del__).
  const auto drop = [object] {
    CallIntoPython([object] {
      Py_DECREF(object);
      return 0;
    });
  };
  if (HoldsInterpreterLock()) {
    drop();
    return;
  }
  if (python_caller_waiting) {
    // Once the interpreter closes the reference is left: the process is
    // ending.
    if (!BeginReturn()) return;
    const bool handed_over = Py_AddPendingCall(&DropReference, object) == 0;
    EndReturn();
    if (handed_over) return;
    // The pending calls are full: take the lock back for the drop.
  }
  RunWithInterpreter(drop);
}

}  // namespace taviron::python
