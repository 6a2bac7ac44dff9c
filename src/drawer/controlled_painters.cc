// Painters of controlled gates: a target box or label joined to control
// dots by a vertical line.

#include <algorithm>

#include "drawer/box_glyphs.h"
#include "drawer/drawing_texts.h"
#include "drawer/text_canvas.h"

namespace taviron {

// The box on wire t joined at column k to the control dot on wire c: a tee
// on the box's top (control above) or bottom (control below) border, the
// other wires of the box's columns, and the vertical line to the dot.
void TextCanvas::JoinControlToBox(uint64_t c, uint64_t t, uint64_t k, uint64_t x,
                                  uint64_t width, bool control_above) {
  if (control_above) {
    Put(TopRow(t), k, glyph::kTeeUp);
  } else {
    Put(BottomRow(t), k, glyph::kTeeDown);
  }
  DrawWiresExcept(t, t, x, width);
  if (control_above) {
    PutColumn(k, BottomRow(c), TopRow(t) - 1, glyph::kVertical);
  } else {
    PutColumn(k, BottomRow(t) + 1, TopRow(c), glyph::kVertical);
  }
  Put(WireRow(c), k, glyph::kControl);
}

uint64_t TextCanvas::DrawControlledGate(const GateRecord& record,
                                        uint64_t control, uint64_t target,
                                        uint64_t x,
                                        const std::vector<double>& params,
                                        const std::string& label) {
  return control < target
             ? DrawControlledGateControlAbove(record, control, target, x, params, label)
             : DrawControlledGateControlBelow(record, control, target, x, params, label);
}

uint64_t TextCanvas::DrawControlledGateControlAbove(
    const GateRecord& record, uint64_t c, uint64_t t, uint64_t x,
    const std::vector<double>& params, const std::string& label) {
  return DrawControlledTarget(record, c, t, x, params, label, true);
}

uint64_t TextCanvas::DrawControlledGateControlBelow(
    const GateRecord& record, uint64_t c, uint64_t t, uint64_t x,
    const std::vector<double>& params, const std::string& label) {
  return DrawControlledTarget(record, c, t, x, params, label, false);
}

// The target box on wire t with the vertical line to the control dot on
// wire c, leaving the box at its top (control above) or bottom (control
// below); a condition's line leaves downwards from the box or from the
// control, whichever is lower.
uint64_t TextCanvas::DrawControlledTarget(const GateRecord& record, uint64_t c,
                                          uint64_t t, uint64_t x,
                                          const std::vector<double>& params,
                                          const std::string& label,
                                          bool control_above) {
  const uint64_t b = DrawSingleQubitGate(record, t, x, params, label, true, false);
  const uint64_t k = x + b / 2;
  const std::string condition = ConditionText(record);
  const uint64_t lc = condition.size();
  const uint64_t width = b / 2 < lc ? b / 2 + lc : b;
  if (measuring) return width;

  JoinControlToBox(c, t, k, x, width, control_above);
  if (record.conditioned) {
    if (control_above) {
      Put(BottomRow(t), k, glyph::kTeeDown);
      PutColumn(k, BottomRow(t) + 1, ClassicalRow() - 1, glyph::kVertical);
    } else {
      PutColumn(k, BottomRow(c), ClassicalRow() - 1, glyph::kVertical);
    }
    PutText(LastRow(), k, condition);
    PutRun(WireRow(t), x + b, k + lc, glyph::kWire);
    Put(ClassicalRow(), k, glyph::kConditionJoin);
  }
  return width;
}

uint64_t TextCanvas::DrawControlledLabel(uint64_t control, uint64_t target,
                                         uint64_t x, const std::string& label) {
  return control < target ? DrawLabelBoxControlAbove(control, target, x, label)
                          : DrawLabelBoxControlBelow(control, target, x, label);
}

uint64_t TextCanvas::DrawLabelBoxControlAbove(uint64_t c, uint64_t t,
                                              uint64_t x, const std::string& s) {
  const uint64_t width = DrawBox(t, x, s);
  if (measuring) return width;
  JoinControlToBox(c, t, x + width / 2, x, width, true);
  return width;
}

uint64_t TextCanvas::DrawLabelBoxControlBelow(uint64_t c, uint64_t t,
                                              uint64_t x, const std::string& s) {
  const uint64_t width = DrawBox(t, x, s);
  if (measuring) return width;
  JoinControlToBox(c, t, x + width / 2, x, width, false);
  return width;
}

uint64_t TextCanvas::DrawToffoli(const GateRecord& record, uint64_t c1,
                                 uint64_t c2, uint64_t t, uint64_t x) {
  // r1 is the control the label box's line starts from: the farther one
  // when both lie below the target, else the upper one.
  const bool both_below = c1 > t && c2 > t;
  const bool both_above = c1 < t && c2 < t;
  const uint64_t r1 = both_below ? std::max(c1, c2) : std::min(c1, c2);
  const uint64_t r2 = both_below ? std::min(c1, c2) : std::max(c1, c2);
  const uint64_t b = DrawControlledLabel(r1, t, x, "X");
  const uint64_t k = x + b / 2;
  const std::string condition = ConditionText(record);
  const uint64_t lc = condition.size();
  const uint64_t width = b / 2 < lc ? b / 2 + lc : b;
  if (measuring) return width;

  if (!both_below && !both_above) {
    // The target lies between the controls.
    Put(BottomRow(t), k, glyph::kTeeDown);
    PutColumn(k, BottomRow(t) + 1, TopRow(r2), glyph::kVertical);
  }
  Put(WireRow(r2), k, glyph::kControl);
  if (record.conditioned) {
    const uint64_t low = std::max({r1, r2, t});
    Put(BottomRow(low), k, low == t ? glyph::kTeeDown : glyph::kVertical);
    PutText(LastRow(), k, condition);
    for (uint64_t wire : {r1, r2, t}) PutRun(WireRow(wire), x + b, k + lc, glyph::kWire);
    gate_wires.push_back(r1);
    gate_wires.push_back(r2);
    gate_wires.push_back(t);
    DrawIdleWires(gate_wires, x, k + lc);
    // Filling the idle wires cut the line where it crosses a wire between
    // the gate's own wires: restore it there.
    const uint64_t high = std::min({r1, r2, t});
    for (uint64_t wire = high + 1; wire < low; ++wire) {
      if (wire != r1 && wire != r2 && wire != t) Put(WireRow(wire), k, glyph::kVertical);
    }
    PutColumn(k, BottomRow(low) + 1, ClassicalRow() - 1, glyph::kVertical);
    Put(ClassicalRow(), k, glyph::kConditionJoin);
  }
  return width;
}

uint64_t TextCanvas::DrawCcz(const GateRecord& record, uint64_t a, uint64_t b,
                             uint64_t c, uint64_t x) {
  const std::string condition = ConditionText(record);
  const uint64_t lc = condition.size();
  const uint64_t width = record.conditioned ? lc + 2 : 3;
  if (measuring) return width;

  uint64_t wires[3] = {a, b, c};
  std::sort(wires, wires + 3);
  for (uint64_t wire : wires) {
    Put(WireRow(wire), x, glyph::kWire);
    Put(WireRow(wire), x + 1, glyph::kControl);
    Put(WireRow(wire), x + 2, glyph::kWire);
  }
  DrawIdleWires({a, b, c}, x, x + width);
  PutColumn(x + 1, BottomRow(wires[0]), TopRow(wires[1]), glyph::kVertical);
  PutColumn(x + 1, BottomRow(wires[1]), TopRow(wires[2]), glyph::kVertical);
  if (record.conditioned) {
    PutText(LastRow(), x + 1, condition);
    for (uint64_t wire : wires) PutRun(WireRow(wire), x + 2, x + width, glyph::kWire);
    PutColumn(x + 1, BottomRow(wires[2]), ClassicalRow() - 1, glyph::kVertical);
    Put(ClassicalRow(), x + 1, glyph::kConditionJoin);
  }
  return width;
}

uint64_t TextCanvas::DrawMultiControlledGate(const GateRecord& record,
                                             const std::vector<uint64_t>& controls,
                                             uint64_t t, uint64_t x,
                                             const std::vector<double>& params,
                                             const std::string& s) {
  const std::string u = s + ParameterText(params);
  std::vector<uint64_t> sorted = controls;
  std::sort(sorted.begin(), sorted.end());
  std::vector<uint64_t> above;
  std::vector<uint64_t> below;
  for (uint64_t c : sorted) {
    if (c < t) above.push_back(c);
    if (c > t) below.push_back(c);
  }
  const uint64_t first = above.empty() ? below.front() : above.front();
  const uint64_t b = DrawControlledLabel(first, t, x, u);
  const uint64_t k = x + b / 2;
  const std::string condition = ConditionText(record);
  const uint64_t lc = condition.size();
  const uint64_t width = b / 2 < lc ? b / 2 + lc : b;
  if (measuring) return width;

  for (size_t i = 1; i < above.size(); ++i) Put(WireRow(above[i]), k, glyph::kControl);
  std::vector<uint64_t> used = above;
  used.insert(used.end(), below.begin(), below.end());
  used.push_back(t);
  DrawIdleWires(used, x, x + width);
  if (!below.empty()) {
    Put(BottomRow(t), k, glyph::kTeeDown);
    PutColumn(k, BottomRow(t) + 1, TopRow(below.back()), glyph::kVertical);
    for (uint64_t c : below) Put(WireRow(c), k, glyph::kControl);
  }
  if (!above.empty()) {
    PutColumn(k, WireRow(above.front()), TopRow(t) - 1, glyph::kVertical);
    Put(TopRow(t), k, glyph::kTeeUp);
    for (uint64_t c : above) Put(WireRow(c), k, glyph::kControl);
  }
  if (record.conditioned) {
    int64_t start = 0;
    if (!below.empty()) {
      start = BottomRow(below.back());
      Put(start, k, glyph::kVertical);
    } else {
      start = BottomRow(t);
      Put(start, k, glyph::kTeeDown);
    }
    PutText(LastRow(), k, condition);
    for (uint64_t wire : used) PutRun(WireRow(wire), x + b, x + width, glyph::kWire);
    PutColumn(k, start + 1, ClassicalRow() - 1, glyph::kVertical);
    Put(ClassicalRow(), k, glyph::kConditionJoin);
  }
  return width;
}

}  // namespace taviron
