#ifndef TAVIRON_FOUNDATION_COMPOSITE_KIND_H
#define TAVIRON_FOUNDATION_COMPOSITE_KIND_H

#include "foundation/gate_record.h"

namespace taviron {

// Which composite a record is, for everything that reads records: the name
// lookups of the record itself, the drawer's painters and the OpenQASM
// writer. A composite record (GateId::kComposite) is of a kind when its
// label reads the kind's name in any mix of upper and lower case (only the
// ASCII letters count as letters), whoever made it: a builder, an attached
// circuit of that name, or a gate of an OpenQASM text. Every other record,
// and a composite of any other label, is of kind kNone. Whether a composite
// also holds the body that its builder makes is the circuit's question
// (HoldsFixedBody in circuit/fixed_composite_steps.h).
enum class CompositeKind {
  kNone,
  kCcx,
  kCcz,
  kCy,
  kCswap,
  kRccx,
  kRc3x,
  kC3sqrtx,
  kC3x,
  kC4x,
  kMcphase,
  kMcrx,
  kMcry,
  kMcrz,
  kMcx,
};

CompositeKind CompositeKindOf(const GateRecord& record);

// The kind's name in lower case ("ccx", ..., "mcx"); "" for kNone.
const char* CompositeKindName(CompositeKind kind);

}  // namespace taviron

#endif
