#ifndef TAVIRON_BINDINGS_PYTHON_HOLD_H
#define TAVIRON_BINDINGS_PYTHON_HOLD_H

#include <memory>
#include <utility>

#include <pybind11/pybind11.h>

#include "bindings/interpreter_access.h"

namespace taviron::python {

// The holder of the Python classes JobV1 and BackendV2: one share of the
// native object, which its native holders (jobs hold their backend, queued
// tasks their job) share too, so the object lives as long as its longest
// holder and Python never becomes its sole owner.
//
// Letting the share go may release the last hold on a backend, whose
// destructor joins the backend's worker thread; that worker may be waiting
// for the interpreter lock to print or to release a Python object. So a
// thread that holds the interpreter lock lets it go for the release.
template <typename T>
class PythonHold {
 public:
  using element_type = T;

  PythonHold() = default;
  // The binding library makes a holder from a new object's pointer.
  explicit PythonHold(T* object) : object_(object) {}
  PythonHold(std::shared_ptr<T> object) : object_(std::move(object)) {}  // NOLINT: implicit by design
  PythonHold(const PythonHold&) = default;
  PythonHold(PythonHold&&) noexcept = default;
  PythonHold& operator=(const PythonHold&) = delete;
  PythonHold& operator=(PythonHold&&) = delete;

  // noexcept(false): see interpreter_access.h on finalization.
  ~PythonHold() noexcept(false) {
    std::shared_ptr<T> last = std::move(object_);
    if (last && HoldsInterpreterLock()) {
      InterpreterReleased released;
      last.reset();
    }
  }

  T* get() const { return object_.get(); }

 private:
  std::shared_ptr<T> object_;
};

}  // namespace taviron::python

PYBIND11_DECLARE_HOLDER_TYPE(T, taviron::python::PythonHold<T>)

#endif
