#ifndef TAVIRON_BINDINGS_HELD_OBJECT_H
#define TAVIRON_BINDINGS_HELD_OBJECT_H

// The object that a bound function is called on (or takes as an argument),
// in a form that only a usable instance converts to.
//
// The binding library's own conversion of a bound class accepts more than a
// function can use: for a parameter taken by pointer, None becomes a null
// pointer once conversions are allowed, so a member function bound as it is
// (which receives its object through a pointer) would run on nothing; and
// for an instance that holds no native object (made by __new__ alone, or
// whose __init__ threw) it hands the function fresh, never constructed
// storage. Held<T> converts only an instance of T's class, or of a class
// derived from it, whose native object exists; anything else matches no
// overload, and the call raises TypeError before native code runs.

#include <type_traits>
#include <typeinfo>
#include <utility>

#include <pybind11/pybind11.h>

namespace taviron::python {

template <typename T>
struct Held {
  T* object = nullptr;
  T& operator*() const { return *object; }
  T* operator->() const { return object; }
};

// Whether `src` is an instance of T's Python class (or of a class derived
// from it) whose native parts all exist.
template <typename T>
bool HoldsNativeObject(pybind11::handle src) {
  namespace detail = pybind11::detail;
  const detail::type_info* info = detail::get_type_info(typeid(T));
  if (info == nullptr || !src || src.is_none() ||
      !pybind11::isinstance(src, pybind11::handle(reinterpret_cast<PyObject*>(info->type)))) {
    return false;
  }
  for (auto& v_h : detail::values_and_holders(reinterpret_cast<detail::instance*>(src.ptr()))) {
    if (!v_h.holder_constructed() || v_h.value_ptr() == nullptr) {
      return false;
    }
  }
  return true;
}

}  // namespace taviron::python

namespace pybind11 {
namespace detail {

template <typename T>
struct type_caster<taviron::python::Held<T>> {
  using Held = taviron::python::Held<T>;

  // Rendered in signatures as the class itself: TavironLib.JobV1 once the
  // class is registered, the bare native name before.
  static constexpr auto name = const_name<T>();

  bool load(handle src, bool /*convert*/) {
    if (!taviron::python::HoldsNativeObject<T>(src)) {
      return false;
    }
    // The library's own conversion then finds the object, and casts it to T
    // when it is of a class derived from T.
    make_caster<T> caster;
    if (!caster.load(src, false)) {
      return false;
    }
    value.object = cast_op<T*>(caster);
    return value.object != nullptr;
  }

  template <typename>
  using cast_op_type = Held;
  operator Held() { return value; }

  Held value;
};

}  // namespace detail
}  // namespace pybind11

namespace taviron::python {

// A member function as a bound function that receives its object as
// Held<Class>; the rendered signature is that of the member function.
template <typename Return, typename Class, typename... Args>
auto MethodOnObject(Return (Class::*method)(Args...)) {
  return [method](Held<Class> object, Args... args) -> Return {
    return ((*object).*method)(std::forward<Args>(args)...);
  };
}

template <typename Return, typename Class, typename... Args>
auto MethodOnObject(Return (Class::*method)(Args...) const) {
  return [method](Held<Class> object, Args... args) -> Return {
    return ((*object).*method)(std::forward<Args>(args)...);
  };
}

// A data member as the getter of a read-only attribute: a copy of its value.
template <typename Value, typename Class>
auto FieldOfObject(Value Class::*field) {
  return [field](Held<Class> object) -> std::remove_cv_t<Value> { return (*object).*field; };
}

// Binds a data member as a read-only attribute, rendered as one bound to
// the plain field: "(self: TavironLib.BackendV2) -> int".
template <typename Bound, typename Value, typename Class>
void DefReadOnlyField(Bound& cls, const char* name, Value Class::*field) {
  cls.def_property_readonly(name, pybind11::cpp_function(FieldOfObject(field),
                                                         pybind11::is_method(cls)));
}

}  // namespace taviron::python

#endif
