#ifndef TAVIRON_FOUNDATION_GATE_H
#define TAVIRON_FOUNDATION_GATE_H

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "foundation/gate_record.h"

namespace taviron {

// The classical bits and registers that a handle's records may be
// conditioned on: those of the circuit that appended them. Each check
// throws RunTimeError when that circuit has no such bit or register.
class ConditionTargets {
 public:
  virtual ~ConditionTargets();
  virtual void RequireClbit(uint64_t clbit) const = 0;
  virtual void RequireRegister(const ConditionRegisterView& cr) const = 0;
};

// The handle that a gate method returns: the call's label and the records
// that the call appended to the circuit's own instruction list, shared with
// that list. Holding a handle keeps its records alive; releasing it leaves
// them as they are.
class Gate {
 public:
  std::string label;
  GateRecordList records;
  // What c_if may name, given by the circuit that made the handle; none for
  // a handle made on its own (which holds no records).
  std::shared_ptr<const ConditionTargets> condition_targets;

  explicit Gate(std::string label = "");
  Gate(const Gate&) = default;
  Gate& operator=(const Gate&) = default;
  virtual ~Gate();

  // Conditions every record of the handle on the value of a classical
  // register. The register object itself is kept, not a copy. A register
  // that is not the circuit's is refused before anything changes.
  void c_if(std::shared_ptr<const ConditionRegisterView> cr, uint64_t val);
  // Conditions every record of the handle on one classical bit. A bit that
  // the circuit does not have is refused before anything changes.
  void c_if_clbit(uint64_t clbit, uint64_t val);
};

// The 60 handle classes, in registration order. Each only gives a gate
// method's result a class identity of its own.
#define TAVIRON_GATE_HANDLE_CLASSES(X) \
  X(HGate) X(XGate) X(IGate) X(TGate) X(SGate) X(TdgGate) X(SdgGate)      \
  X(SXGate) X(SXdgGate) X(YGate) X(ZGate) X(PhaseGate) X(RGate)          \
  X(RVGate) X(RXGate) X(RYGate) X(RZGate) X(UGate) X(U0Gate) X(U1Gate)   \
  X(U2Gate) X(U3Gate) X(CXGate) X(CYGate) X(CZGate) X(CHGate) X(CSGate)  \
  X(CSdgGate) X(CSXGate) X(CPGate) X(CRXGate) X(CRYGate) X(CRZGate)      \
  X(CUGate) X(RXXGate) X(RYYGate) X(RZXGate) X(RZZGate) X(DCXGate)       \
  X(ECRGate) X(ISWAPGate) X(SWAPGate) X(CU1Gate) X(CU3Gate) X(CCXGate)   \
  X(MCXGate) X(CCZGate) X(CSWAPGate) X(PAULIGate) X(RCCXGate) X(MCPGate) \
  X(MCRXGate) X(MCRYGate) X(MCRZGate) X(GMSGate) X(RCCCXGate)           \
  X(C3SQRTX) X(MeasGate) X(ResetGate) X(UserGate)

#define TAVIRON_DECLARE_GATE_HANDLE(Name)                           \
  class Name : public Gate {                                        \
   public:                                                          \
    explicit Name(std::string label = "") : Gate(std::move(label)) {} \
  };
TAVIRON_GATE_HANDLE_CLASSES(TAVIRON_DECLARE_GATE_HANDLE)
#undef TAVIRON_DECLARE_GATE_HANDLE

}  // namespace taviron

#endif
