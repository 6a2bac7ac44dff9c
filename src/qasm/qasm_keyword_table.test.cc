#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qasm/qasm_keyword_table.h"
#include "qasm/qasm_token.h"

namespace {

using namespace QasmTokenKind;

TEST(QasmKeywordTable, StatementWordsInAsciiOrder) {
  ASSERT_EQ(QasmKeywordTable.size(), 68u);
  // The 48 gate and statement words take 46..93 in ASCII order; "gate" (44)
  // stands among them between "ecr" and "h".
  std::vector<std::string> statement_words;
  for (const QasmKeyword& entry : QasmKeywordTable) {
    if (entry.kind >= kFirstStatementKeyword && entry.kind <= kLastStatementKeyword) {
      EXPECT_EQ(entry.kind, kFirstStatementKeyword + static_cast<int>(statement_words.size()))
          << entry.keyword;
      if (!statement_words.empty()) {
        EXPECT_LT(statement_words.back(), entry.keyword);
      }
      statement_words.push_back(entry.keyword);
    }
  }
  EXPECT_EQ(statement_words.size(), 48u);
  EXPECT_EQ(QasmKeywordTable[19].keyword, "gate");
  EXPECT_EQ(FindKeywordKind("c3sqrtx"), KW_C3SQRTX);
  EXPECT_EQ(FindKeywordKind("rc3x"), KW_RC3X);
  EXPECT_EQ(FindKeywordKind("ryy"), IDENTIFIER);
  EXPECT_EQ(FindKeywordKind("Gate"), IDENTIFIER);
}

}  // namespace
