// The step tables of the fixed composites. The last four follow the gate
// definitions of the OpenQASM 2.0 standard library record for record.

#include "circuit/fixed_composite_steps.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace taviron {

namespace {

using Step = DecompositionStep;
using G = GateId;

// Operand positions of a three-qubit composite.
constexpr int kC1 = 0;
constexpr int kC2 = 1;
constexpr int kT = 2;

// Operand positions of a triple-controlled composite.
constexpr int kQ1 = 0;
constexpr int kQ2 = 1;
constexpr int kQ3 = 2;
constexpr int kQT = 3;

// `middle` with `edge` appended before and after it.
std::vector<Step> Surround(const Step& edge, const std::vector<Step>& middle) {
  std::vector<Step> body;
  body.reserve(middle.size() + 2);
  body.push_back(edge);
  body.insert(body.end(), middle.begin(), middle.end());
  body.push_back(edge);
  return body;
}

// `steps` with operand position `from` moved to `to`.
std::vector<Step> Moved(std::vector<Step> steps, int from, int to) {
  for (Step& step : steps) {
    if (step.first == from) step.first = to;
    if ((step.gate == G::kCX || step.gate == G::kCU1) && step.second == from) {
      step.second = to;
    }
  }
  return steps;
}

// The parameters a step's record carries, as its appender records them.
std::vector<double> StepParameters(const Step& step) {
  switch (step.gate) {
    case G::kP:
    case G::kU1:
    case G::kCU1:
      return {step.lambda};
    case G::kU2:
      return {step.phi, step.lambda};
    default:
      return {};
  }
}

std::vector<uint64_t> StepQubits(const Step& step, const std::vector<uint64_t>& operands) {
  const uint64_t first = operands[static_cast<size_t>(step.first)];
  if (step.gate == G::kCX || step.gate == G::kCU1) {
    return {first, operands[static_cast<size_t>(step.second)]};
  }
  return {first};
}

}  // namespace

const std::vector<Step>& CcxSteps() {
  static const std::vector<Step> steps = {
      {G::kH, kT},       {G::kCX, kC2, kT}, {G::kTdg, kT},      {G::kCX, kC1, kT},
      {G::kT, kT},       {G::kCX, kC2, kT}, {G::kTdg, kT},      {G::kCX, kC1, kT},
      {G::kT, kC2},      {G::kT, kT},       {G::kH, kT},        {G::kCX, kC1, kC2},
      {G::kT, kC1},      {G::kTdg, kC2},    {G::kCX, kC1, kC2},
  };
  return steps;
}

const std::vector<Step>& CczSteps() {
  static const std::vector<Step> steps = Surround({G::kH, kT}, CcxSteps());
  return steps;
}

const std::vector<Step>& CswapSteps() {
  static const std::vector<Step> steps = Surround({G::kCX, 2, 1}, CcxSteps());
  return steps;
}

const std::vector<Step>& RccxSteps() {
  static const std::vector<Step> steps = {
      {G::kU2, kT, 0, 0.0, kPi},          {G::kU1, kT, 0, 0.0, kQuarterPi},
      {G::kCX, kC2, kT},                  {G::kU1, kT, 0, 0.0, -kQuarterPi},
      {G::kCX, kC1, kT},                  {G::kU1, kT, 0, 0.0, kQuarterPi},
      {G::kCX, kC2, kT},                  {G::kU1, kT, 0, 0.0, -kQuarterPi},
      {G::kU2, kT, 0, 0.0, kPi},
  };
  return steps;
}

const std::vector<Step>& RelativePhaseC3XSteps() {
  static const std::vector<Step> steps = {
      {G::kU2, kQT, 0, 0.0, kPi},      {G::kU1, kQT, 0, 0.0, kQuarterPi},
      {G::kCX, kQ3, kQT},              {G::kU1, kQT, 0, 0.0, -kQuarterPi},
      {G::kU2, kQT, 0, 0.0, kPi},      {G::kCX, kQ1, kQT},
      {G::kU1, kQT, 0, 0.0, kQuarterPi}, {G::kCX, kQ2, kQT},
      {G::kU1, kQT, 0, 0.0, -kQuarterPi}, {G::kCX, kQ1, kQT},
      {G::kU1, kQT, 0, 0.0, kQuarterPi}, {G::kCX, kQ2, kQT},
      {G::kU1, kQT, 0, 0.0, -kQuarterPi}, {G::kU2, kQT, 0, 0.0, kPi},
      {G::kU1, kQT, 0, 0.0, kQuarterPi}, {G::kCX, kQ3, kQT},
      {G::kU1, kQT, 0, 0.0, -kQuarterPi}, {G::kU2, kQT, 0, 0.0, kPi},
  };
  return steps;
}

const std::vector<Step>& C3SqrtXSteps() {
  static const std::vector<Step> steps = [] {
    // (control of the cu1, its angle, the cx that follows it).
    struct Round {
      int control;
      double angle;
      int cx_control;
      int cx_target;
    };
    const Round rounds[] = {
        {kQ1, kEighthPi, kQ1, kQ2},  {kQ2, -kEighthPi, kQ1, kQ2},
        {kQ2, kEighthPi, kQ2, kQ3},  {kQ3, -kEighthPi, kQ1, kQ3},
        {kQ3, kEighthPi, kQ2, kQ3},  {kQ3, -kEighthPi, kQ1, kQ3},
        {kQ3, kEighthPi, -1, -1},
    };
    // Each round: h t; cu1; h t; then its cx (none after the last).
    std::vector<Step> list;
    for (const Round& round : rounds) {
      list.push_back({G::kH, kQT});
      list.push_back({G::kCU1, round.control, kQT, 0.0, round.angle});
      list.push_back({G::kH, kQT});
      if (round.cx_control >= 0) {
        list.push_back({G::kCX, round.cx_control, round.cx_target});
      }
    }
    return list;
  }();
  return steps;
}

const std::vector<Step>& C3XSteps() {
  constexpr double a = kEighthPi;
  static const std::vector<Step> steps = {
      {G::kH, kQT},
      {G::kP, kQ1, 0, 0.0, a},  {G::kP, kQ2, 0, 0.0, a},
      {G::kP, kQ3, 0, 0.0, a},  {G::kP, kQT, 0, 0.0, a},
      {G::kCX, kQ1, kQ2},       {G::kP, kQ2, 0, 0.0, -a},
      {G::kCX, kQ1, kQ2},       {G::kCX, kQ2, kQ3},
      {G::kP, kQ3, 0, 0.0, -a}, {G::kCX, kQ1, kQ3},
      {G::kP, kQ3, 0, 0.0, a},  {G::kCX, kQ2, kQ3},
      {G::kP, kQ3, 0, 0.0, -a}, {G::kCX, kQ1, kQ3},
      {G::kCX, kQ3, kQT},       {G::kP, kQT, 0, 0.0, -a},
      {G::kCX, kQ2, kQT},       {G::kP, kQT, 0, 0.0, a},
      {G::kCX, kQ3, kQT},       {G::kP, kQT, 0, 0.0, -a},
      {G::kCX, kQ1, kQT},       {G::kP, kQT, 0, 0.0, a},
      {G::kCX, kQ3, kQT},       {G::kP, kQT, 0, 0.0, -a},
      {G::kCX, kQ2, kQT},       {G::kP, kQT, 0, 0.0, a},
      {G::kCX, kQ3, kQT},       {G::kP, kQT, 0, 0.0, -a},
      {G::kCX, kQ1, kQT},       {G::kH, kQT},
  };
  return steps;
}

const std::vector<Step>& C4XSteps() {
  // On (c1, c2, c3, c4, t): the controlled phase of +pi/2 from c4 onto t
  // between two h on t, a triple-controlled X onto c4, the same with -pi/2,
  // the triple-controlled X again, and a triple-controlled square root of X
  // onto t.
  static const std::vector<Step> steps = [] {
    const auto edge = [](double angle) {
      return std::vector<Step>{{G::kH, 4}, {G::kCU1, 3, 4, 0.0, angle}, {G::kH, 4}};
    };
    std::vector<Step> list;
    for (const std::vector<Step>& part :
         {edge(kHalfPi), C3XSteps(), edge(-kHalfPi), C3XSteps(),
          Moved(C3SqrtXSteps(), kQT, 4)}) {
      list.insert(list.end(), part.begin(), part.end());
    }
    return list;
  }();
  return steps;
}

const std::vector<Step>* FixedCompositeSteps(CompositeKind kind) {
  struct Row {
    CompositeKind kind;
    const std::vector<Step>& (*steps)();
  };
  static const Row kRows[] = {
      {CompositeKind::kCcx, CcxSteps},
      {CompositeKind::kCcz, CczSteps},
      {CompositeKind::kCswap, CswapSteps},
      {CompositeKind::kRccx, RccxSteps},
      {CompositeKind::kRc3x, RelativePhaseC3XSteps},
      {CompositeKind::kC3sqrtx, C3SqrtXSteps},
      {CompositeKind::kC3x, C3XSteps},
      {CompositeKind::kC4x, C4XSteps},
  };
  for (const Row& row : kRows) {
    if (row.kind == kind) return &row.steps();
  }
  return nullptr;
}

bool HoldsSteps(const GateRecord& composite, const std::vector<DecompositionStep>& steps) {
  if (composite.gate_type != G::kComposite || composite.body.size() != steps.size()) {
    return false;
  }
  // The operand positions that the steps name must exist.
  int positions = 0;
  for (const Step& step : steps) {
    positions = std::max({positions, step.first + 1,
                          (step.gate == G::kCX || step.gate == G::kCU1) ? step.second + 1 : 0});
  }
  if (composite.qubits.size() != static_cast<size_t>(positions)) return false;
  for (size_t k = 0; k < steps.size(); ++k) {
    const GateRecord& record = *composite.body[k];
    if (record.gate_type != steps[k].gate || record.conditioned || !record.body.empty() ||
        !record.clbits.empty() || record.qubits != StepQubits(steps[k], composite.qubits) ||
        record.params != StepParameters(steps[k])) {
      return false;
    }
  }
  return true;
}

bool HoldsFixedBody(const GateRecord& composite) {
  const std::vector<Step>* steps = FixedCompositeSteps(CompositeKindOf(composite));
  return steps != nullptr && HoldsSteps(composite, *steps);
}

}  // namespace taviron
