#include "execution/parameter_check.h"

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/gate_id.h"

namespace taviron {

namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

GateRecordPtr Record(GateId gate_type, std::vector<double> params,
                     std::complex<double> entry = 1.0) {
  auto record = std::make_shared<GateRecord>();
  record->gate_type = gate_type;
  record->params = std::move(params);
  record->matrix = MatrixXcd::Identity(2, 2);
  record->matrix(1, 1) = entry;
  return record;
}

struct CheckCase {
  const char* what;
  GateRecordList gates;
  std::string expected;  // "" when the run may go on
};

TEST(ParameterCheckTest, NamesTheFirstGateWithANonFiniteValue) {
  auto rx = [](double angle) { return Record(GateId::kRX, {angle}); };
  auto composite = std::make_shared<GateRecord>();
  composite->gate_type = GateId::kComposite;
  composite->body = {rx(0.5), rx(-kInf)};
  const std::string rx_name = rx(0)->GetName();
  const std::vector<CheckCase> cases = {
      {"finite", {rx(0.5), rx(-3)}, ""},
      {"nan", {rx(0.5), rx(kNan)}, "The gate " + rx_name + " has a parameter that is not a finite number (nan); the job was not run."},
      {"inf", {rx(kInf)}, "The gate " + rx_name + " has a parameter that is not a finite number (inf); the job was not run."},
      {"in a body", {composite}, "The gate " + rx_name + " has a parameter that is not a finite number (-inf); the job was not run."},
      {"matrix", {Record(GateId::kRX, {0.5}, {0, kNan})},
       "The gate " + rx_name + " has a matrix entry that is not a finite number (nan); the job was not run."},
      {"empty", {}, ""},
  };
  for (const CheckCase& c : cases) {
    EXPECT_EQ(NonFiniteParameterReason(c.gates), c.expected) << c.what;
  }
}

}  // namespace

}  // namespace taviron
