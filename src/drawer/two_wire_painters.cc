// Painters of swaps and of the ZZ interaction: marks on two wires joined by
// a vertical line.

#include <algorithm>

#include "drawer/box_glyphs.h"
#include "drawer/drawing_texts.h"
#include "drawer/text_canvas.h"

namespace taviron {

// The mark at column x + 1 of wires lo and hi, with a wire segment on either
// side, the other wires of the column span, and the vertical line between
// the two marks.
void TextCanvas::MarkWirePair(uint64_t lo, uint64_t hi, uint64_t x, uint64_t width,
                              char16_t mark) {
  for (uint64_t wire : {lo, hi}) {
    Put(WireRow(wire), x, glyph::kWire);
    Put(WireRow(wire), x + 1, mark);
    Put(WireRow(wire), x + 2, glyph::kWire);
  }
  DrawWiresExcept(lo, hi, x, width);
  PutColumn(x + 1, BottomRow(lo), TopRow(hi), glyph::kVertical);
}

uint64_t TextCanvas::DrawSwap(const GateRecord& record, uint64_t a, uint64_t b,
                              uint64_t x) {
  const std::string condition = ConditionText(record);
  const uint64_t lc = condition.size();
  const uint64_t width = record.conditioned ? lc + 2 : 3;
  if (measuring) return width;

  const uint64_t lo = std::min(a, b);
  const uint64_t hi = std::max(a, b);
  MarkWirePair(lo, hi, x, width, glyph::kSwapCross);
  if (record.conditioned) {
    PutText(LastRow(), x + 1, condition);
    for (uint64_t wire : {lo, hi}) PutRun(WireRow(wire), x + 2, x + 2 + lc, glyph::kWire);
    PutColumn(x + 1, BottomRow(hi), ClassicalRow() - 1, glyph::kVertical);
    Put(ClassicalRow(), x + 1, glyph::kConditionJoin);
  }
  return width;
}

uint64_t TextCanvas::DrawControlledSwap(const GateRecord& record, uint64_t c,
                                        uint64_t a, uint64_t b, uint64_t x) {
  const uint64_t lo = std::min(a, b);
  const uint64_t hi = std::max(a, b);
  const uint64_t width = DrawSwap(record, lo, hi, x);
  if (measuring) return width;
  Put(WireRow(c), x + 1, glyph::kControl);
  if (c < lo) PutColumn(x + 1, BottomRow(c), TopRow(lo), glyph::kVertical);
  if (c > hi) PutColumn(x + 1, BottomRow(hi), TopRow(c), glyph::kVertical);
  return width;
}

uint64_t TextCanvas::DrawZZ(const GateRecord& record, uint64_t a, uint64_t b,
                            const std::vector<double>& params, uint64_t x) {
  const std::string t = "ZZ" + ParameterText(params);
  const std::string condition = ConditionText(record);
  const uint64_t lc = condition.size();
  const uint64_t width = std::max<uint64_t>(t.size() + 3, lc + 1);
  if (measuring) return width;

  const uint64_t lo = std::min(a, b);
  const uint64_t hi = std::max(a, b);
  MarkWirePair(lo, hi, x, width, glyph::kControl);
  for (uint64_t wire = lo; wire <= hi; ++wire) {
    PutRun(WireRow(wire), x + 2, x + width, glyph::kWire);
  }
  PutText(TopRow(hi), x + 2, t);
  if (record.conditioned) {
    PutText(LastRow(), x + 1, condition);
    PutColumn(x + 1, BottomRow(hi), ClassicalRow() - 1, glyph::kVertical);
    Put(ClassicalRow(), x + 1, glyph::kConditionJoin);
  }
  return width;
}

}  // namespace taviron
