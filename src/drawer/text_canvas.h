#ifndef TAVIRON_DRAWER_TEXT_CANVAS_H
#define TAVIRON_DRAWER_TEXT_CANVAS_H

#include <cstdint>
#include <string>
#include <vector>

#include "drawer/wide_output_sink.h"
#include "foundation/gate_record.h"

namespace taviron {

class QuantumCircuit;

namespace drawer_testing {
class CanvasProbe;
}  // namespace drawer_testing

// The text drawing of one circuit: one row per wire with a gap row between
// neighbouring wires and one more row below the last wire, a label column at
// the left, and the instruction records laid out from left to right, folded
// into segments. Constructing the canvas lays out and paints the whole
// drawing; Print hands it out row by row.
//
// Wire k is row 2k + 1: the qubits in global index order, then one classical
// row for all classical bits when the circuit has any. The last row carries
// classical-bit numbers and condition texts.
class TextCanvas {
 public:
  // Throws RunTimeError "Error allocating memory in depth" when the rows
  // cannot be allocated, and what a painter throws ("Unexpected gate
  // provided.", "Invalid Classical Bit Index: <i>").
  TextCanvas(const QuantumCircuit& circuit, bool idle_wires,
             bool plot_barriers, int32_t fold);

  // Hands every row of every segment to print, and when filename is not
  // empty also writes them to that file as UTF-16LE (byte-order mark, each
  // row followed by a line feed). Throws std::invalid_argument for a file
  // name that holds a NUL, and RunTimeError "Unable to open file for writing
  // circuit", both before anything is printed, when the file cannot be
  // opened; RunTimeError "Can't write the drawing to the file <name>." after
  // printing when writing it fails.
  void Print(const std::string& filename, const WideOutputSink& print) const;

 private:
  // The tests read the geometry (testing/canvas_probe.h).
  friend class drawer_testing::CanvasProbe;

  std::vector<std::u16string> rows;
  uint64_t row_count = 0;
  uint64_t column_count = 0;
  uint64_t wire_count = 0;
  bool has_classical_row = false;
  bool measuring = true;
  bool plot_barriers = true;
  bool idle_wires = true;  // kept from the draw call; changes nothing
  uint64_t label_width = 0;
  uint64_t end_column = 0;
  int64_t fold = 80;
  std::vector<uint64_t> gate_wires;
  std::vector<uint64_t> barrier_wires;
  std::vector<uint64_t> fold_breaks;
  const QuantumCircuit* circuit = nullptr;

  // Lays out every instruction record from start_column (painting it unless
  // measuring); returns the first column after the drawing.
  uint64_t Layout(const QuantumCircuit& circuit, uint64_t start_column);
  // Paints one record with its left edge at column (measures it while
  // measuring); returns the columns it takes.
  uint64_t DrawInstruction(const GateRecord& record, uint64_t column);
  uint64_t DrawFoldSeparator(uint64_t column);

  // Wire fillers; they write nothing while measuring.
  void DrawWiresExcept(uint64_t wire_a, uint64_t wire_b, uint64_t column,
                       uint64_t count);
  void DrawIdleWires(const std::vector<uint64_t>& wires, uint64_t from,
                     uint64_t to);
  void ExtendWires(const std::vector<uint64_t>& wires, uint64_t start,
                   uint64_t count);
  void DrawWiresOutside(uint64_t low_wire, uint64_t high_wire, uint64_t column,
                        uint64_t count);

  // Painters: each returns its width in columns.
  uint64_t DrawBox(uint64_t wire, uint64_t column, const std::string& label);
  uint64_t DrawSingleQubitGate(const GateRecord& record, uint64_t wire,
                               uint64_t column,
                               const std::vector<double>& params,
                               const std::string& label, bool odd_width,
                               bool draw_condition);
  uint64_t DrawControlledGate(const GateRecord& record, uint64_t control,
                              uint64_t target, uint64_t column,
                              const std::vector<double>& params,
                              const std::string& label);
  uint64_t DrawControlledGateControlAbove(const GateRecord& record,
                                          uint64_t control, uint64_t target,
                                          uint64_t column,
                                          const std::vector<double>& params,
                                          const std::string& label);
  uint64_t DrawControlledGateControlBelow(const GateRecord& record,
                                          uint64_t control, uint64_t target,
                                          uint64_t column,
                                          const std::vector<double>& params,
                                          const std::string& label);
  uint64_t DrawControlledTarget(const GateRecord& record, uint64_t control,
                                uint64_t target, uint64_t column,
                                const std::vector<double>& params,
                                const std::string& label, bool control_above);
  uint64_t DrawControlledLabel(uint64_t control, uint64_t target,
                               uint64_t column, const std::string& label);
  uint64_t DrawLabelBoxControlAbove(uint64_t control, uint64_t target,
                                    uint64_t column, const std::string& label);
  uint64_t DrawLabelBoxControlBelow(uint64_t control, uint64_t target,
                                    uint64_t column, const std::string& label);
  uint64_t DrawMeasure(const GateRecord& record, uint64_t qubit,
                       uint64_t clbit, uint64_t column);
  uint64_t DrawSwap(const GateRecord& record, uint64_t wire_a, uint64_t wire_b,
                    uint64_t column);
  uint64_t DrawControlledSwap(const GateRecord& record, uint64_t control,
                              uint64_t wire_a, uint64_t wire_b,
                              uint64_t column);
  uint64_t DrawMultiWireBox(const GateRecord& record,
                            const std::vector<uint64_t>& qubits,
                            uint64_t column, const std::vector<double>& params,
                            const std::string& label,
                            const std::vector<std::string>& texts);
  uint64_t DrawZZ(const GateRecord& record, uint64_t wire_a, uint64_t wire_b,
                  const std::vector<double>& params, uint64_t column);
  uint64_t DrawBarrier(uint64_t wire, uint64_t column);
  uint64_t DrawToffoli(const GateRecord& record, uint64_t control1,
                       uint64_t control2, uint64_t target, uint64_t column);
  uint64_t DrawCcz(const GateRecord& record, uint64_t wire_a, uint64_t wire_b,
                   uint64_t wire_c, uint64_t column);
  uint64_t DrawMultiControlledGate(const GateRecord& record,
                                   const std::vector<uint64_t>& controls,
                                   uint64_t target, uint64_t column,
                                   const std::vector<double>& params,
                                   const std::string& label);

  // Cell access. Rows outside the grid are ignored on writing and read as
  // blank; a row grows (with the others) when a column past its end is
  // written.
  char16_t At(int64_t row, uint64_t column) const;
  void Put(int64_t row, uint64_t column, char16_t glyph);
  void PutText(int64_t row, uint64_t column, const std::string& text);
  // Columns from .. to - 1 of one row.
  void PutRun(int64_t row, uint64_t from, uint64_t to, char16_t glyph);
  // Rows first_row .. last_row (inclusive) of one column.
  void PutColumn(uint64_t column, int64_t first_row, int64_t last_row,
                 char16_t glyph);
  // A box joined to its control dot above or below it.
  void JoinControlToBox(uint64_t control, uint64_t target, uint64_t column,
                        uint64_t box_column, uint64_t width, bool control_above);
  // The two marked wires of a swap or ZZ column, joined by a vertical line.
  void MarkWirePair(uint64_t lo, uint64_t hi, uint64_t column, uint64_t width,
                    char16_t mark);

  static int64_t WireRow(uint64_t wire) { return 2 * static_cast<int64_t>(wire) + 1; }
  static int64_t TopRow(uint64_t wire) { return 2 * static_cast<int64_t>(wire); }
  static int64_t BottomRow(uint64_t wire) { return 2 * static_cast<int64_t>(wire) + 2; }
  // The classical row K and the last row Z.
  int64_t ClassicalRow() const { return 2 * static_cast<int64_t>(wire_count) - 1; }
  int64_t LastRow() const { return static_cast<int64_t>(row_count) - 1; }
  bool IsQuantumWire(uint64_t wire) const {
    return !has_classical_row || wire + 1 < wire_count;
  }
  void FillClassicalRow(uint64_t from, uint64_t to);

  // "" for an unconditioned record, else "c[1] == 1" or "c == 3".
  std::string ConditionText(const GateRecord& record) const;

  // Starts a new segment at column when it lies too far from the segment
  // start; returns the column where the record is then placed.
  uint64_t FoldTest(uint64_t column, uint64_t& segment_start,
                    uint64_t& segment_first_column);
};

}  // namespace taviron

#endif
