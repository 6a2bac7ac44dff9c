#ifndef TAVIRON_DRAWER_BOX_GLYPHS_H
#define TAVIRON_DRAWER_BOX_GLYPHS_H

namespace taviron {

// The characters of a text drawing.
namespace glyph {

constexpr char16_t kBlank = u' ';
constexpr char16_t kWire = u'\u2500';            // ─ quantum wire
constexpr char16_t kClassicalWire = u'\u2550';   // ═ classical row
constexpr char16_t kVertical = u'\u2502';        // │
constexpr char16_t kTopLeft = u'\u250C';         // ┌
constexpr char16_t kTopRight = u'\u2510';        // ┐
constexpr char16_t kBottomLeft = u'\u2514';      // └
constexpr char16_t kBottomRight = u'\u2518';     // ┘
constexpr char16_t kTeeRight = u'\u251C';        // ├
constexpr char16_t kTeeLeft = u'\u2524';         // ┤
constexpr char16_t kTeeDown = u'\u252C';         // ┬
constexpr char16_t kTeeUp = u'\u2534';           // ┴
constexpr char16_t kControl = u'\u25A0';         // ■ control dot, wire marker
constexpr char16_t kSwapCross = u'\u2573';       // ╳
constexpr char16_t kBarrier = u'\u254E';         // ╎
constexpr char16_t kMeasureDown = u'\u2565';     // ╥
constexpr char16_t kMeasureLine = u'\u2551';     // ║
constexpr char16_t kMeasureJoin = u'\u2569';     // ╩
constexpr char16_t kConditionJoin = u'\u2567';   // ╧
constexpr char16_t kFoldEnd = u'\u00BB';         // »
constexpr char16_t kFoldStart = u'\u00AB';       // «

}  // namespace glyph

}  // namespace taviron

#endif
