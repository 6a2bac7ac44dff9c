#ifndef TAVIRON_CIRCUIT_FIXED_COMPOSITE_STEPS_H
#define TAVIRON_CIRCUIT_FIXED_COMPOSITE_STEPS_H

#include <vector>

#include "circuit/decomposition_steps.h"
#include "foundation/composite_kind.h"
#include "foundation/gate_record.h"

namespace taviron {

// The bodies of the composites whose decomposition never changes, as step
// tables on operand positions. Their builders append these steps; the
// OpenQASM writer asks whether a composite still holds them.

// Toffoli on (c1, c2, t): 15 h, t, tdg and cx records.
const std::vector<DecompositionStep>& CcxSteps();
// Doubly controlled Z on (c1, c2, t): the Toffoli between two h on t.
const std::vector<DecompositionStep>& CczSteps();
// Controlled swap on (c, t1, t2): the Toffoli between two cx from t2 to t1.
const std::vector<DecompositionStep>& CswapSteps();
// Toffoli up to relative phases on (c1, c2, t): 9 u2, u1 and cx records.
const std::vector<DecompositionStep>& RccxSteps();
// Triple-controlled X up to relative phases on (c1, c2, c3, t).
const std::vector<DecompositionStep>& RelativePhaseC3XSteps();
// Triple-controlled square root of X on (c1, c2, c3, t).
const std::vector<DecompositionStep>& C3SqrtXSteps();
// Triple-controlled X on (c1, c2, c3, t).
const std::vector<DecompositionStep>& C3XSteps();
// Quadruple-controlled X on (c1, c2, c3, c4, t).
const std::vector<DecompositionStep>& C4XSteps();

// The steps of the fixed composite of `kind` (ccx, ccz, cswap, rccx, rc3x,
// c3sqrtx, c3x, c4x), or nullptr for a kind whose body is not fixed.
const std::vector<DecompositionStep>* FixedCompositeSteps(CompositeKind kind);

// Whether `composite` holds exactly `steps` on its own qubits, as its
// builder appends them: the same gates, operands and parameters, none of
// them conditioned. A composite of that label made any other way (a circuit
// of that name attached, a reader's gate of that name) does not.
bool HoldsSteps(const GateRecord& composite, const std::vector<DecompositionStep>& steps);

// Whether `composite` is a fixed composite by its kind (CompositeKindOf)
// and holds exactly the steps of that kind: the composite that the kind's
// builder makes, not a circuit or a text's gate that only bears its name.
bool HoldsFixedBody(const GateRecord& composite);

}  // namespace taviron

#endif
