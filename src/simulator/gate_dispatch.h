#ifndef TAVIRON_SIMULATOR_GATE_DISPATCH_H
#define TAVIRON_SIMULATOR_GATE_DISPATCH_H

#include <complex>
#include <cstdint>

#include "foundation/gate_id.h"

namespace taviron {

// What the engine does with a record, by its gate id.
enum class GateAction {
  kByQubitCount,    // a one-qubit matrix, or a two-qubit gate on a pair of sites
  kExchangeBlocks,  // x: the site's two blocks are exchanged
  kPhaseBlockOne,   // t, s, tdg, sdg: block 1 is scaled by a phase
  kNothing,         // i, id, barrier, u0
  kMeasure,         // starts a measurement run
  kReset,           // the qubit is reset to 0
  kComposite,       // the body runs as its own list
};

struct GateDispatch {
  GateAction action;
  std::complex<double> phase;  // kPhaseBlockOne only
};

// The action of a gate id (every id of the catalogue has one); an id
// outside the catalogue acts by qubit count.
const GateDispatch& LookupGateDispatch(GateId gate_type);

// What a two-site update does to the two-site tensor, by gate id.
enum class PairAction {
  kNone,                // only re-split the pair (swaps of sites, one-qubit and catalogue-only ids)
  kControlledExchange,  // cx: exchange the blocks where the control is 1
  kNegateBoth,          // cz: negate the block where both are 1
  kExchangeMiddle,      // swap: exchange the blocks 01 and 10
  kPhaseBoth,           // cu1: scale the block where both are 1 by e^(i angle)
  kGeneral,             // any other 4 x 4 matrix
};

PairAction LookupPairAction(GateId gate_type);

}  // namespace taviron

#endif
