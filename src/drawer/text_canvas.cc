// Canvas construction, column layout, folding and the wire fillers.

#include "drawer/text_canvas.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "circuit/quantum_circuit.h"
#include "drawer/box_glyphs.h"
#include "drawer/drawing_texts.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

// Folding needs a threshold of at least one column: fold 0 to 10 (and any
// negative fold) draw one segment.
constexpr int64_t kSmallestFold = 11;

enum class Placement { kSingle, kBarrier, kOwnColumn };

Placement Classify(const GateRecord& record) {
  if (record.qubits.size() != 1 || record.gate_type == GateId::kMeasure ||
      record.conditioned) {
    return Placement::kOwnColumn;
  }
  if (IsBarrier(record.gate_type)) {
    return Placement::kBarrier;
  }
  return Placement::kSingle;
}

bool Contains(const std::vector<uint64_t>& wires, uint64_t wire) {
  return std::find(wires.begin(), wires.end(), wire) != wires.end();
}

template <class Registers>
uint64_t LongestName(const Registers& registers, uint64_t longest) {
  for (const auto& reg : registers) {
    longest = std::max<uint64_t>(longest, reg->name.size());
  }
  return longest;
}

}  // namespace

TextCanvas::TextCanvas(const QuantumCircuit& circuit, bool idle_wires,
                       bool plot_barriers, int32_t fold)
    : plot_barriers(plot_barriers),
      idle_wires(idle_wires),
      fold(fold),
      circuit(&circuit) {
  // 1. Label width: the longest register name and the wider of the qubit
  // and classical-bit counts.
  uint64_t longest = LongestName(circuit.quantum_registers(), 0);
  longest = LongestName(circuit.ancilla_registers(), longest);
  longest = LongestName(circuit.classical_registers(), longest);
  const uint64_t w =
      longest + std::max(DecimalDigits(circuit.num_qubits()),
                         DecimalDigits(circuit.num_clbits()));

  // 2. Wires.
  has_classical_row = circuit.num_clbits() != 0;
  wire_count = circuit.num_qubits() + circuit.num_ancillas() +
               (has_classical_row ? 1 : 0);
  measuring = true;
  label_width = 0;

  // 3. Measuring pass.
  const uint64_t measured = Layout(circuit, 0);

  // 4, 5. Geometry and the estimated width; rows grow when the drawing
  // pass needs more.
  row_count = 2 * wire_count + 1;
  label_width = w + 4;
  const uint64_t divisor = static_cast<uint64_t>(this->fold) - 10;
  const uint64_t segments = divisor == 0 ? 1 : measured / divisor + 1;
  column_count = measured + segments * (w + 18) + w + 18;

  // 6. Allocation.
  try {
    rows.assign(row_count, std::u16string(column_count, glyph::kBlank));
  } catch (const std::bad_alloc&) {
    throw RunTimeError("Error allocating memory in depth");
  } catch (const std::length_error&) {
    throw RunTimeError("Error allocating memory in depth");
  }

  // 7. Wire labels, left out when wider than w + 3.
  int64_t row = 1;
  const auto label = [&](const std::string& text) {
    if (text.size() <= w + 3) PutText(row, 0, text);
    row += 2;
  };
  for (const auto& reg : circuit.quantum_registers()) {
    for (int32_t i = 0; i < reg->size; ++i) {
      label(reg->name + "[" + std::to_string(i) + "]:");
    }
  }
  for (const auto& reg : circuit.ancilla_registers()) {
    for (int32_t i = 0; i < reg->size; ++i) {
      label(reg->name + "[" + std::to_string(i) + "]:");
    }
  }
  if (has_classical_row) {
    row = ClassicalRow();
    const std::string name = circuit.classical_registers().empty()
                                 ? std::string()
                                 : circuit.classical_registers().front()->name;
    label(name + ": " + std::to_string(circuit.num_clbits()) + "/");
  }
  for (uint64_t wire = 0; wire < wire_count; ++wire) {
    Put(WireRow(wire), w + 4, glyph::kControl);
  }

  // 8, 9. Drawing pass.
  measuring = false;
  end_column = Layout(circuit, w + 5);
  fold_breaks.push_back(end_column);
}

uint64_t TextCanvas::Layout(const QuantumCircuit& circuit,
                            uint64_t start_column) {
  uint64_t col = start_column;  // start of the current column
  uint64_t a = 0;               // width of the current column
  uint64_t segment_start = 0;
  uint64_t segment_first_column = UINT64_MAX;
  gate_wires.clear();
  barrier_wires.clear();
  fold_breaks.clear();

  const auto close = [&](std::vector<uint64_t>& wires) {
    DrawIdleWires(wires, col, col + a);
    wires.clear();
  };
  const auto close_current = [&]() {
    if (!barrier_wires.empty()) {
      close(barrier_wires);
    } else if (!gate_wires.empty()) {
      close(gate_wires);
    }
  };

  for (const GateRecordPtr& pointer : circuit.gates()) {
    const GateRecord& record = *pointer;
    const Placement placement = Classify(record);
    if (placement == Placement::kOwnColumn) {
      close_current();
      col += a;
      a = 0;
      col = FoldTest(col, segment_start, segment_first_column);
      col += DrawInstruction(record, col);
      continue;
    }
    const uint64_t q = record.qubits.front();
    std::vector<uint64_t>& own = placement == Placement::kSingle
                                     ? gate_wires
                                     : barrier_wires;
    std::vector<uint64_t>& other = placement == Placement::kSingle
                                       ? barrier_wires
                                       : gate_wires;
    if (!own.empty() && Contains(own, q)) {
      // The wire is taken in this column: start the next one.
      close(own);
      col += a;
      col = FoldTest(col, segment_start, segment_first_column);
      a = DrawInstruction(record, col);
      own = {q};
    } else if (!own.empty()) {
      // The record joins the current column.
      col = FoldTest(col, segment_start, segment_first_column);
      const uint64_t m = DrawInstruction(record, col);
      if (m > a) ExtendWires(own, col + a, m - a);
      if (m < a) ExtendWires({q}, col + m, a - m);
      a = std::max(a, m);
      own.push_back(q);
    } else {
      close(other);
      col += a;
      col = FoldTest(col, segment_start, segment_first_column);
      a = DrawInstruction(record, col);
      own = {q};
    }
  }
  close_current();
  return col + a;
}

uint64_t TextCanvas::FoldTest(uint64_t column, uint64_t& segment_start,
                              uint64_t& segment_first_column) {
  if (fold < kSmallestFold) return column;
  // A segment keeps at least the column its first record was placed in,
  // however small the fold.
  if (column == segment_first_column) return column;
  const uint64_t distance = column - segment_start;
  if (distance < static_cast<uint64_t>(fold) - 10) return column;
  fold_breaks.push_back(column);
  const uint64_t width = DrawFoldSeparator(column);
  segment_start = column;
  segment_first_column = column + width - 1;
  return segment_first_column;
}

uint64_t TextCanvas::DrawFoldSeparator(uint64_t column) {
  if (measuring) return label_width + 2;
  for (int64_t row = 0; row < static_cast<int64_t>(row_count); ++row) {
    Put(row, column, glyph::kFoldEnd);
    Put(row, column + 1, glyph::kFoldStart);
  }
  for (uint64_t wire = 0; wire < wire_count; ++wire) {
    const int64_t row = WireRow(wire);
    for (uint64_t k = 0; k <= label_width; ++k) {
      Put(row, column + 2 + k, At(row, k));
    }
  }
  return label_width + 4;
}

void TextCanvas::FillClassicalRow(uint64_t from, uint64_t to) {
  if (has_classical_row) PutRun(ClassicalRow(), from, to, glyph::kClassicalWire);
}

void TextCanvas::DrawWiresExcept(uint64_t wire_a, uint64_t wire_b,
                                 uint64_t column, uint64_t count) {
  if (measuring) return;
  for (uint64_t wire = 0; wire < wire_count; ++wire) {
    if (IsQuantumWire(wire) && wire != wire_a && wire != wire_b) {
      PutRun(WireRow(wire), column, column + count, glyph::kWire);
    }
  }
  FillClassicalRow(column, column + count);
}

void TextCanvas::DrawIdleWires(const std::vector<uint64_t>& wires,
                               uint64_t from, uint64_t to) {
  if (measuring) return;
  for (uint64_t wire = 0; wire < wire_count; ++wire) {
    if (IsQuantumWire(wire) && !Contains(wires, wire)) {
      PutRun(WireRow(wire), from, to, glyph::kWire);
    }
  }
  FillClassicalRow(from, to);
}

void TextCanvas::ExtendWires(const std::vector<uint64_t>& wires,
                             uint64_t start, uint64_t count) {
  if (measuring) return;
  for (uint64_t wire : wires) {
    PutRun(WireRow(wire), start, start + count, glyph::kWire);
  }
}

void TextCanvas::DrawWiresOutside(uint64_t low_wire, uint64_t high_wire,
                                  uint64_t column, uint64_t count) {
  if (measuring) return;
  for (uint64_t wire = 0; wire < wire_count; ++wire) {
    if (IsQuantumWire(wire) && (wire < low_wire || wire > high_wire)) {
      PutRun(WireRow(wire), column, column + count, glyph::kWire);
    }
  }
  FillClassicalRow(column, column + count);
}

char16_t TextCanvas::At(int64_t row, uint64_t column) const {
  if (row < 0 || static_cast<uint64_t>(row) >= rows.size()) return glyph::kBlank;
  const std::u16string& line = rows[static_cast<size_t>(row)];
  return column < line.size() ? line[column] : glyph::kBlank;
}

void TextCanvas::Put(int64_t row, uint64_t column, char16_t glyph) {
  if (row < 0 || static_cast<uint64_t>(row) >= rows.size()) return;
  if (column >= column_count) {
    // Past the estimated width: widen every row alike.
    column_count = std::max(column + 1, column_count + column_count / 2);
    for (std::u16string& line : rows) line.resize(column_count, glyph::kBlank);
  }
  rows[static_cast<size_t>(row)][column] = glyph;
}

void TextCanvas::PutText(int64_t row, uint64_t column, const std::string& text) {
  const std::u16string wide = Widen(text);
  for (size_t k = 0; k < wide.size(); ++k) Put(row, column + k, wide[k]);
}

void TextCanvas::PutRun(int64_t row, uint64_t from, uint64_t to, char16_t glyph) {
  for (uint64_t column = from; column < to; ++column) Put(row, column, glyph);
}

void TextCanvas::PutColumn(uint64_t column, int64_t first_row, int64_t last_row,
                           char16_t glyph) {
  for (int64_t row = first_row; row <= last_row; ++row) Put(row, column, glyph);
}

std::string TextCanvas::ConditionText(const GateRecord& record) const {
  if (!record.conditioned) return "";
  std::string left;
  if (record.condition_on_clbit) {
    const auto place = circuit->FindClbitRegister(
        static_cast<int64_t>(record.condition_clbit));
    left = place.second + "[" + std::to_string(place.first) + "]";
  } else if (record.condition_register) {
    left = record.condition_register->RegisterName();
  }
  return left + " == " + std::to_string(record.condition_value);
}

}  // namespace taviron
