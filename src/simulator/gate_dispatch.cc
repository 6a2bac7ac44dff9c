#include "simulator/gate_dispatch.h"

#include <array>

#include "foundation/gate_name_table.h"

namespace taviron {

namespace {

constexpr double kHalfSqrt2 = 0.7071067811865476;
constexpr size_t kIdCount = static_cast<size_t>(GateNumber(kLastGateId)) + 1;

// What the engine does with a record of one id, alone and as a two-site
// update.
struct SimulatorAction {
  GateDispatch gate;
  PairAction pair;
};

constexpr GateDispatch kByMatrix{GateAction::kByQubitCount, {}};
// A two-qubit gate without a shortcut of its own: its 4 x 4 matrix.
constexpr SimulatorAction kMatrixAction{kByMatrix, PairAction::kGeneral};

// A one-qubit shortcut, or an id that never reaches a two-site update as a
// gate (the one-qubit gates, the catalogue-only ids): a two-qubit record of
// it only brings its qubits together.
constexpr SimulatorAction OneQubit(GateAction action) { return {{action, {}}, PairAction::kNone}; }
constexpr SimulatorAction PhaseBlockOne(double re, double im) {
  return {{GateAction::kPhaseBlockOne, {re, im}}, PairAction::kNone};
}
constexpr SimulatorAction PairShortcut(PairAction pair) { return {kByMatrix, pair}; }

// The switch names every id and has no default (-Werror=switch), so a gate
// added to GateId does not compile until it is given its action here: a
// two-qubit gate without a shortcut takes kMatrixAction.
constexpr SimulatorAction ActionOf(GateId id) {
  switch (id) {
    case GateId::kX:
      return OneQubit(GateAction::kExchangeBlocks);
    case GateId::kT:
      return PhaseBlockOne(kHalfSqrt2, kHalfSqrt2);
    case GateId::kS:
      return PhaseBlockOne(0.0, 1.0);
    case GateId::kTdg:
      return PhaseBlockOne(kHalfSqrt2, -kHalfSqrt2);
    case GateId::kSdg:
      return PhaseBlockOne(0.0, -1.0);
    case GateId::kI:
    case GateId::kId:
    case GateId::kU0:
    case GateId::kBarrierSpare:
    case GateId::kBarrier:
      return OneQubit(GateAction::kNothing);
    case GateId::kMeasure:
      return OneQubit(GateAction::kMeasure);
    case GateId::kReset:
      return OneQubit(GateAction::kReset);
    case GateId::kComposite:
      return OneQubit(GateAction::kComposite);
    case GateId::kNone:
    case GateId::kH:
    case GateId::kSX:
    case GateId::kSXdg:
    case GateId::kP:
    case GateId::kR:
    case GateId::kRV:
    case GateId::kRX:
    case GateId::kRY:
    case GateId::kRZ:
    case GateId::kU:
    case GateId::kU1:
    case GateId::kU2:
    case GateId::kY:
    case GateId::kZ:
    case GateId::kCXSpare:
    case GateId::kCSwap:
    case GateId::kCCX:
    case GateId::kCCZ:
      return OneQubit(GateAction::kByQubitCount);
    case GateId::kCX:
      return PairShortcut(PairAction::kControlledExchange);
    case GateId::kCZ:
      return PairShortcut(PairAction::kNegateBoth);
    case GateId::kSwap:
      return PairShortcut(PairAction::kExchangeMiddle);
    case GateId::kCU1:
      return PairShortcut(PairAction::kPhaseBoth);  // its matrix holds the angle
    case GateId::kCY:
    case GateId::kCH:
    case GateId::kCP:
    case GateId::kCRX:
    case GateId::kCRY:
    case GateId::kCRZ:
    case GateId::kCS:
    case GateId::kCSdg:
    case GateId::kCSX:
    case GateId::kCU:
    case GateId::kCU3:
    case GateId::kDCX:
    case GateId::kECR:
    case GateId::kISwap:
    case GateId::kRXX:
    case GateId::kRYY:
    case GateId::kRZX:
    case GateId::kRZZ:
    case GateId::kEmpty:
      return kMatrixAction;
  }
  return kMatrixAction;
}

size_t Slot(GateId id) { return static_cast<size_t>(GateNumber(id)); }

// A fresh record's kNone has a slot too.
bool InCatalogueRange(GateId id) { return id == GateId::kNone || InGateCatalogue(id); }

// Both tables spread over every id once, so a lookup is one index.
struct DispatchIndex {
  std::array<GateDispatch, kIdCount> gates;
  std::array<PairAction, kIdCount> pairs;

  DispatchIndex() {
    for (size_t slot = 0; slot < kIdCount; ++slot) {
      const auto id = static_cast<GateId>(slot);
      gates[slot] = ActionOf(id).gate;
      pairs[slot] = ActionOf(id).pair;
    }
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
