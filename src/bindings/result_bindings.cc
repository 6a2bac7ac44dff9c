// Result: the output of one job. Every read copies the native value under
// the result's own mutex (inside the core); the Python values are built from
// those copies afterwards, with no native mutex held.

#include <complex>
#include <memory>
#include <string>
#include <vector>

#include <pybind11/complex.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "bindings/held_object.h"
#include "bindings/module_registrations.h"
#include "execution/result.h"

namespace taviron::python {

namespace py = pybind11;

namespace {

py::dict CountsDict(const ShotCounts& counts) {
  py::dict dict;
  for (const auto& entry : counts) {
    dict[py::cast(entry.first)] = py::int_(entry.second);
  }
  return dict;
}

// [real part, imaginary part] per element: the form of the "statevector"
// and "amplitudes" entries of Result.data.
py::list RealImaginaryPairs(const ComplexVector& values) {
  py::list list;
  for (const std::complex<double>& value : values) {
    py::list pair;
    pair.append(value.real());
    pair.append(value.imag());
    list.append(std::move(pair));
  }
  return list;
}

py::dict ToDict(Held<Result> result) {
  const ResultDictionary contents = result->to_dict();
  py::dict dict;
  for (const auto& entry : contents.texts) {
    dict[py::cast(entry.first)] = py::cast(entry.second);
  }
  dict["results"] = py::cast(contents.results);
  return dict;
}

py::dict Data(Held<Result> result, int32_t experiment) {
  const ResultData contents = result->data(experiment);
  py::dict dict;
  dict["counts"] = CountsDict(contents.counts);
  if (contents.has_state) {
    dict["statevector"] = RealImaginaryPairs(contents.statevector);
    dict["probabilities"] = py::cast(contents.probabilities);
    dict["amplitudes"] = RealImaginaryPairs(contents.amplitudes);
    dict["densitymatrix"] = py::cast(contents.densitymatrix);
    dict["creg"] = py::cast(contents.creg);
  }
  return dict;
}

using ResultClass = py::class_<Result, std::shared_ptr<Result>>;

// A read-only attribute whose getter copies the field under the result's
// mutex; rendered like an attribute bound to a plain field.
template <typename Getter>
void ReadOnly(ResultClass& cls, const char* name, Getter getter) {
  cls.def_property_readonly(name, py::cpp_function(MethodOnObject(getter), py::is_method(cls)));
}

}  // namespace

void RegisterResult(py::module_& m) {
  ResultClass cls(m, "Result");
  cls.def(py::init([] { return std::make_shared<Result>(); }));
  ReadOnly(cls, "backend_name", &Result::backend_name);
  ReadOnly(cls, "backend_version", &Result::backend_version);
  ReadOnly(cls, "qobj_id", &Result::qobj_id);
  ReadOnly(cls, "job_id", &Result::job_id);
  ReadOnly(cls, "success", &Result::success);
  ReadOnly(cls, "results", &Result::results);
  ReadOnly(cls, "date", &Result::date);
  ReadOnly(cls, "status", &Result::status);
  ReadOnly(cls, "header", &Result::header);
  cls.def("to_dict", &ToDict, "Obtains a Python dictionary of the results")
      .def("data", &Data, "Obtains the experiment data")
      .def("get_memory", MethodOnObject(&Result::get_memory),
           "Gets a dictionar of the current memory variables")
      .def(
          "get_counts", [](Held<Result> result) { return CountsDict(result->get_counts()); },
          "Gets the count of the experiment")
      .def("get_statevector", MethodOnObject(&Result::get_statevector),
           "Gets the statevector of the referred qubits", py::arg("experiment") = 0,
           py::arg("decimals") = 0)
      .def("get_unitary", MethodOnObject(&Result::get_unitary),
           "Gets the unitary of the execution", py::arg("experiment") = 0,
           py::arg("decimals") = 0)
      .def(
          "from_dict", [](Held<Result> result, const py::dict&) { result->from_dict(); },
          "Imports a Python dictionary")
      .def("get_probabilities", MethodOnObject(&Result::get_probabilities),
           "Gets the probabilities", py::arg("experiment") = 0, py::arg("decimals") = 0)
      .def("get_densitymatrix", MethodOnObject(&Result::get_densitymatrix),
           "Gets the density matrix", py::arg("experiment") = 0, py::arg("decimals") = 0)
      .def("get_classicalregister", MethodOnObject(&Result::get_classicalregister),
           "Gets the classical register");
}

}  // namespace taviron::python
