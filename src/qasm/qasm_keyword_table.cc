#include "qasm/qasm_keyword_table.h"

#include <cstring>

#include "qasm/qasm_token.h"

namespace taviron {

namespace {

using namespace QasmTokenKind;

struct KeywordRow {
  const char* keyword;
  int kind;
  QasmStatementWord statement;
};

constexpr QasmStatementWord kNotAStatement{};
constexpr QasmStatementWord kOwnReader{QasmStatementAction::kOwnReader};
constexpr QasmStatementWord kBarrier{QasmStatementAction::kBarrier};

constexpr QasmStatementWord EachQubit(GateId gate) {
  return {QasmStatementAction::kEachQubit, gate};
}

constexpr QasmStatementWord Gate(GateId gate) { return {QasmStatementAction::kGate, gate}; }

constexpr QasmStatementWord Gate(CompositeKind composite) {
  return {QasmStatementAction::kGate, GateId::kComposite, composite};
}

using G = GateId;
using C = CompositeKind;

constexpr KeywordRow kKeywordRows[] = {
    {"barrier", KW_BARRIER, kBarrier},
    {"c3sqrtx", KW_C3SQRTX, Gate(C::kC3sqrtx)},
    {"c3x", KW_C3X, Gate(C::kC3x)},
    {"c4x", KW_C4X, Gate(C::kC4x)},
    {"ccx", KW_CCX, Gate(C::kCcx)},
    {"ch", KW_CH, Gate(G::kCH)},
    {"cp", KW_CP, Gate(G::kCP)},
    {"crx", KW_CRX, Gate(G::kCRX)},
    {"cry", KW_CRY, Gate(G::kCRY)},
    {"crz", KW_CRZ, Gate(G::kCRZ)},
    {"cswap", KW_CSWAP, Gate(C::kCswap)},
    {"csx", KW_CSX, Gate(G::kCSX)},
    {"cu", KW_CU, Gate(G::kCU)},
    {"cu1", KW_CU1, Gate(G::kCU1)},
    {"cu3", KW_CU3, Gate(G::kCU3)},
    {"cx", KW_CX, Gate(G::kCX)},
    {"cy", KW_CY, Gate(G::kCY)},
    {"cz", KW_CZ, Gate(G::kCZ)},
    {"ecr", KW_ECR, Gate(G::kECR)},
    {"gate", KW_GATE, kNotAStatement},
    {"h", KW_H, EachQubit(G::kH)},
    {"id", KW_ID, EachQubit(G::kI)},
    {"if", KW_IF, kOwnReader},
    {"measure", KW_MEASURE, kOwnReader},
    {"opaque", KW_OPAQUE, kOwnReader},
    {"p", KW_P, Gate(G::kP)},
    {"rc3x", KW_RC3X, Gate(C::kRc3x)},
    {"rccx", KW_RCCX, Gate(C::kRccx)},
    {"reset", KW_RESET, EachQubit(G::kReset)},
    {"rx", KW_RX, Gate(G::kRX)},
    {"rxx", KW_RXX, Gate(G::kRXX)},
    {"ry", KW_RY, Gate(G::kRY)},
    {"rz", KW_RZ, Gate(G::kRZ)},
    {"rzz", KW_RZZ, Gate(G::kRZZ)},
    {"s", KW_S, EachQubit(G::kS)},
    {"sdg", KW_SDG, EachQubit(G::kSdg)},
    {"swap", KW_SWAP, Gate(G::kSwap)},
    {"sx", KW_SX, EachQubit(G::kSX)},
    {"sxdg", KW_SXDG, EachQubit(G::kSXdg)},
    {"t", KW_T, EachQubit(G::kT)},
    {"tdg", KW_TDG, EachQubit(G::kTdg)},
    {"u", KW_U, Gate(G::kU)},
    {"u0", KW_U0, Gate(G::kU0)},
    {"u1", KW_U1, Gate(G::kU1)},
    {"u2", KW_U2, Gate(G::kU2)},
    {"u3", KW_U3, Gate(G::kU)},
    {"x", KW_X, EachQubit(G::kX)},
    {"y", KW_Y, EachQubit(G::kY)},
    {"z", KW_Z, EachQubit(G::kZ)},
    {"E", EXPONENT, kNotAStatement},
    {"e", EXPONENT, kNotAStatement},
    {"OPENQASM", KW_OPENQASM, kNotAStatement},
    {"include", KW_INCLUDE, kNotAStatement},
    {"qreg", KW_QREG, kNotAStatement},
    {"creg", KW_CREG, kNotAStatement},
    {"pi", PI, kNotAStatement},
    {"PI", PI, kNotAStatement},
    {"Pi", PI, kNotAStatement},
    {"sin", FN_SIN, kNotAStatement},
    {"cos", FN_COS, kNotAStatement},
    {"tan", FN_TAN, kNotAStatement},
    {"ln", FN_LN, kNotAStatement},
    {"exp", FN_EXP, kNotAStatement},
    {"sqrt", FN_SQRT, kNotAStatement},
    {"cbrt", FN_CBRT, kNotAStatement},
    {"asin", FN_ASIN, kNotAStatement},
    {"acos", FN_ACOS, kNotAStatement},
    {"atan", FN_ATAN, kNotAStatement},
};

}  // namespace

std::vector<QasmKeyword> BuildQasmKeywordTable() {
  std::vector<QasmKeyword> table;
  table.reserve(sizeof(kKeywordRows) / sizeof(kKeywordRows[0]));
  for (const KeywordRow& row : kKeywordRows) {
    table.push_back(QasmKeyword{row.keyword, row.kind, row.statement});
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

const QasmStatementWord* FindStatementWord(int kind) {
  for (const QasmKeyword& entry : QasmKeywordTable) {
    if (entry.kind == kind && entry.statement.action != QasmStatementAction::kNone) {
      return &entry.statement;
    }
  }
  return nullptr;
}

}  // namespace taviron
