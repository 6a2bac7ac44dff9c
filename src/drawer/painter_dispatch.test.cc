#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/testing/circuit_internals.h"
#include "drawer/testing/circuits.h"
#include "drawer/testing/drawing_capture.h"
#include "drawer/text_canvas.h"
#include "foundation/exceptions.h"
#include "foundation/gate_name_table.h"

namespace taviron {

namespace {

using namespace drawer_testing;

TEST(PainterTest, CompositesAndMultiWireBoxes) {
  auto qc = Circuit(3, 3);
  qc->ccx(0, 1, 2);
  qc->ccx(2, 0, 1);                 // target between the controls
  qc->mcp(kPi / 4, {0, 2}, 1);      // controls above and below the target
  qc->dcx(2, 0);                    // positions in the qubit list
  qc->gms(0.5, {0, 1, 2});          // any other composite: a labelled box
  EXPECT_EQ(Joined(Drawing(*qc)),
            "                            ┌───────┐┌─────────────────┐ \n"
            "q[0]: ■──■────■───────■─────┤1      ├┤0                ├ \n"
            "         │  ┌─┴─┐┌────┴────┐│       ││                 │ \n"
            "q[1]: ■──■──┤ X ├┤ P(pi/4) ├┤  Dcx  ├┤1 Gms(0.500000)  ├ \n"
            "       ┌─┴─┐└─┬─┘└────┬────┘│       ││                 │ \n"
            "q[2]: ■┤ X ├──■───────■─────┤0      ├┤2                ├ \n"
            "       └───┘                └───────┘└─────────────────┘ \n"
            "c: 3/ ■═════════════════════════════════════════════════ \n"
            "                                                         \n");
}

TEST(PainterTest, SwapsZZControlledGatesPauliAndConditionedMeasure) {
  auto qc = Circuit(3, 3);
  qc->swap(0, 2);
  qc->rzz(kPi / 2, 0, 1);
  qc->cswap(1, 0, 2);
  qc->cp(kPi / 4, 1, 0);  // control below the target
  qc->ccz(0, 1, 2);
  qc->pauli({0, 2}, "XZ");
  qc->measure(2, 2)->c_if(qc->classical_registers()[0], 3);
  EXPECT_EQ(Joined(Drawing(*qc)),
            "                        ┌───────────┐   ┌─────────┐         \n"
            "q[0]: ■─╳──■──────────╳─┤ P(pi/4)   ├─■─┤Z        ├──────── \n"
            "        │  │ZZ(pi/2)  │ └─────┬─────┘ │ │         │         \n"
            "q[1]: ■─│──■──────────■───────■───────■─┤  Pauli  ├──────── \n"
            "        │             │               │ │         │┌───┐    \n"
            "q[2]: ■─╳─────────────╳───────────────■─┤X        ├┤ M ├─── \n"
            "                                        └─────────┘└─╥─┘2   \n"
            "c: 3/ ■══════════════════════════════════════════════╩═════ \n"
            "                                                     c == 3 \n");
}

TEST(PainterTest, ConditionedMultiQubitGates) {
  auto qc = Circuit(3, 3);
  qc->cx(0, 1)->c_if_clbit(0, 1);
  qc->ccx(0, 1, 2)->c_if_clbit(1, 0);
  qc->swap(0, 1)->c_if(qc->classical_registers()[0], 2);
  qc->rzz(kPi, 1, 2)->c_if_clbit(2, 1);
  qc->measure(0, 0)->c_if_clbit(1, 1);
  EXPECT_EQ(Joined(Drawing(*qc)),
            "                                               ┌───┐       \n"
            "q[0]: ■──■──────────■─────────╳────────────────┤ M ├────── \n"
            "       ┌─┴─┐        │         │                └─╥─┘       \n"
            "q[1]: ■┤ X ├────────■─────────╳───────■──────────║──────── \n"
            "       └─┬─┘      ┌─┴─┐       │       │ZZ(pi)    ║         \n"
            "q[2]: ■──│────────┤ X ├───────│───────■──────────║──────── \n"
            "         │        └─┬─┘       │       │          ║0        \n"
            "c: 3/ ■══╧══════════╧═════════╧═══════╧══════════╩════════ \n"
            "         c[0] == 1  c[1] == 0 c == 2  c[2] == 1  c[1] == 1 \n");
}

TEST(PainterTest, ConditionedBoxesControlsAndSwaps) {
  // The condition line leaves below the lowest wire the gate uses; its
  // text on the last row widens the gate's column.
  struct Case {
    const char* name;
    void (*build)(QuantumCircuit&);
    const char* drawing;
  };
  const Case cases[] = {
      {"multi-wire box", [](QuantumCircuit& qc) { qc.dcx(0, 2)->c_if_clbit(1, 1); },
       "       ┌───────┐      \n"
       "q[0]: ■┤0      ├───── \n"
       "       │       │      \n"
       "q[1]: ■┤  Dcx  ├───── \n"
       "       │       │      \n"
       "q[2]: ■┤1      ├───── \n"
       "       └───┬───┘      \n"
       "c: 3/ ■════╧═════════ \n"
       "           c[1] == 1  \n"},
      {"ccz", [](QuantumCircuit& qc) { qc.ccz(0, 1, 2)->c_if_clbit(1, 1); },
       "                   \n"
       "q[0]: ■─■───────── \n"
       "        │          \n"
       "q[1]: ■─■───────── \n"
       "        │          \n"
       "q[2]: ■─■───────── \n"
       "        │          \n"
       "c: 3/ ■═╧═════════ \n"
       "        c[1] == 1  \n"},
      {"cswap, control below", [](QuantumCircuit& qc) { qc.cswap(2, 0, 1)->c_if_clbit(1, 1); },
       "                   \n"
       "q[0]: ■─╳───────── \n"
       "        │          \n"
       "q[1]: ■─╳───────── \n"
       "        │          \n"
       "q[2]: ■─■───────── \n"
       "        │          \n"
       "c: 3/ ■═╧═════════ \n"
       "        c[1] == 1  \n"},
      {"cx, control below", [](QuantumCircuit& qc) { qc.cx(2, 0)->c_if_clbit(1, 1); },
       "       ┌───┐       \n"
       "q[0]: ■┤ X ├────── \n"
       "       └─┬─┘       \n"
       "q[1]: ■──│──────── \n"
       "         │         \n"
       "q[2]: ■──■──────── \n"
       "         │         \n"
       "c: 3/ ■══╧════════ \n"
       "         c[1] == 1 \n"},
      {"ccx, both controls below, then h on a control",
       [](QuantumCircuit& qc) {
         qc.ccx(1, 2, 0)->c_if_clbit(1, 1);
         qc.h(2);  // the gate's wires stay occupied: h starts a column
       },
       "       ┌───┐            \n"
       "q[0]: ■┤ X ├─────────── \n"
       "       └─┬─┘            \n"
       "q[1]: ■──■───────────── \n"
       "         │        ┌───┐ \n"
       "q[2]: ■──■────────┤ H ├ \n"
       "         │        └───┘ \n"
       "c: 3/ ■══╧═════════════ \n"
       "         c[1] == 1      \n"},
  };
  for (const Case& c : cases) {
    auto qc = Circuit(3, 3);
    c.build(*qc);
    EXPECT_EQ(Joined(Drawing(*qc)), c.drawing) << c.name;
  }

  auto four = Circuit(4, 4);
  four->mcp(kPi / 4, {0, 3}, 1)->c_if_clbit(1, 1);
  EXPECT_EQ(Joined(Drawing(*four)),
            "                      \n"
            "q[0]: ■─────■──────── \n"
            "       ┌────┴────┐    \n"
            "q[1]: ■┤ P(pi/4) ├─── \n"
            "       └────┬────┘    \n"
            "q[2]: ■─────│──────── \n"
            "            │         \n"
            "q[3]: ■─────■──────── \n"
            "            │         \n"
            "c: 4/ ■═════╧════════ \n"
            "            c[1] == 1 \n");
}

TEST(PainterTest, MultiControlledCompositesDrawnByLabel) {
  // Target labels Rc3x, C3sqrtx, X (c4x) and RX(pi): controls above, below,
  // and the line restored across idle wires between the controls.
  auto qc = Circuit(5, 5);
  qc->rc3x(0, 1, 2, 3);
  qc->c3sqrtx(3, 2, 1, 0);
  qc->mcx({0, 1, 2, 3}, 4);
  qc->mcrx(kPi, {4, 3}, 0);
  EXPECT_EQ(Joined(Drawing(*qc)),
            "                ┌─────────┐     ┌─────────┐ \n"
            "q[0]: ■────■────┤ C3sqrtx ├──■──┤ RX(pi)  ├ \n"
            "           │    └────┬────┘  │  └────┬────┘ \n"
            "q[1]: ■────■─────────■───────■───────│───── \n"
            "           │         │       │       │      \n"
            "q[2]: ■────■─────────■───────■───────│───── \n"
            "       ┌───┴───┐     │       │       │      \n"
            "q[3]: ■┤ Rc3x  ├─────■───────■───────■───── \n"
            "       └───────┘           ┌─┴─┐     │      \n"
            "q[4]: ■────────────────────┤ X ├─────■───── \n"
            "                           └───┘            \n"
            "c: 5/ ■════════════════════════════════════ \n"
            "                                            \n");
}

TEST(PainterTest, ConditionedToffoliLineCrossesAnIdleWire) {
  auto qc = Circuit(4, 4);
  qc->ccx(0, 1, 3)->c_if_clbit(0, 1);
  EXPECT_EQ(Joined(Drawing(*qc)),
            "                   \n"
            "q[0]: ■──■──────── \n"
            "         │         \n"
            "q[1]: ■──■──────── \n"
            "         │         \n"
            "q[2]: ■──│──────── \n"
            "       ┌─┴─┐       \n"
            "q[3]: ■┤ X ├────── \n"
            "       └─┬─┘       \n"
            "c: 4/ ■══╧════════ \n"
            "         c[0] == 1 \n");
}

TEST(PainterTest, ToffoliRecordAndCcxCompositeDrawnAlike) {
  auto composite = Circuit(3, 3);
  composite->ccx(2, 0, 1);
  auto plain = Circuit(3, 3);
  auto record = std::make_shared<GateRecord>();
  record->gate_type = GateId::kCCX;
  record->qubits = {2, 0, 1};
  plain->mutable_gates().push_back(record);
  EXPECT_EQ(Drawing(*plain), Drawing(*composite));
}

TEST(PainterTest, CompositeNamedLikeAGateItIsNotIsDrawnAsABox) {
  // A two-qubit circuit named "ccx" or "mcx" attached as a composite lacks
  // the qubits of a Toffoli or multi-controlled drawing.
  auto qc = Circuit(2, 2);
  auto other = Circuit(2, 2);
  CircuitInternals::SetName(*other, "ccx");
  other->h(0);
  qc->compose(*other);
  qc->append(*other, {1, 0}, {0, 1});
  EXPECT_EQ(Joined(Drawing(*qc)),
            "       ┌───────┐┌───────┐ \n"
            "q[0]: ■┤0      ├┤1      ├ \n"
            "       │  ccx  ││  ccx  │ \n"
            "q[1]: ■┤1      ├┤0      ├ \n"
            "       └───────┘└───────┘ \n"
            "c: 2/ ■══════════════════ \n"
            "                          \n");

  auto single = Circuit(1, 1);
  auto mcx = Circuit(1, 1);
  CircuitInternals::SetName(*mcx, "mcx");
  single->compose(*mcx);
  EXPECT_EQ(Drawing(*single)[1], "q[0]: ■┤0 mcx  ├ ");
}

TEST(PainterTest, RefusedRecordsStopTheDrawing) {
  struct Case {
    GateId gate_type;
    uint64_t condition_clbit;  // conditioned when below 100
    const char* message;
  };
  const Case cases[] = {
      {GateId::kNone, 100, "Unexpected gate provided."},
      {GateId::kEmpty, 100, "Unexpected gate provided."},
      {static_cast<GateId>(GateNumber(kLastGateId) + 1), 100, "Unexpected gate provided."},
      {GateId::kH, 9, "Invalid Classical Bit Index: 9"},
  };
  for (const Case& c : cases) {
    auto qc = Circuit(2, 2);
    qc->h(1);
    auto record = std::make_shared<GateRecord>();
    record->gate_type = c.gate_type;
    record->qubits = {0};
    if (c.condition_clbit < 100) {
      record->conditioned = true;
      record->condition_clbit = c.condition_clbit;
    }
    qc->mutable_gates().push_back(record);
    try {
      TextCanvas canvas(*qc, true, true, 80);
      ADD_FAILURE() << "drawn: gate type " << GateNumber(c.gate_type);
    } catch (const RunTimeError& e) {
      EXPECT_STREQ(e.what(), c.message) << "gate type " << GateNumber(c.gate_type);
    }
  }
}

// Every gate of the catalogue, on the qubits and with the parameters of its
// entry (a barrier on one), draws and leaves a mark on the wires; the one
// entry without a name is refused. Composites are drawn by their kind (above).
TEST(PainterTest, EveryCatalogueGateDraws) {
  const std::vector<uint64_t> qubits = {2, 0, 1};
  auto empty = Circuit(3, 1);
  const std::vector<std::string> blank = Drawing(*empty);
  for (const GateDescriptor& entry : kGateCatalogue) {
    if (entry.id == GateId::kComposite) continue;
    SCOPED_TRACE(std::to_string(GateNumber(entry.id)) + " " + std::string(entry.name));
    auto qc = Circuit(3, 1);
    auto record = std::make_shared<GateRecord>();
    record->gate_type = entry.id;
    record->qubits.assign(qubits.begin(),
                          qubits.begin() + static_cast<std::ptrdiff_t>(std::max<size_t>(entry.qubits, 1)));
    record->params.assign(entry.parameters, 0.5);
    if (entry.id == GateId::kMeasure) record->clbits = {0};
    qc->mutable_gates().push_back(record);
    if (entry.name.empty()) {
      EXPECT_THROW(Drawing(*qc), RunTimeError);
      continue;
    }
    EXPECT_NE(Drawing(*qc), blank);
  }
}

}  // namespace

}  // namespace taviron
