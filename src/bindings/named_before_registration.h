#ifndef TAVIRON_BINDINGS_NAMED_BEFORE_REGISTRATION_H
#define TAVIRON_BINDINGS_NAMED_BEFORE_REGISTRATION_H

// A signature that names a class before the class is registered shows the
// class's bare name (JobV1, QuantumCircuit); the binding library would show
// the native name with its namespace instead. NamedBeforeRegistration<Inner>
// converts exactly as Inner does (a Held<T>, a std::shared_ptr<T> or a
// PythonHold<T>) and renders as T's bare name.

#include <memory>
#include <utility>

#include <pybind11/pybind11.h>

#include "bindings/held_object.h"
#include "bindings/python_hold.h"

namespace taviron {
class BackendV2;
class JobV1;
class QuantumCircuit;
class Result;
}  // namespace taviron

namespace taviron::python {

template <typename Inner>
struct NamedBeforeRegistration {
  Inner value;
};

// The class a converted form refers to.
template <typename Inner>
struct ReferredClass;
template <typename T>
struct ReferredClass<Held<T>> { using type = T; };
template <typename T>
struct ReferredClass<std::shared_ptr<T>> { using type = T; };
template <typename T>
struct ReferredClass<PythonHold<T>> { using type = T; };

// The bare names, one per class that a signature names before registration.
template <typename T>
struct BareClassName;
template <>
struct BareClassName<BackendV2> { static constexpr char text[] = "BackendV2"; };
template <>
struct BareClassName<JobV1> { static constexpr char text[] = "JobV1"; };
template <>
struct BareClassName<QuantumCircuit> { static constexpr char text[] = "QuantumCircuit"; };
template <>
struct BareClassName<Result> { static constexpr char text[] = "Result"; };

template <typename Inner>
NamedBeforeRegistration<Inner> NameBeforeRegistration(Inner value) {
  return {std::move(value)};
}

// A member function bound as MethodOnObject binds it, its result named bare.
template <typename Return, typename Class, typename... Args>
auto MethodNamingResultBeforeRegistration(Return (Class::*method)(Args...)) {
  return [method](Held<Class> object, Args... args) {
    return NameBeforeRegistration(((*object).*method)(std::forward<Args>(args)...));
  };
}

}  // namespace taviron::python

namespace pybind11 {
namespace detail {

template <typename Inner>
struct type_caster<taviron::python::NamedBeforeRegistration<Inner>> {
  using Named = taviron::python::NamedBeforeRegistration<Inner>;
  using Class = typename taviron::python::ReferredClass<Inner>::type;
  static constexpr auto name = const_name(taviron::python::BareClassName<Class>::text);

  bool load(handle src, bool convert) { return inner.load(src, convert); }

  static handle cast(Named src, return_value_policy policy, handle parent) {
    return make_caster<Inner>::cast(std::move(src.value), policy, parent);
  }

  template <typename>
  using cast_op_type = Named;
  operator Named() { return Named{cast_op<Inner>(inner)}; }

  make_caster<Inner> inner;
};

}  // namespace detail
}  // namespace pybind11

#endif
