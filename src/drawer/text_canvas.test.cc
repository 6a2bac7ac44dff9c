#include "drawer/text_canvas.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"
#include "drawer/testing/canvas_probe.h"
#include "drawer/testing/circuits.h"
#include "drawer/testing/drawing_capture.h"

namespace taviron {

namespace {

using namespace drawer_testing;

std::string Repeat(const std::string& text, int times) {
  std::string repeated;
  for (int k = 0; k < times; ++k) repeated += text;
  return repeated;
}

TEST(TextCanvasTest, BellCircuitWithMeasurements) {
  auto qc = BellCircuit();
  const TextCanvas canvas(*qc, true, true, 80);
  EXPECT_EQ(CanvasProbe::LabelWidth(canvas), 6u);
  EXPECT_EQ(CanvasProbe::EndColumn(canvas), 27u);
  EXPECT_EQ(CanvasProbe::FoldBreaks(canvas), std::vector<uint64_t>{27});
  EXPECT_EQ(Joined(PrintedRows(canvas)), BellDrawing());
}

TEST(TextCanvasTest, EmptyCircuitShowsLabelsAndMarkers) {
  auto qc = Circuit(2, 2);
  const TextCanvas canvas(*qc, true, true, 80);
  EXPECT_EQ(CanvasProbe::ColumnCount(canvas), 2u * (2 + 18));
  EXPECT_EQ(Joined(PrintedRows(canvas)),
            "        \n"
            "q[0]: ■ \n"
            "        \n"
            "q[1]: ■ \n"
            "        \n"
            "c: 2/ ■ \n"
            "        \n");
}

TEST(TextCanvasTest, WithoutClassicalBitsEveryWireIsQuantum) {
  QuantumCircuit qc(2, 0);
  qc.quantum_registers()[0]->name = "q";
  qc.classical_registers()[0]->name = "c";
  qc.x(1);
  EXPECT_EQ(Joined(Drawing(qc)),
            "             \n"
            "q[0]: ■───── \n"
            "       ┌───┐ \n"
            "q[1]: ■┤ X ├ \n"
            "       └───┘ \n");
}

TEST(TextCanvasTest, GatesShareColumnsUntilAWireRepeats) {
  // The reset box and the wider u box share a column and join their
  // borders; sx starts a new column on wire 0 and rx joins it.
  auto qc = Circuit(2, 2);
  qc->reset(0);
  qc->u(kPi, 0, kPi / 4, 1);
  qc->sx(0);
  qc->rx(kPi / 2, 1);
  EXPECT_EQ(Joined(Drawing(*qc)),
            "       ┌─────┐           ┌────┐       \n"
            "q[0]: ■┤ |0> ├───────────┤ Sx ├────── \n"
            "       ├─────┴──────────┐├────┴─────┐ \n"
            "q[1]: ■┤ U(pi, 0, pi/4) ├┤ RX(pi/2) ├ \n"
            "       └────────────────┘└──────────┘ \n"
            "c: 2/ ■══════════════════════════════ \n"
            "                                      \n");
}

TEST(TextCanvasTest, ConditionedGateKeepsItsWireOccupied) {
  auto qc = Circuit(3, 3);
  qc->h(0)->c_if_clbit(1, 1);
  qc->h(1);
  qc->h(0);
  EXPECT_EQ(Joined(Drawing(*qc)),
            "       ┌───┐           ┌───┐ \n"
            "q[0]: ■┤ H ├───────────┤ H ├ \n"
            "       └─┬─┘      ┌───┐└───┘ \n"
            "q[1]: ■──│────────┤ H ├───── \n"
            "         │        └───┘      \n"
            "q[2]: ■──│────────────────── \n"
            "         │                   \n"
            "c: 3/ ■══╧══════════════════ \n"
            "         c[1] == 1           \n");
}

TEST(TextCanvasTest, BarriersWithAndWithoutPlotting) {
  auto qc = Circuit(3, 3);
  qc->h(0);
  qc->barrier();
  qc->x(1);
  struct Case {
    bool plot_barriers;
    const char* drawing;
  };
  const Case cases[] = {
      {true,
       "       ┌───┐ ╎       \n"
       "q[0]: ■┤ H ├─╎────── \n"
       "       └───┘ ╎ ┌───┐ \n"
       "q[1]: ■──────╎─┤ X ├ \n"
       "             ╎ └───┘ \n"
       "q[2]: ■──────╎────── \n"
       "             ╎       \n"
       "c: 3/ ■═════════════ \n"
       "                     \n"},
      // Undrawn barriers take no columns but still close the gate column.
      {false,
       "       ┌───┐      \n"
       "q[0]: ■┤ H ├───── \n"
       "       └───┘┌───┐ \n"
       "q[1]: ■─────┤ X ├ \n"
       "            └───┘ \n"
       "q[2]: ■────────── \n"
       "                  \n"
       "c: 3/ ■══════════ \n"
       "                  \n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Joined(Drawing(*qc, c.plot_barriers)), c.drawing)
        << "plot_barriers " << c.plot_barriers;
  }
}

TEST(TextCanvasTest, IdleWiresChangesNothing) {
  auto qc = BellCircuit();
  qc->barrier();
  EXPECT_EQ(PrintedRows(TextCanvas(*qc, false, true, 80)),
            PrintedRows(TextCanvas(*qc, true, true, 80)));
}

TEST(TextCanvasTest, FoldStartsANewSegmentWithLabels) {
  auto qc = BellCircuit();
  const TextCanvas canvas(*qc, true, true, 25);
  EXPECT_EQ(CanvasProbe::FoldBreaks(canvas), (std::vector<uint64_t>{17, 36}));
  EXPECT_EQ(Joined(PrintedRows(canvas)),
            "       ┌───┐     »\n"
            "q[0]: ■┤ H ├──■──»\n"
            "       └───┘┌─┴─┐»\n"
            "q[1]: ■─────┤ X ├»\n"
            "            └───┘»\n"
            "c: 2/ ■══════════»\n"
            "                 »\n"
            "«       ┌───┐      \n"
            "«q[0]: ■┤ M ├───── \n"
            "«       └─╥─┘┌───┐ \n"
            "«q[1]: ■──║──┤ M ├ \n"
            "«         ║  └─╥─┘ \n"
            "«c: 2/ ■══╩════╩══ \n"
            "«         0    1   \n");
}

TEST(TextCanvasTest, DefaultFoldBreaksSeventyColumnsIntoASegment) {
  // w = 3: records start at column 8 and every 5 columns; the first record
  // that would start at column 70 or later (73) folds, and so does the
  // first one 70 or more columns after that break (143).
  auto qc = Circuit(2, 2, "qr");
  qc->classical_registers()[0]->name = "cr";
  for (int k = 0; k < 30; ++k) qc->h(0);
  const TextCanvas canvas(*qc, true, true, 80);
  EXPECT_EQ(CanvasProbe::FoldBreaks(canvas), (std::vector<uint64_t>{73, 143, 178}));
  const std::vector<std::string> rows = PrintedRows(canvas);
  ASSERT_EQ(rows.size(), 21u);
  EXPECT_EQ(rows[1], "qr[0]: ■" + Repeat("┤ H ├", 13) + "»");
  EXPECT_EQ(rows[8], "«qr[0]: ■" + Repeat("┤ H ├", 12) + "»");
  EXPECT_EQ(rows[19], "«cr: 2/ ■" + Repeat("═", 25) + " ");
}

TEST(TextCanvasTest, FoldsThatNeverFold) {
  auto qc = Circuit(1, 1);
  for (int k = 0; k < 40; ++k) qc->h(0);
  const std::vector<std::string> unfolded = Drawing(*qc, true, -1);
  ASSERT_EQ(unfolded.size(), 5u);
  for (int fold : {-7, 0, 1, 9, 10}) {
    EXPECT_EQ(Drawing(*qc, true, fold), unfolded) << "fold " << fold;
  }
  const TextCanvas canvas(*qc, true, true, 5);
  EXPECT_EQ(CanvasProbe::ColumnCount(canvas), 40 * 5 + 2 * (2 + 18u));
}

TEST(TextCanvasTest, DrawingWiderThanItsEstimateStaysWhole) {
  // Long register names make the drawing pass fold far more often than the
  // measuring pass counted; the rows widen as needed.
  auto qc = Circuit(2, 2, std::string(30, 'r'));
  for (int k = 0; k < 12; ++k) qc->cx(k % 2, 1 - k % 2);
  const TextCanvas canvas(*qc, true, true, 45);
  const std::vector<std::string> rows = PrintedRows(canvas);
  ASSERT_EQ(rows.size(), 7 * CanvasProbe::FoldBreaks(canvas).size());
  EXPECT_GT(CanvasProbe::FoldBreaks(canvas).size(), 2u);
  for (const std::u16string& row : CanvasProbe::Rows(canvas)) {
    EXPECT_EQ(row.size(), CanvasProbe::ColumnCount(canvas));
  }
  for (size_t k = 0; k + 7 < rows.size(); ++k) {
    EXPECT_EQ(rows[k].substr(rows[k].size() - 2), "»") << k;
  }
  EXPECT_EQ(rows[rows.size() - 6], "«" + std::string(30, 'r') + "[0]: ■┤ X ├ ");
}

TEST(TextCanvasTest, LabelsShareTheWidestNameAndCount) {
  QuantumRegister q(1, "q");
  AncillaRegister a(1, "anc");
  ClassicalRegister c(2, "meas");
  std::vector<RegisterArgument> args = {&q, &a, &c};
  QuantumCircuit qc(args);
  const std::vector<std::string> rows = Drawing(qc);
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(rows[1], "q[0]:    ■ ");
  EXPECT_EQ(rows[3], "anc[0]:  ■ ");
  EXPECT_EQ(rows[5], "meas: 2/ ■ ");
}

TEST(TextCanvasTest, NarrowTextsAreWidenedBytewise) {
  auto qc = Circuit(1, 1, "\xE9");
  TextCanvas canvas(*qc, true, true, 80);
  EXPECT_EQ(CanvasProbe::Rows(canvas)[1].substr(0, 5), u"\uFFE9[0]:");
}

}  // namespace

}  // namespace taviron
