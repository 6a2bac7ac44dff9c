#ifndef TAVIRON_QASM_QASM_TOKEN_H
#define TAVIRON_QASM_QASM_TOKEN_H

#include <string>

namespace taviron {

// Token kinds of the OpenQASM 2.0 reader. 0 to 35 is the position of a
// delimiter character among the reader's delimiters; the others classify
// words. 95, 96 and 98 occur only in the syntax tables. The numbers are
// fixed, and nothing depends on their order: the gate and statement words
// were numbered in the ASCII order of their spelling, and a new word takes
// a number of its own; what a word does is its row of the keyword table.
enum class QasmTokenKind : int {
  TAB = 0,
  CARRIAGE_RETURN = 1,
  NEWLINE = 2,
  BLANK = 3,
  EXCLAMATION = 4,
  QUOTE = 5,
  HASH = 6,
  DOLLAR = 7,
  PERCENT = 8,
  AMPERSAND = 9,
  APOSTROPHE = 10,
  LEFT_PAREN = 11,
  RIGHT_PAREN = 12,
  STAR = 13,
  PLUS = 14,
  COMMA = 15,
  MINUS = 16,
  FULL_STOP = 17,
  SLASH = 18,
  COLON = 19,
  SEMICOLON = 20,
  LESS = 21,
  EQUALS = 22,
  GREATER = 23,
  QUESTION = 24,
  AT = 25,
  LEFT_BRACKET = 26,
  BACKSLASH = 27,
  RIGHT_BRACKET = 28,
  CARET = 29,
  UNDERSCORE = 30,
  BACKQUOTE = 31,
  LEFT_BRACE = 32,
  BAR = 33,
  RIGHT_BRACE = 34,
  TILDE = 35,

  IDENTIFIER = 36,
  NUMBER = 37,
  END_OF_INPUT = 38,
  EXPONENT = 39,

  KW_OPENQASM = 40,
  KW_INCLUDE = 41,
  KW_QREG = 42,
  KW_CREG = 43,
  KW_GATE = 44,

  // The gate and statement words.
  KW_BARRIER = 46,
  KW_C3SQRTX = 47,
  KW_C3X = 48,
  KW_C4X = 49,
  KW_CCX = 50,
  KW_CH = 51,
  KW_CP = 52,
  KW_CRX = 53,
  KW_CRY = 54,
  KW_CRZ = 55,
  KW_CSWAP = 56,
  KW_CSX = 57,
  KW_CU = 58,
  KW_CU1 = 59,
  KW_CU3 = 60,
  KW_CX = 61,
  KW_CY = 62,
  KW_CZ = 63,
  KW_ECR = 64,
  KW_H = 65,
  KW_ID = 66,
  KW_IF = 67,
  KW_MEASURE = 68,
  KW_OPAQUE = 69,
  KW_P = 70,
  KW_RC3X = 71,
  KW_RCCX = 72,
  KW_RESET = 73,
  KW_RX = 74,
  KW_RXX = 75,
  KW_RY = 76,
  KW_RZ = 77,
  KW_RZZ = 78,
  KW_S = 79,
  KW_SDG = 80,
  KW_SWAP = 81,
  KW_SX = 82,
  KW_SXDG = 83,
  KW_T = 84,
  KW_TDG = 85,
  KW_U = 86,
  KW_U0 = 87,
  KW_U1 = 88,
  KW_U2 = 89,
  KW_U3 = 90,
  KW_X = 91,
  KW_Y = 92,
  KW_Z = 93,

  // Syntax-table kinds.
  LIST_END = 95,
  QREG_NAME = 96,
  EXPRESSION = 98,

  PI = 99,

  FN_SIN = 100,
  FN_COS = 101,
  FN_TAN = 102,
  FN_LN = 103,
  FN_EXP = 104,
  FN_SQRT = 105,
  FN_CBRT = 106,
  FN_ASIN = 107,
  FN_ACOS = 108,
  FN_ATAN = 109,
};

// One token: its characters (empty at the end of the input) and its kind.
struct QasmToken {
  std::string text;
  QasmTokenKind kind = QasmTokenKind::END_OF_INPUT;
};

}  // namespace taviron

#endif
