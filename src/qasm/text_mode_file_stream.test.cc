#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/stat.h>

#include "qasm/text_mode_file_stream.h"

namespace taviron {

namespace {

TEST(QasmTextModeFileStreamTest, ReadsLineEndPairsAsLineFeeds) {
  const auto path = std::filesystem::temp_directory_path() / "qasm_text_mode_stream.txt";
  {
    std::ofstream out(path, std::ios::binary);
    out << "a\r\nb\rc\r\n\r\n";
  }
  TextModeFileStream stream;
  stream.open(path.string());
  ASSERT_TRUE(stream.is_open());
  const std::string text{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
  EXPECT_EQ(text, "a\nb\rc\n\n");
  stream.close();
  EXPECT_FALSE(stream.is_open());
  std::filesystem::remove(path);

  for (const std::string& unopenable :
       {std::string("/nonexistent/qasm/file.qasm"),
        std::filesystem::temp_directory_path().string()}) {
    TextModeFileStream failed;
    failed.open(unopenable);
    EXPECT_FALSE(failed.is_open()) << unopenable;
    EXPECT_EQ(failed.get(), -1) << unopenable;
  }
}

TEST(QasmTextModeFileStreamTest, OpensOnlyRegularFilesUpToTheCap) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "qasm_text_mode_stream_kinds";
  std::filesystem::create_directories(folder);
  const std::filesystem::path fifo = folder / "fifo";
  const std::filesystem::path huge = folder / "huge.qasm";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // Sparse files: their size costs no disk.
  { std::ofstream(huge, std::ios::binary); }
  std::filesystem::resize_file(huge, TextModeFileStream::kMaxBytes + 1);

  // Opening a FIFO with no writer would block; a device never ends.
  for (const std::filesystem::path& refused :
       {fifo, huge, std::filesystem::path("/dev/zero"), std::filesystem::path("/dev/null")}) {
    TextModeFileStream stream;
    stream.open(refused.string());
    EXPECT_FALSE(stream.is_open()) << refused;
  }
  std::filesystem::remove_all(folder);
}

}  // namespace

}  // namespace taviron
