// Painters of boxes on one wire or over several wires, measurements and
// barriers.

#include <algorithm>

#include "drawer/box_glyphs.h"
#include "drawer/drawing_texts.h"
#include "drawer/text_canvas.h"

namespace taviron {

uint64_t TextCanvas::DrawBox(uint64_t wire, uint64_t x, const std::string& s) {
  if (measuring) return s.size() + 4;
  const int64_t top = TopRow(wire);
  const int64_t mid = WireRow(wire);
  const int64_t bottom = BottomRow(wire);
  Put(top, x, At(top, x) == glyph::kBottomLeft ? glyph::kTeeRight : glyph::kTopLeft);
  Put(mid, x, glyph::kTeeLeft);
  Put(bottom, x, glyph::kBottomLeft);
  // A blank, the label, a blank, and one more blank for an even label, so
  // that the box has a centre column.
  std::string inside = " " + s + " ";
  if (s.size() % 2 == 0) inside += " ";
  const std::u16string wide = Widen(inside);
  uint64_t column = x + 1;
  for (char16_t c : wide) {
    Put(top, column, At(top, column) == glyph::kBottomRight ? glyph::kTeeUp : glyph::kWire);
    Put(mid, column, c);
    Put(bottom, column, glyph::kWire);
    ++column;
  }
  Put(top, column, At(top, column) == glyph::kBottomRight ? glyph::kTeeLeft : glyph::kTopRight);
  Put(mid, column, glyph::kTeeRight);
  Put(bottom, column, glyph::kBottomRight);
  return column + 1 - x;
}

uint64_t TextCanvas::DrawSingleQubitGate(const GateRecord& record, uint64_t q,
                                         uint64_t x,
                                         const std::vector<double>& params,
                                         const std::string& label,
                                         bool odd_width, bool draw_condition) {
  std::string t = label + ParameterText(params);
  if (t.size() > 5 && t.size() % 2 == 1) t += " ";
  const bool conditioned = record.conditioned && draw_condition;
  const std::string condition = conditioned ? ConditionText(record) : "";
  const uint64_t lc = condition.size();
  if (measuring) {
    const uint64_t a = std::max<uint64_t>(t.size(), lc) + 4;
    return a / 2 < lc ? lc + a / 2 : a;
  }

  const int64_t top = TopRow(q);
  const int64_t mid = WireRow(q);
  const int64_t bottom = BottomRow(q);
  // Corners and borders join those of boxes drawn on the neighbouring wires
  // in the same column.
  const char16_t above_left = At(top, x);
  Put(top, x, above_left == glyph::kBottomLeft ? glyph::kTeeRight
              : above_left == glyph::kWire     ? glyph::kTeeDown
                                               : glyph::kTopLeft);
  Put(mid, x, glyph::kTeeLeft);
  Put(bottom, x, At(bottom, x) == glyph::kTopLeft ? glyph::kTeeRight : glyph::kBottomLeft);
  std::string inside = " " + t + " ";
  if (odd_width && (inside.size() + 1) % 2 == 1) inside += " ";
  const std::u16string wide = Widen(inside);
  uint64_t column = x + 1;
  for (char16_t c : wide) {
    Put(top, column, At(top, column) == glyph::kBottomRight ? glyph::kTeeUp : glyph::kWire);
    Put(mid, column, c);
    Put(bottom, column, At(bottom, column) == glyph::kTopRight ? glyph::kTeeDown : glyph::kWire);
    ++column;
  }
  const char16_t above_right = At(top, column);
  Put(top, column, above_right == glyph::kBottomRight ? glyph::kTeeLeft
                   : above_right == glyph::kWire      ? glyph::kTeeDown
                                                      : glyph::kTopRight);
  Put(mid, column, glyph::kTeeRight);
  const char16_t below_right = At(bottom, column);
  Put(bottom, column, below_right == glyph::kTopLeft ? glyph::kTeeLeft
                      : below_right == glyph::kWire  ? glyph::kTeeUp
                                                     : glyph::kBottomRight);
  const uint64_t b = column + 1 - x;
  if (!conditioned) return b;

  const uint64_t k = x + b / 2;
  Put(bottom, k, glyph::kTeeDown);
  PutText(LastRow(), k, condition);
  const uint64_t end = std::max(x + b, k + lc);
  PutRun(mid, x + b, end, glyph::kWire);
  gate_wires.push_back(q);
  DrawIdleWires(gate_wires, x, end);
  PutColumn(k, mid + 2, ClassicalRow() - 1, glyph::kVertical);
  Put(ClassicalRow(), k, glyph::kConditionJoin);
  return end - x;
}

uint64_t TextCanvas::DrawMultiWireBox(const GateRecord& record,
                                      const std::vector<uint64_t>& qubits,
                                      uint64_t x,
                                      const std::vector<double>& params,
                                      const std::string& label,
                                      const std::vector<std::string>& texts) {
  const uint64_t top_wire = *std::min_element(qubits.begin(), qubits.end());
  const uint64_t bottom_wire = *std::max_element(qubits.begin(), qubits.end());
  uint64_t iw = 0;
  if (texts.empty()) {
    iw = DecimalDigits(bottom_wire);
  } else {
    for (const std::string& text : texts) iw = std::max<uint64_t>(iw, text.size());
  }
  std::string t = label + ParameterText(params);
  if (t.size() % 2 == 1) t += " ";
  const uint64_t n = iw + t.size() + 2;
  const uint64_t f = n + 1;
  const std::string condition = ConditionText(record);
  const uint64_t lc = condition.size();
  const uint64_t width = (f / 2 < lc ? lc + f / 2 : f) + 1;
  if (measuring) return width;

  const int64_t top = TopRow(top_wire);
  const int64_t bottom = BottomRow(bottom_wire);
  Put(top, x, glyph::kTopLeft);
  PutRun(top, x + 1, x + n + 1, glyph::kWire);
  Put(top, x + f, glyph::kTopRight);
  Put(bottom, x, glyph::kBottomLeft);
  PutRun(bottom, x + 1, x + n + 1, glyph::kWire);
  Put(bottom, x + f, glyph::kBottomRight);
  for (int64_t row = top + 1; row < bottom; ++row) {
    const bool wire_row = row % 2 == 1;
    Put(row, x, wire_row ? glyph::kTeeLeft : glyph::kVertical);
    Put(row, x + f, wire_row ? glyph::kTeeRight : glyph::kVertical);
  }
  // One text per qubit: the record's own texts, else the qubit's position.
  // A text list shorter than the qubit list leaves the rest unmarked.
  for (size_t k = 0; k < qubits.size(); ++k) {
    if (texts.empty()) {
      PutText(WireRow(qubits[k]), x + 1, std::to_string(k));
    } else if (k < texts.size()) {
      PutText(WireRow(qubits[k]), x + 1, texts[k]);
    }
  }
  PutText(static_cast<int64_t>(top_wire + bottom_wire + 1), x + iw + 2, t);
  DrawWiresOutside(top_wire, bottom_wire, x, width);
  if (record.conditioned) {
    const uint64_t k = x + (f + 1) / 2;
    Put(bottom, k, glyph::kTeeDown);
    PutText(LastRow(), k, condition);
    for (uint64_t wire = top_wire; wire <= bottom_wire; ++wire) {
      PutRun(WireRow(wire), x + f + 1, x + width, glyph::kWire);
    }
    PutColumn(k, bottom + 1, ClassicalRow() - 1, glyph::kVertical);
    Put(ClassicalRow(), k, glyph::kConditionJoin);
  }
  return width;
}

uint64_t TextCanvas::DrawMeasure(const GateRecord& record, uint64_t q,
                                 uint64_t c, uint64_t x) {
  const uint64_t b = DrawBox(q, x, "M");
  const uint64_t h = b / 2;
  const std::string bit = std::to_string(c);
  const std::string condition = ConditionText(record);
  const uint64_t longest = std::max(bit.size(), condition.size());
  const uint64_t width = h < longest ? h + longest : b;
  if (measuring) return width;

  Put(BottomRow(q), x + h, glyph::kMeasureDown);
  if (!record.conditioned) {
    PutText(LastRow(), x + h, bit);
  } else {
    // The bit number moves up to the gap row above the classical row, past
    // the measure box's own bottom when that lies there.
    const int64_t row = static_cast<int64_t>(row_count) - 3;
    const uint64_t start = At(row, x + h + 1) == glyph::kWire ? x + h + 3 : x + h + 1;
    PutText(row, start, bit);
    PutText(LastRow(), x + h, condition);
  }
  PutRun(WireRow(q), x + 2 * h + 1, x + width, glyph::kWire);
  DrawWiresExcept(q, q, x, width);
  PutColumn(x + h, WireRow(q) + 2, ClassicalRow() - 1, glyph::kMeasureLine);
  Put(ClassicalRow(), x + h, glyph::kMeasureJoin);
  return width;
}

uint64_t TextCanvas::DrawBarrier(uint64_t q, uint64_t x) {
  if (measuring) return 3;
  Put(WireRow(q), x, glyph::kWire);
  Put(WireRow(q), x + 2, glyph::kWire);
  PutColumn(x + 1, TopRow(q), BottomRow(q), glyph::kBarrier);
  return 3;
}

}  // namespace taviron
