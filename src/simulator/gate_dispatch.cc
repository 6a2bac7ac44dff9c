#include "simulator/gate_dispatch.h"

#include <array>
#include <vector>

namespace {

constexpr double kHalfSqrt2 = 0.7071067811865476;
constexpr int32_t kMaxGateType = 54;

struct GateDispatchRow {
  int32_t gate_type;
  GateDispatch dispatch;
};

// Every gate type with an action of its own; all others act by qubit count.
const std::vector<GateDispatchRow>& GateDispatchRows() {
  static const std::vector<GateDispatchRow> rows = {
      {2, {GateAction::kExchangeBlocks, {}}},
      {3, {GateAction::kNothing, {}}},
      {4, {GateAction::kNothing, {}}},
      {5, {GateAction::kPhaseBlockOne, {kHalfSqrt2, kHalfSqrt2}}},
      {6, {GateAction::kPhaseBlockOne, {0.0, 1.0}}},
      {7, {GateAction::kPhaseBlockOne, {kHalfSqrt2, -kHalfSqrt2}}},
      {8, {GateAction::kPhaseBlockOne, {0.0, -1.0}}},
      {41, {GateAction::kMeasure, {}}},
      {42, {GateAction::kNothing, {}}},
      {43, {GateAction::kNothing, {}}},
      {44, {GateAction::kReset, {}}},
      {53, {GateAction::kComposite, {}}},
      {54, {GateAction::kNothing, {}}},
  };
  return rows;
}

struct PairActionRow {
  int32_t gate_type;
  PairAction action;
};

const std::vector<PairActionRow>& PairActionRows() {
  static const std::vector<PairActionRow> rows = {
      {20, PairAction::kControlledExchange}, {21, PairAction::kGeneral},
      {22, PairAction::kNegateBoth},         {23, PairAction::kGeneral},
      {25, PairAction::kGeneral},            {26, PairAction::kGeneral},
      {27, PairAction::kGeneral},            {28, PairAction::kGeneral},
      {29, PairAction::kGeneral},            {30, PairAction::kGeneral},
      {31, PairAction::kGeneral},            {32, PairAction::kGeneral},
      {33, PairAction::kGeneral},            {34, PairAction::kGeneral},
      {35, PairAction::kGeneral},            {36, PairAction::kGeneral},
      {37, PairAction::kGeneral},            {38, PairAction::kGeneral},
      {39, PairAction::kGeneral},            {40, PairAction::kExchangeMiddle},
      {46, PairAction::kPhaseBoth},          {47, PairAction::kGeneral},
      {52, PairAction::kGeneral},
  };
  return rows;
}

// Both tables spread over the ids 0..54 once, so a lookup is one index.
struct DispatchIndex {
  std::array<GateDispatch, kMaxGateType + 1> gates;
  std::array<PairAction, kMaxGateType + 1> pairs;

  DispatchIndex() {
    gates.fill(GateDispatch{GateAction::kByQubitCount, {}});
    pairs.fill(PairAction::kNone);
    for (const GateDispatchRow& row : GateDispatchRows()) gates[row.gate_type] = row.dispatch;
    for (const PairActionRow& row : PairActionRows()) pairs[row.gate_type] = row.action;
  }
};

const DispatchIndex& Index() {
  static const DispatchIndex index;
  return index;
}

}  // namespace

const GateDispatch& LookupGateDispatch(int32_t gate_type) {
  static const GateDispatch kByQubitCount{GateAction::kByQubitCount, {}};
  if (gate_type < 0 || gate_type > kMaxGateType) return kByQubitCount;
  return Index().gates[static_cast<size_t>(gate_type)];
}

PairAction LookupPairAction(int32_t gate_type) {
  if (gate_type < 0 || gate_type > kMaxGateType) return PairAction::kNone;
  return Index().pairs[static_cast<size_t>(gate_type)];
}
