#ifndef TAVIRON_QASM_QASM_KEYWORD_TABLE_H
#define TAVIRON_QASM_QASM_KEYWORD_TABLE_H

#include <string>
#include <vector>

namespace taviron {

// One reserved word of the reader and the token kind it is given.
struct QasmKeyword {
  std::string keyword;
  int kind;
};

// The 68 reserved words in their fixed search order. Built once, shared by
// every reader, never changed.
std::vector<QasmKeyword> BuildQasmKeywordTable();
extern const std::vector<QasmKeyword> QasmKeywordTable;

// The kind of the first table entry spelled exactly like word (case counts),
// or QasmTokenKind::IDENTIFIER when there is none. A linear scan that
// compares lengths before bytes.
int FindKeywordKind(const std::string& word);

}  // namespace taviron

#endif
