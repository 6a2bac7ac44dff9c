#ifndef TAVIRON_BINDINGS_CIRCUIT_METHOD_TABLE_H
#define TAVIRON_BINDINGS_CIRCUIT_METHOD_TABLE_H

// The one mechanism that binds every QuantumCircuit method: each overload is
// a row (Python name, docstring, the circuit member it calls, the Python
// names of its parameters); the parameter types, the result class and hence
// the signature text come from the member's own C++ signature, and each
// parameter's default comes from DefaultValues by its name.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "bindings/held_object.h"
#include "bindings/circuit/default_values.h"
#include "circuit/quantum_circuit.h"

namespace taviron::python {

using QuantumCircuitClass =
    pybind11::class_<QuantumCircuit, std::shared_ptr<QuantumCircuit>>;

// A named parameter whose default, if it has one, is decided at run time
// (from the defaults table) rather than by the annotation's C++ type: it
// registers as pybind11::arg_v when it carries a default, else as
// pybind11::arg.
struct NamedParam : pybind11::arg {
  NamedParam(const char* name, pybind11::object default_value)
      : pybind11::arg(name), default_value(std::move(default_value)) {}

  pybind11::object default_value;
};

}  // namespace taviron::python

namespace pybind11 {
namespace detail {

template <>
struct process_attribute<taviron::python::NamedParam>
    : process_attribute_default<taviron::python::NamedParam> {
  static void init(const taviron::python::NamedParam& param, function_record* record) {
    if (param.default_value) {
      process_attribute<arg_v>::init(arg_v(param, param.default_value), record);
    } else {
      process_attribute<arg>::init(param, record);
    }
  }
};

}  // namespace detail
}  // namespace pybind11

namespace taviron::python {

// The parameter `name` with its default from the table, if any.
inline NamedParam Param(const DefaultValues& defaults, const char* name) {
  return NamedParam(name, defaults.Find(name));
}

// One table row: binds its overload(s) on the class when called. Rows are
// called in table order, which is the registration (and so the overload)
// order.
using MethodRow = std::function<void(QuantumCircuitClass&, const DefaultValues&)>;
using MethodTable = std::vector<MethodRow>;

inline void BindTable(QuantumCircuitClass& cls, const DefaultValues& defaults,
                      const MethodTable& table) {
  for (const MethodRow& row : table) row(cls, defaults);
}

namespace method_table_detail {

template <typename Ret, typename... Args>
struct Signature {};

// How a parameter arrives from Python: as the member's own type, except for
// the kinds below.
enum class ArgumentKind { kPlain, kUnsignedList, kWrappedObject };

template <typename Arg>
constexpr ArgumentKind KindOf() {
  using Bare = std::decay_t<Arg>;
  if (std::is_same<Bare, std::vector<uint64_t>>::value) return ArgumentKind::kUnsignedList;
  if (std::is_reference<Arg>::value &&
      (std::is_same<Bare, QuantumCircuit>::value || std::is_same<Bare, QuantumRegister>::value)) {
    return ArgumentKind::kWrappedObject;
  }
  return ArgumentKind::kPlain;
}

// The type in which a parameter arrives from Python, and its conversion to
// the member's own parameter type.
template <typename Arg, ArgumentKind kKind = KindOf<Arg>()>
struct FromPython {
  using Type = Arg;
  static Arg&& Convert(Arg&& value) { return std::forward<Arg>(value); }
};

// Qubit and bit lists arrive as signed 64-bit items whatever the member
// takes, so that a negative item converts and meets the operation's own
// range check (as an index beyond every circuit) instead of failing the
// overload.
template <typename Arg>
struct FromPython<Arg, ArgumentKind::kUnsignedList> {
  using Type = std::vector<int64_t>;
  static std::vector<uint64_t> Convert(std::vector<int64_t>&& items) {
    std::vector<uint64_t> unsigned_items;
    unsigned_items.reserve(items.size());
    for (int64_t item : items) unsigned_items.push_back(static_cast<uint64_t>(item));
    return unsigned_items;
  }
};

// A circuit or register argument arrives as the object its Python instance
// holds, and only from an instance that holds one (held_object.h).
template <typename Arg>
struct FromPython<Arg, ArgumentKind::kWrappedObject> {
  using Type = Held<std::remove_const_t<std::remove_reference_t<Arg>>>;
  static Arg Convert(Type&& value) { return *value.object; }
};

// A raw pointer result is never handed to Python to own: the only one, that
// of compose, is the circuit the method was called on, whose Python object
// already exists. Gate handles come back as unique_ptr, which Python owns.
template <typename Ret>
pybind11::return_value_policy ResultPolicy() {
  return std::is_pointer<Ret>::value ? pybind11::return_value_policy::reference
                                     : pybind11::return_value_policy::automatic;
}

template <typename Ret, typename Call, size_t... I>
void Define(QuantumCircuitClass& cls, const DefaultValues& defaults, const char* name,
            const char* doc, const Call& call, const std::vector<const char*>& params,
            std::index_sequence<I...>) {
  cls.def(name, call, doc, ResultPolicy<Ret>(), Param(defaults, params[I])...);
}

// `call` takes the circuit as Held<QuantumCircuit>, so that None, any
// non-circuit and a circuit instance that holds no circuit all match no
// overload as self.
template <typename Ret, typename... Args, typename Call>
MethodRow MakeRow(Signature<Ret, Args...>, const char* name, const char* doc, Call call,
                  std::vector<const char*> params) {
  return [=](QuantumCircuitClass& cls, const DefaultValues& defaults) {
    if (params.size() != sizeof...(Args)) {
      pybind11::pybind11_fail(std::string("QuantumCircuit.") + name +
                              ": the parameter names do not match the bound function");
    }
    Define<Ret>(cls, defaults, name, doc, call, params, std::index_sequence_for<Args...>{});
  };
}

}  // namespace method_table_detail

namespace method_table_detail {

// The row of a member function of QuantumCircuit (const or not) taking Args
// and returning Ret.
template <typename Ret, typename... Args, typename Member>
MethodRow MemberRow(const char* name, const char* doc, Member member,
                    std::vector<const char*> params) {
  auto call = [member](Held<QuantumCircuit> self,
                       typename FromPython<Args>::Type... args) -> Ret {
    return (self.object->*member)(
        FromPython<Args>::Convert(std::forward<typename FromPython<Args>::Type>(args))...);
  };
  return MakeRow(Signature<Ret, typename FromPython<Args>::Type...>{}, name, doc, call,
                 std::move(params));
}

}  // namespace method_table_detail

// A row for one overload that calls a member function of QuantumCircuit;
// `params` names its parameters after self, in order.
template <typename Ret, typename... Args>
MethodRow Method(const char* name, const char* doc, Ret (QuantumCircuit::*member)(Args...),
                 std::vector<const char*> params) {
  return method_table_detail::MemberRow<Ret, Args...>(name, doc, member, std::move(params));
}

template <typename Ret, typename... Args>
MethodRow Method(const char* name, const char* doc,
                 Ret (QuantumCircuit::*member)(Args...) const,
                 std::vector<const char*> params) {
  return method_table_detail::MemberRow<Ret, Args...>(name, doc, member, std::move(params));
}

// A row for the three overloads of a one-qubit gate method, in overload
// order: on one qubit, on a list of qubits, on a QuantumRegister. `angles`
// names the gate's real parameters, which come first in every form; the
// qubit operand follows, then label.
template <typename OnQubit, typename OnList, typename OnRegister>
MethodRow OneQubitGate(const char* name, const char* doc, std::vector<const char*> angles,
                       OnQubit on_qubit, OnList on_list, OnRegister on_register) {
  auto params = [&angles](const char* operand) {
    std::vector<const char*> names = angles;
    names.push_back(operand);
    names.push_back("label");
    return names;
  };
  MethodTable forms = {
      Method(name, doc, on_qubit, params("qubit")),
      Method(name, doc, on_list, params("qubit_vector")),
      Method(name, doc, on_register, params("qr")),
  };
  return [forms](QuantumCircuitClass& cls, const DefaultValues& defaults) {
    BindTable(cls, defaults, forms);
  };
}

}  // namespace taviron::python

#endif
