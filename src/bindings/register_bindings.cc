// QuantumRegister, AncillaRegister and ClassicalRegister. None of their
// bindings names its parameters: sizes, names and item indices are taken by
// position only.

#include <memory>
#include <string>

#include <pybind11/pybind11.h>

#include "bindings/held_object.h"
#include "bindings/interpreter_access.h"
#include "bindings/module_registrations.h"
#include "circuit/registers.h"

namespace taviron::python {

namespace py = pybind11;

namespace {

// The release of a register that a Python object owns: its size leaves its
// kind's index counter, then the register is freed. (Copies inside circuits
// are released without touching the counter.)
template <typename Register>
struct PythonRegisterRelease {
  void operator()(Register* reg) const {
    SubtractRegisterFromCounter(*reg);
    delete reg;
  }
};

// A ClassicalRegister named by a condition is also held by the records that
// name it, so its last holder may be let go on a backend's worker thread.
// The counters belong to the Python thread: the worker takes the
// interpreter lock for the subtraction, and skips it once the interpreter
// shuts down.
struct SharedClassicalRegisterRelease {
  void operator()(ClassicalRegister* reg) const {
    RunWithInterpreter([reg] { SubtractRegisterFromCounter(*reg); });
    delete reg;
  }
};

template <typename Register>
using OwnedRegister = std::unique_ptr<Register, PythonRegisterRelease<Register>>;

// The five methods shared by the three register classes, with the texts of
// the class at hand.
struct RegisterTexts {
  const char* size;
  const char* name;
  const char* prefix;
};

template <typename Class>
void DefineRegisterMethods(Class& cls, const RegisterTexts& texts) {
  using Register = typename Class::type;
  cls.def("size", [](Held<Register> reg) { return reg->size; }, texts.size)
      .def("name", [](Held<Register> reg) { return reg->name; }, texts.name)
      .def("prefix", MethodOnObject(&Register::prefix), texts.prefix)
      .def("__len__", [](Held<Register> reg) { return reg->size; }, texts.size)
      .def("__getitem__", MethodOnObject(&Register::__getitem__),
           "Get item at the specified index");
}

template <typename Register>
void RegisterOwnedRegisterClass(py::module_& m, const char* python_name,
                                const RegisterTexts& texts) {
  py::class_<Register, OwnedRegister<Register>> cls(m, python_name);
  cls.def(py::init([](int32_t size) { return new Register(size, ""); }))
      .def(py::init([](int32_t size, const std::string& name) {
        return new Register(size, name);
      }));
  DefineRegisterMethods(cls, texts);
}

std::shared_ptr<ClassicalRegister> NewClassicalRegister(int32_t size,
                                                        const std::string& name) {
  return std::shared_ptr<ClassicalRegister>(new ClassicalRegister(size, name),
                                            SharedClassicalRegisterRelease());
}

}  // namespace

void RegisterRegisters(py::module_& m) {
  RegisterOwnedRegisterClass<QuantumRegister>(
      m, "QuantumRegister",
      {"Returns the number of qubits defined in this quantum register",
       "Returns the name of the quantum register",
       "Returns the prefix defined for the quantum register's name"});
  RegisterOwnedRegisterClass<AncillaRegister>(
      m, "AncillaRegister",
      {"Returns the number of qubits defined in this ancilla register",
       "Returns the name of the ancilla register",
       "Returns the prefix defined for the ancilla register's name"});

  py::class_<ClassicalRegister, std::shared_ptr<ClassicalRegister>> classical(
      m, "ClassicalRegister");
  classical.def(py::init([](int32_t size) { return NewClassicalRegister(size, ""); }))
      .def(py::init(&NewClassicalRegister));
  DefineRegisterMethods(classical,
                        {"Returns the number of qubits defined in this classical register",
                         "Returns the name of the classical register",
                         "Returns the prefix defined for the classical register's name"});
}

}  // namespace taviron::python
