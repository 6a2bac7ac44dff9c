#include "drawer/drawing_texts.h"

#include <gtest/gtest.h>

namespace taviron {

namespace {

TEST(DrawingTextsTest, WidenTakesEachByteAsSigned) {
  EXPECT_EQ(Widen("Ab 9"), u"Ab 9");
  EXPECT_EQ(Widen("\x7F\x80\xE9\xFF"), u"\u007F\uFF80\uFFE9\uFFFF");
  EXPECT_EQ(Widen(""), u"");
}

TEST(DrawingTextsTest, ParameterText) {
  EXPECT_EQ(ParameterText({}), "");
  EXPECT_EQ(ParameterText({3.141592653589793 / 2}), "(pi/2)");
  EXPECT_EQ(ParameterText({3.141592653589793, 0, 0.5}), "(pi, 0, 0.500000)");
}

}  // namespace

}  // namespace taviron
