#include "qasm/qasm_keyword_table.h"

#include <cstring>

#include "qasm/qasm_token.h"

namespace taviron {

namespace {

using namespace QasmTokenKind;

struct KeywordRow {
  const char* keyword;
  int kind;
};

constexpr KeywordRow kKeywordRows[] = {
    {"barrier", KW_BARRIER}, {"c3sqrtx", KW_C3SQRTX}, {"c3x", KW_C3X},
    {"c4x", KW_C4X},         {"ccx", KW_CCX},         {"ch", KW_CH},
    {"cp", KW_CP},           {"crx", KW_CRX},         {"cry", KW_CRY},
    {"crz", KW_CRZ},         {"cswap", KW_CSWAP},     {"csx", KW_CSX},
    {"cu", KW_CU},           {"cu1", KW_CU1},         {"cu3", KW_CU3},
    {"cx", KW_CX},           {"cy", KW_CY},           {"cz", KW_CZ},
    {"ecr", KW_ECR},         {"gate", KW_GATE},       {"h", KW_H},
    {"id", KW_ID},           {"if", KW_IF},           {"measure", KW_MEASURE},
    {"opaque", KW_OPAQUE},   {"p", KW_P},             {"rc3x", KW_RC3X},
    {"rccx", KW_RCCX},       {"reset", KW_RESET},     {"rx", KW_RX},
    {"rxx", KW_RXX},         {"ry", KW_RY},           {"rz", KW_RZ},
    {"rzz", KW_RZZ},         {"s", KW_S},             {"sdg", KW_SDG},
    {"swap", KW_SWAP},       {"sx", KW_SX},           {"sxdg", KW_SXDG},
    {"t", KW_T},             {"tdg", KW_TDG},         {"u", KW_U},
    {"u0", KW_U0},           {"u1", KW_U1},           {"u2", KW_U2},
    {"u3", KW_U3},           {"x", KW_X},             {"y", KW_Y},
    {"z", KW_Z},             {"E", EXPONENT},         {"e", EXPONENT},
    {"OPENQASM", KW_OPENQASM}, {"include", KW_INCLUDE}, {"qreg", KW_QREG},
    {"creg", KW_CREG},       {"pi", PI},              {"PI", PI},
    {"Pi", PI},              {"sin", FN_SIN},         {"cos", FN_COS},
    {"tan", FN_TAN},         {"ln", FN_LN},           {"exp", FN_EXP},
    {"sqrt", FN_SQRT},       {"cbrt", FN_CBRT},       {"asin", FN_ASIN},
    {"acos", FN_ACOS},       {"atan", FN_ATAN},
};

}  // namespace

std::vector<QasmKeyword> BuildQasmKeywordTable() {
  std::vector<QasmKeyword> table;
  table.reserve(sizeof(kKeywordRows) / sizeof(kKeywordRows[0]));
  for (const KeywordRow& row : kKeywordRows) {
    table.push_back(QasmKeyword{row.keyword, row.kind});
  }
  return table;
}

const std::vector<QasmKeyword> QasmKeywordTable = BuildQasmKeywordTable();

int FindKeywordKind(const std::string& word) {
  for (const QasmKeyword& entry : QasmKeywordTable) {
    if (entry.keyword.size() == word.size() &&
        std::memcmp(entry.keyword.data(), word.data(), word.size()) == 0) {
      return entry.kind;
    }
  }
  return IDENTIFIER;
}

}  // namespace taviron
