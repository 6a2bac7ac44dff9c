#include "simulator/gate_dispatch.h"

#include <array>
#include <vector>

namespace taviron {

namespace {

constexpr double kHalfSqrt2 = 0.7071067811865476;
constexpr size_t kIdCount = static_cast<size_t>(GateNumber(kLastGateId)) + 1;

struct GateDispatchRow {
  GateId gate_type;
  GateDispatch dispatch;
};

// Every gate type with an action of its own; all others act by qubit count.
const std::vector<GateDispatchRow>& GateDispatchRows() {
  static const std::vector<GateDispatchRow> rows = {
      {GateId::kX, {GateAction::kExchangeBlocks, {}}},
      {GateId::kI, {GateAction::kNothing, {}}},
      {GateId::kId, {GateAction::kNothing, {}}},
      {GateId::kT, {GateAction::kPhaseBlockOne, {kHalfSqrt2, kHalfSqrt2}}},
      {GateId::kS, {GateAction::kPhaseBlockOne, {0.0, 1.0}}},
      {GateId::kTdg, {GateAction::kPhaseBlockOne, {kHalfSqrt2, -kHalfSqrt2}}},
      {GateId::kSdg, {GateAction::kPhaseBlockOne, {0.0, -1.0}}},
      {GateId::kMeasure, {GateAction::kMeasure, {}}},
      {GateId::kBarrierSpare, {GateAction::kNothing, {}}},
      {GateId::kBarrier, {GateAction::kNothing, {}}},
      {GateId::kReset, {GateAction::kReset, {}}},
      {GateId::kComposite, {GateAction::kComposite, {}}},
      {GateId::kU0, {GateAction::kNothing, {}}},
  };
  return rows;
}

struct PairActionRow {
  GateId gate_type;
  PairAction action;
};

const std::vector<PairActionRow>& PairActionRows() {
  static const std::vector<PairActionRow> rows = {
      {GateId::kCX, PairAction::kControlledExchange}, {GateId::kCY, PairAction::kGeneral},
      {GateId::kCZ, PairAction::kNegateBoth},         {GateId::kCH, PairAction::kGeneral},
      {GateId::kCP, PairAction::kGeneral},            {GateId::kCRX, PairAction::kGeneral},
      {GateId::kCRY, PairAction::kGeneral},            {GateId::kCRZ, PairAction::kGeneral},
      {GateId::kCS, PairAction::kGeneral},            {GateId::kCSdg, PairAction::kGeneral},
      {GateId::kCSX, PairAction::kGeneral},            {GateId::kCU, PairAction::kGeneral},
      {GateId::kDCX, PairAction::kGeneral},            {GateId::kECR, PairAction::kGeneral},
      {GateId::kISwap, PairAction::kGeneral},            {GateId::kRXX, PairAction::kGeneral},
      {GateId::kRYY, PairAction::kGeneral},            {GateId::kRZX, PairAction::kGeneral},
      {GateId::kRZZ, PairAction::kGeneral},            {GateId::kSwap, PairAction::kExchangeMiddle},
      {GateId::kCU1, PairAction::kPhaseBoth},          {GateId::kCU3, PairAction::kGeneral},
      {GateId::kEmpty, PairAction::kGeneral},
  };
  return rows;
}

size_t Slot(GateId id) { return static_cast<size_t>(GateNumber(id)); }

bool InCatalogueRange(GateId id) {
  return GateNumber(id) >= 0 && GateNumber(id) <= GateNumber(kLastGateId);
}

// Both tables spread over every id once, so a lookup is one index.
struct DispatchIndex {
  std::array<GateDispatch, kIdCount> gates;
  std::array<PairAction, kIdCount> pairs;

  DispatchIndex() {
    gates.fill(GateDispatch{GateAction::kByQubitCount, {}});
    pairs.fill(PairAction::kNone);
    for (const GateDispatchRow& row : GateDispatchRows()) gates[Slot(row.gate_type)] = row.dispatch;
    for (const PairActionRow& row : PairActionRows()) pairs[Slot(row.gate_type)] = row.action;
  }
};

const DispatchIndex& Index() {
  static const DispatchIndex index;
  return index;
}

}  // namespace

const GateDispatch& LookupGateDispatch(GateId gate_type) {
  static const GateDispatch kByQubitCount{GateAction::kByQubitCount, {}};
  if (!InCatalogueRange(gate_type)) return kByQubitCount;
  return Index().gates[Slot(gate_type)];
}

PairAction LookupPairAction(GateId gate_type) {
  if (!InCatalogueRange(gate_type)) return PairAction::kNone;
  return Index().pairs[Slot(gate_type)];
}

}  // namespace taviron
