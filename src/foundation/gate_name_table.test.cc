#include "foundation/gate_name_table.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/gate_record.h"

namespace taviron {

namespace {

struct CatalogueRow {
  int32_t id;
  const char* name;
  const char* label;
};

// The whole catalogue in its fixed order.
const std::vector<CatalogueRow> kCatalogue = {
    {1, "h", "H"},           {2, "x", "X"},          {3, "i", "I"},
    {4, "id", "I"},          {5, "t", "T"},          {6, "s", "S"},
    {7, "tdg", "Tdg"},       {8, "sdg", "Sdg"},      {9, "sx", "Sx"},
    {10, "sxdg", "Sxdg"},    {11, "p", "P"},         {12, "r", "R"},
    {13, "rv", "Rv"},        {14, "rx", "RX"},       {15, "ry", "RY"},
    {16, "rz", "RZ"},        {17, "u", "U"},         {18, "y", "Y"},
    {19, "z", "Z"},          {20, "cx", "X"},        {21, "cy", "Y"},
    {22, "cz", "Z"},         {23, "ch", "H"},        {24, "cx", "X"},
    {25, "cp", "P"},         {26, "crx", "RX"},      {27, "cry", "RY"},
    {28, "crz", "RZ"},       {29, "cs", "S"},        {30, "csdg", "Sdg"},
    {31, "csx", "Sx"},       {32, "cu", "U"},        {33, "dcx", "Dcx"},
    {34, "ecr", "Ecr"},      {35, "iswap", "Iswap"}, {36, "rxx", "RXX"},
    {37, "ryy", "RYY"},      {38, "rzx", "RZX"},     {39, "rzz", "RZZ"},
    {40, "swap", "Swap"},    {41, "measure", "M"},   {42, "barrier", "B"},
    {43, "barrier", "B"},    {44, "reset", "|0>"},   {45, "cswap", "Swap"},
    {46, "cu1", "U1"},       {47, "cu3", "U3"},      {54, "u0", "U0"},
    {48, "u1", "U1"},        {49, "u2", "U2"},       {50, "ccx", "ccx"},
    {51, "ccz", "ccz"},      {52, "", ""},           {53, "", ""},
};

TEST(GateNameTableTest, HoldsTheWholeCatalogueInOrder) {
  ASSERT_EQ(kGateCatalogueSize, kCatalogue.size());
  for (size_t pos = 0; pos < kCatalogue.size(); ++pos) {
    SCOPED_TRACE("position " + std::to_string(pos + 1));
    const GateDescriptor& entry = kGateCatalogue[pos];
    EXPECT_EQ(GateNumber(entry.id), kCatalogue[pos].id);
    EXPECT_EQ(entry.name, kCatalogue[pos].name);
    EXPECT_EQ(entry.label, kCatalogue[pos].label);
  }
}

TEST(GateNameTableTest, EveryIdOccursOnce) {
  const size_t last = static_cast<size_t>(GateNumber(kLastGateId));
  std::vector<int> seen(last + 1, 0);
  for (const GateDescriptor& entry : kGateCatalogue) {
    ASSERT_GE(GateNumber(entry.id), 1);
    ASSERT_LE(GateNumber(entry.id), GateNumber(kLastGateId));
    ++seen[static_cast<size_t>(GateNumber(entry.id))];
  }
  for (size_t id = 1; id <= last; ++id) EXPECT_EQ(seen[id], 1) << id;
}

TEST(GateNameTableTest, FindsTheEntryOfEveryIdAndNoneOutsideTheCatalogue) {
  for (const GateDescriptor& entry : kGateCatalogue) {
    EXPECT_EQ(FindGateDescriptor(entry.id), &entry) << GateNumber(entry.id);
  }
  for (int32_t id : {0, -1, GateNumber(kLastGateId) + 1, INT32_MAX, INT32_MIN}) {
    EXPECT_EQ(FindGateDescriptor(static_cast<GateId>(id)), nullptr) << id;
  }
}

// A gate of a fixed shape names its qubits and parameters; a word is spelled
// as OpenQASM names are, and an entry without a name has none.
TEST(GateNameTableTest, ShapesAndWordsAreConsistent) {
  for (const GateDescriptor& entry : kGateCatalogue) {
    SCOPED_TRACE(std::to_string(GateNumber(entry.id)));
    EXPECT_LE(entry.qubits, 3u);
    EXPECT_LE(entry.parameters, 4u);
    if (entry.qubits == 0) {
      EXPECT_EQ(entry.parameters, 0u);
    }
    for (char c : entry.qasm_word) EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) << c;
    if (entry.name.empty()) {
      EXPECT_TRUE(entry.qasm_word.empty());
    }
  }
}

TEST(GateNameTableTest, RecordLookupsAnswerTheCatalogueForEveryNonCompositeId) {
  for (const CatalogueRow& row : kCatalogue) {
    if (row.id == 53) continue;  // composites answer their own label
    GateRecord record;
    record.gate_type = static_cast<GateId>(row.id);
    record.label = "ignored label";
    EXPECT_EQ(record.GetName(), row.name) << "id " << row.id;
    EXPECT_EQ(record.GetLabel(), row.label) << "id " << row.id;
  }
}

TEST(GateNameTableTest, UnknownIdsGetEmptyTexts) {
  for (int32_t id : {0, -1, -53, GateNumber(kLastGateId) + 1, 100, INT32_MAX, INT32_MIN}) {
    GateRecord record;
    record.gate_type = static_cast<GateId>(id);
    record.label = "ccx";
    EXPECT_EQ(record.GetName(), "") << "id " << id;
    EXPECT_EQ(record.GetLabel(), "") << "id " << id;
  }
}

}  // namespace

}  // namespace taviron
