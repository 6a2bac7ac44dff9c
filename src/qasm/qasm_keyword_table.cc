#include "qasm/qasm_keyword_table.h"

#include <cstring>

#include "qasm/qasm_token.h"

namespace taviron {

namespace {

using Kind = QasmTokenKind;

struct KeywordRow {
  const char* keyword;
  QasmTokenKind kind;
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
    {"barrier", Kind::KW_BARRIER, kBarrier},
    {"c3sqrtx", Kind::KW_C3SQRTX, Gate(C::kC3sqrtx)},
    {"c3x", Kind::KW_C3X, Gate(C::kC3x)},
    {"c4x", Kind::KW_C4X, Gate(C::kC4x)},
    {"ccx", Kind::KW_CCX, Gate(C::kCcx)},
    {"ch", Kind::KW_CH, Gate(G::kCH)},
    {"cp", Kind::KW_CP, Gate(G::kCP)},
    {"crx", Kind::KW_CRX, Gate(G::kCRX)},
    {"cry", Kind::KW_CRY, Gate(G::kCRY)},
    {"crz", Kind::KW_CRZ, Gate(G::kCRZ)},
    {"cswap", Kind::KW_CSWAP, Gate(C::kCswap)},
    {"csx", Kind::KW_CSX, Gate(G::kCSX)},
    {"cu", Kind::KW_CU, Gate(G::kCU)},
    {"cu1", Kind::KW_CU1, Gate(G::kCU1)},
    {"cu3", Kind::KW_CU3, Gate(G::kCU3)},
    {"cx", Kind::KW_CX, Gate(G::kCX)},
    {"cy", Kind::KW_CY, Gate(G::kCY)},
    {"cz", Kind::KW_CZ, Gate(G::kCZ)},
    {"ecr", Kind::KW_ECR, Gate(G::kECR)},
    {"gate", Kind::KW_GATE, kNotAStatement},
    {"h", Kind::KW_H, EachQubit(G::kH)},
    {"id", Kind::KW_ID, EachQubit(G::kI)},
    {"if", Kind::KW_IF, kOwnReader},
    {"measure", Kind::KW_MEASURE, kOwnReader},
    {"opaque", Kind::KW_OPAQUE, kOwnReader},
    {"p", Kind::KW_P, Gate(G::kP)},
    {"rc3x", Kind::KW_RC3X, Gate(C::kRc3x)},
    {"rccx", Kind::KW_RCCX, Gate(C::kRccx)},
    {"reset", Kind::KW_RESET, EachQubit(G::kReset)},
    {"rx", Kind::KW_RX, Gate(G::kRX)},
    {"rxx", Kind::KW_RXX, Gate(G::kRXX)},
    {"ry", Kind::KW_RY, Gate(G::kRY)},
    {"rz", Kind::KW_RZ, Gate(G::kRZ)},
    {"rzz", Kind::KW_RZZ, Gate(G::kRZZ)},
    {"s", Kind::KW_S, EachQubit(G::kS)},
    {"sdg", Kind::KW_SDG, EachQubit(G::kSdg)},
    {"swap", Kind::KW_SWAP, Gate(G::kSwap)},
    {"sx", Kind::KW_SX, EachQubit(G::kSX)},
    {"sxdg", Kind::KW_SXDG, EachQubit(G::kSXdg)},
    {"t", Kind::KW_T, EachQubit(G::kT)},
    {"tdg", Kind::KW_TDG, EachQubit(G::kTdg)},
    {"u", Kind::KW_U, Gate(G::kU)},
    {"u0", Kind::KW_U0, Gate(G::kU0)},
    {"u1", Kind::KW_U1, Gate(G::kU1)},
    {"u2", Kind::KW_U2, Gate(G::kU2)},
    {"u3", Kind::KW_U3, Gate(G::kU)},
    {"x", Kind::KW_X, EachQubit(G::kX)},
    {"y", Kind::KW_Y, EachQubit(G::kY)},
    {"z", Kind::KW_Z, EachQubit(G::kZ)},
    {"E", Kind::EXPONENT, kNotAStatement},
    {"e", Kind::EXPONENT, kNotAStatement},
    {"OPENQASM", Kind::KW_OPENQASM, kNotAStatement},
    {"include", Kind::KW_INCLUDE, kNotAStatement},
    {"qreg", Kind::KW_QREG, kNotAStatement},
    {"creg", Kind::KW_CREG, kNotAStatement},
    {"pi", Kind::PI, kNotAStatement},
    {"PI", Kind::PI, kNotAStatement},
    {"Pi", Kind::PI, kNotAStatement},
    {"sin", Kind::FN_SIN, kNotAStatement},
    {"cos", Kind::FN_COS, kNotAStatement},
    {"tan", Kind::FN_TAN, kNotAStatement},
    {"ln", Kind::FN_LN, kNotAStatement},
    {"exp", Kind::FN_EXP, kNotAStatement},
    {"sqrt", Kind::FN_SQRT, kNotAStatement},
    {"cbrt", Kind::FN_CBRT, kNotAStatement},
    {"asin", Kind::FN_ASIN, kNotAStatement},
    {"acos", Kind::FN_ACOS, kNotAStatement},
    {"atan", Kind::FN_ATAN, kNotAStatement},
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

QasmTokenKind FindKeywordKind(const std::string& word) {
  for (const QasmKeyword& entry : QasmKeywordTable) {
    if (entry.keyword.size() == word.size() &&
        std::memcmp(entry.keyword.data(), word.data(), word.size()) == 0) {
      return entry.kind;
    }
  }
  return Kind::IDENTIFIER;
}

const QasmStatementWord* FindStatementWord(QasmTokenKind kind) {
  for (const QasmKeyword& entry : QasmKeywordTable) {
    if (entry.kind == kind && entry.statement.action != QasmStatementAction::kNone) {
      return &entry.statement;
    }
  }
  return nullptr;
}

}  // namespace taviron
