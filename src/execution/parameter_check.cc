#include "execution/parameter_check.h"

#include <cmath>
#include <complex>

namespace taviron {

namespace {

bool Finite(const std::complex<double>& value) {
  return std::isfinite(value.real()) && std::isfinite(value.imag());
}

std::string Describe(double value) {
  if (std::isnan(value)) return "nan";
  return value > 0 ? "inf" : "-inf";
}

std::string Reason(const GateRecord& record, const std::string& what, double value) {
  return "The gate " + record.GetName() + " has " + what + " that is not a finite number (" +
         Describe(value) + "); the job was not run.";
}

}  // namespace

std::string NonFiniteParameterReason(const GateRecordList& gates) {
  for (const GateRecordPtr& record : gates) {
    for (double parameter : record->params) {
      if (!std::isfinite(parameter)) return Reason(*record, "a parameter", parameter);
    }
    for (Eigen::Index i = 0; i < record->matrix.size(); ++i) {
      const std::complex<double> entry = record->matrix.data()[i];
      if (!Finite(entry)) {
        return Reason(*record, "a matrix entry",
                      std::isfinite(entry.real()) ? entry.imag() : entry.real());
      }
    }
    std::string inner = NonFiniteParameterReason(record->body);
    if (!inner.empty()) return inner;
  }
  return "";
}

}  // namespace taviron
