#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "drawer/testing/circuits.h"
#include "drawer/testing/drawing_capture.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

using namespace drawer_testing;

class CircuitDrawTest : public ::testing::Test {
 protected:
  std::vector<std::string> rows;
  std::function<void(const std::u16string&)> sink =
      [this](const std::u16string& row) { rows.push_back(ToUtf8(row)); };
};

TEST_F(CircuitDrawTest, PrintsOneCallPerRow) {
  auto qc = BellCircuit();
  qc->draw("text", 1.0, "", false, true, false, "left", "medium", true, true,
           80, false, true, {}, sink);
  EXPECT_EQ(Joined(rows), BellDrawing());
}

TEST_F(CircuitDrawTest, OnlyBarriersFoldAndFileChangeTheDrawing) {
  auto qc = BellCircuit();
  qc->barrier();
  qc->draw("text", 1.0, "", false, true, false, "left", "medium", true, true,
           80, false, true, {}, sink);
  const std::vector<std::string> plain = rows;
  rows.clear();
  qc->draw("mpl", 2.0, "", true, true, true, "right", "high", false, false,
           80, true, false, {1, 0}, sink);
  EXPECT_EQ(rows, plain);

  rows.clear();
  qc->draw("text", 1.0, "", false, false, false, "left", "medium", true, true,
           25, false, true, {}, sink);
  EXPECT_EQ(rows, Drawing(*qc, false, 25));
  EXPECT_NE(rows, plain);

  rows.clear();
  const std::string path = ::testing::TempDir() + "circuit_draw_test.txt";
  qc->draw("text", 1.0, path, false, true, false, "left", "medium", true, true,
           80, false, true, {}, sink);
  EXPECT_EQ(rows, plain);
  std::ifstream file(path, std::ios::binary);
  EXPECT_EQ(file.get(), 0xFF);
  EXPECT_EQ(file.get(), 0xFE);
  std::remove(path.c_str());
}

TEST_F(CircuitDrawTest, FailuresPrintNothing) {
  auto qc = BellCircuit();
  EXPECT_THROW(qc->draw("text", 1.0, "/nonexistent-dir/d.txt", false, true,
                        false, "left", "medium", true, true, 80, false, true,
                        {}, sink),
               RunTimeError);
  auto bad = std::make_shared<GateRecord>();
  bad->gate_type = GateId::kEmpty;
  bad->qubits = {0};
  qc->mutable_gates().push_back(bad);
  EXPECT_THROW(qc->draw(), RunTimeError);
  EXPECT_TRUE(rows.empty());
}

}  // namespace

}  // namespace taviron
