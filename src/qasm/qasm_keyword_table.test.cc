#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "circuit/append_gate.h"
#include "qasm/qasm_keyword_table.h"
#include "qasm/qasm_token.h"

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

}  // namespace

}  // namespace taviron
