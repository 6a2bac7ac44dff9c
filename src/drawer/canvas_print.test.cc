#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "drawer/testing/circuits.h"
#include "drawer/testing/drawing_capture.h"
#include "drawer/text_canvas.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

using namespace drawer_testing;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(CanvasPrintTest, FileHoldsTheRowsAsUtf16le) {
  auto qc = BellCircuit();
  const TextCanvas canvas(*qc, true, true, 80);
  const std::string path = ::testing::TempDir() + "canvas_print_test.txt";
  { std::ofstream(path) << std::string(1000, 'x'); }  // replaced, not kept
  std::vector<std::u16string> printed;
  canvas.Print(path, [&](const std::u16string& row) { printed.push_back(row); });

  std::string expected = "\xFF\xFE";
  for (const std::u16string& row : printed) {
    for (char16_t unit : row + u"\n") {
      expected += static_cast<char>(unit & 0xFF);
      expected += static_cast<char>(unit >> 8);
    }
  }
  const std::string bytes = ReadBytes(path);
  EXPECT_EQ(bytes.size(), 2u + 7 * (28 + 1) * 2);
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(bytes.substr(2 + 28 * 2 + 2, 4), std::string("q\0[\0", 4));
  std::remove(path.c_str());
}

// A file that opens but cannot take the drawing (a full disk): the rows are
// printed, then the failure is reported naming the file.
TEST(CanvasPrintTest, AFailedWriteIsReportedNamingTheFile) {
  auto qc = BellCircuit();
  const TextCanvas canvas(*qc, true, true, 80);
  int printed = 0;
  try {
    canvas.Print("/dev/full", [&](const std::u16string&) { ++printed; });
    ADD_FAILURE() << "no exception";
  } catch (const RunTimeError& e) {
    EXPECT_STREQ(e.what(), "Can't write the drawing to the file /dev/full.");
  }
  EXPECT_EQ(printed, 7);
}

// A name that a NUL would cut short is refused before anything happens.
TEST(CanvasPrintTest, AFileNameWithANulIsRefused) {
  auto qc = BellCircuit();
  const TextCanvas canvas(*qc, true, true, 80);
  const std::string path = ::testing::TempDir() + "canvas_print_nul";
  int printed = 0;
  try {
    canvas.Print(path + std::string("\0.txt", 5), [&](const std::u16string&) { ++printed; });
    ADD_FAILURE() << "no exception";
  } catch (const std::invalid_argument& e) {
    EXPECT_EQ(std::string(e.what()), "The file name '" + path +
                                         "\\x00.txt' holds a NUL character (embedded null byte)");
  }
  EXPECT_EQ(printed, 0);
  EXPECT_TRUE(ReadBytes(path).empty());
}

TEST(CanvasPrintTest, UnopenableFileFailsBeforePrinting) {
  auto qc = BellCircuit();
  const TextCanvas canvas(*qc, true, true, 80);
  int printed = 0;
  try {
    canvas.Print("/nonexistent-dir/drawing.txt",
                 [&](const std::u16string&) { ++printed; });
    ADD_FAILURE() << "printed";
  } catch (const RunTimeError& e) {
    EXPECT_STREQ(e.what(), "Unable to open file for writing circuit");
  }
  EXPECT_EQ(printed, 0);
}

TEST(CanvasPrintTest, FailingPrintStopsTheRows) {
  auto qc = BellCircuit();
  const TextCanvas canvas(*qc, true, true, 80);
  int printed = 0;
  EXPECT_THROW(canvas.Print("", [&](const std::u16string&) {
    if (++printed == 3) throw std::runtime_error("print failed");
  }),
               std::runtime_error);
  EXPECT_EQ(printed, 3);
}

}  // namespace

}  // namespace taviron
