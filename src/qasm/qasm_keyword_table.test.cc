#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "circuit/append_gate.h"
#include "foundation/gate_name_table.h"
#include "qasm/qasm_extension_gates.h"
#include "qasm/qasm_keyword_table.h"
#include "qasm/qasm_token.h"
#include "qasm/qelib_gate_names.h"

namespace taviron {

namespace {

using Kind = QasmTokenKind;

TEST(QasmKeywordTableTest, StatementWordsInAsciiOrder) {
  ASSERT_EQ(QasmKeywordTable.size(), 68u);
  // The 48 gate and statement words take 46..93 in ASCII order; "gate" (44)
  // stands among them between "ecr" and "h".
  std::vector<std::string> statement_words;
  for (const QasmKeyword& entry : QasmKeywordTable) {
    if (FindStatementWord(entry.kind) != nullptr) {
      EXPECT_EQ(static_cast<int>(entry.kind), 46 + static_cast<int>(statement_words.size()))
          << entry.keyword;
      if (!statement_words.empty()) {
        EXPECT_LT(statement_words.back(), entry.keyword);
      }
      statement_words.push_back(entry.keyword);
    }
  }
  EXPECT_EQ(statement_words.size(), 48u);
  const std::vector<std::string> expected_statement_words = {
      "barrier", "c3sqrtx", "c3x",  "c4x",  "ccx",     "ch",     "cp",   "crx",
      "cry",     "crz",     "cswap", "csx", "cu",      "cu1",    "cu3",  "cx",
      "cy",      "cz",      "ecr",  "h",    "id",      "if",     "measure", "opaque",
      "p",       "rc3x",    "rccx", "reset", "rx",     "rxx",    "ry",   "rz",
      "rzz",     "s",       "sdg",  "swap", "sx",      "sxdg",   "t",    "tdg",
      "u",       "u0",      "u1",   "u2",   "u3",      "x",      "y",    "z"};
  EXPECT_EQ(statement_words, expected_statement_words);
  // The 19 entries after "z", in stored order.
  const std::vector<std::pair<std::string, Kind>> expected_tail = {
      {"E", Kind::EXPONENT},     {"e", Kind::EXPONENT},       {"OPENQASM", Kind::KW_OPENQASM},
      {"include", Kind::KW_INCLUDE}, {"qreg", Kind::KW_QREG},  {"creg", Kind::KW_CREG},
      {"pi", Kind::PI},          {"PI", Kind::PI},            {"Pi", Kind::PI},
      {"sin", Kind::FN_SIN},     {"cos", Kind::FN_COS},       {"tan", Kind::FN_TAN},
      {"ln", Kind::FN_LN},       {"exp", Kind::FN_EXP},       {"sqrt", Kind::FN_SQRT},
      {"cbrt", Kind::FN_CBRT},   {"asin", Kind::FN_ASIN},     {"acos", Kind::FN_ACOS},
      {"atan", Kind::FN_ATAN}};
  ASSERT_EQ(expected_tail.size() + 49, QasmKeywordTable.size());
  for (size_t k = 0; k < expected_tail.size(); ++k) {
    EXPECT_EQ(QasmKeywordTable[49 + k].keyword, expected_tail[k].first);
    EXPECT_EQ(QasmKeywordTable[49 + k].kind, expected_tail[k].second) << expected_tail[k].first;
  }
  EXPECT_EQ(QasmKeywordTable[19].kind, Kind::KW_GATE);
  EXPECT_EQ(QasmKeywordTable[19].keyword, "gate");
  EXPECT_EQ(FindKeywordKind("c3sqrtx"), Kind::KW_C3SQRTX);
  EXPECT_EQ(FindKeywordKind("rc3x"), Kind::KW_RC3X);
  EXPECT_EQ(FindKeywordKind("ryy"), Kind::IDENTIFIER);
  EXPECT_EQ(FindKeywordKind("Gate"), Kind::IDENTIFIER);
}

TEST(QasmKeywordTableTest, GateWordsNameTheGatesTheyAppend) {
  // Each gate word appends the gate of its own name, except these two.
  const std::map<std::string, std::string> other_names = {{"id", "i"}, {"u3", "u"}};
  for (const QasmKeyword& entry : QasmKeywordTable) {
    SCOPED_TRACE(entry.keyword);
    const QasmStatementWord& word = entry.statement;
    EXPECT_EQ(FindStatementWord(entry.kind) == &word,
              word.action != QasmStatementAction::kNone);
    if (word.action != QasmStatementAction::kGate &&
        word.action != QasmStatementAction::kEachQubit) {
      EXPECT_EQ(word.gate, GateId::kNone);
      continue;
    }
    const auto other = other_names.find(entry.keyword);
    const std::string name = other == other_names.end() ? entry.keyword : other->second;
    std::optional<GateArity> arity;
    if (word.composite != CompositeKind::kNone) {
      EXPECT_EQ(word.gate, GateId::kComposite);
      EXPECT_EQ(CompositeKindName(word.composite), name);
      arity = AppendGateArity(word.composite);
    } else {
      GateRecord record;
      record.gate_type = word.gate;
      EXPECT_EQ(record.GetName(), name);
      arity = AppendGateArity(word.gate);
    }
    ASSERT_TRUE(arity.has_value());
    if (word.action == QasmStatementAction::kEachQubit) {
      EXPECT_EQ(arity->qubits, 1u);
      EXPECT_EQ(arity->parameters, 0u);
    }
  }
  EXPECT_EQ(FindStatementWord(Kind::KW_GATE), nullptr);
  EXPECT_EQ(FindStatementWord(Kind::IDENTIFIER), nullptr);
}

// The word of every catalogue gate is read: a gate of the extension table,
// which the writer defines, or else a word that the reader knows. A word of
// a gate that a method appends reads back as that gate.
TEST(QasmKeywordTableTest, EveryCatalogueWordIsAKeywordOrAnExtensionGate) {
  for (const GateDescriptor& entry : kGateCatalogue) {
    if (entry.qasm_word.empty()) continue;
    const std::string word(entry.qasm_word);
    SCOPED_TRACE(word);
    const QasmExtensionGate* extension = FindQasmExtensionGate(entry.id);
    const Kind kind = FindKeywordKind(word);
    if (extension != nullptr) {
      EXPECT_EQ(extension->name, word);
      continue;
    }
    const QasmStatementWord* statement = FindStatementWord(kind);
    ASSERT_NE(statement, nullptr);
    if (AppendGateArity(entry.id).has_value()) {
      EXPECT_EQ(statement->gate, entry.id);
    }
  }
}

// Each gate word appends a gate whose own word reads back as that gate (u3
// is another word of u), and each extension gate is the catalogue's word.
TEST(QasmKeywordTableTest, GateWordsAndExtensionGatesAreCatalogueWords) {
  for (const QasmKeyword& entry : QasmKeywordTable) {
    const GateId gate = entry.statement.gate;
    if (gate == GateId::kNone || gate == GateId::kComposite) continue;
    SCOPED_TRACE(entry.keyword);
    const GateDescriptor* descriptor = FindGateDescriptor(gate);
    ASSERT_NE(descriptor, nullptr);
    const QasmStatementWord* own = FindStatementWord(FindKeywordKind(std::string(descriptor->qasm_word)));
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->gate, gate);
  }
  for (const QasmExtensionGate& gate : QasmExtensionGates()) {
    const GateDescriptor* descriptor = FindGateDescriptor(gate.id);
    ASSERT_NE(descriptor, nullptr) << gate.name;
    EXPECT_EQ(descriptor->qasm_word, gate.name);
  }
}

// The names that the writer calls rather than defines are gate words of the
// reader, and every composite that a gate word appends is among them.
TEST(QasmKeywordTableTest, QelibGateNamesAreGateWords) {
  const std::vector<std::string> names = MakeQelibGateNames();
  for (const std::string& name : names) {
    const QasmStatementWord* statement = FindStatementWord(FindKeywordKind(name));
    ASSERT_NE(statement, nullptr) << name;
    EXPECT_EQ(statement->action, QasmStatementAction::kGate) << name;
  }
  for (const QasmKeyword& entry : QasmKeywordTable) {
    if (entry.statement.composite == CompositeKind::kNone) continue;
    EXPECT_NE(std::find(names.begin(), names.end(), entry.keyword), names.end()) << entry.keyword;
  }
}

}  // namespace

}  // namespace taviron
