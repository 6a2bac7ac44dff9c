#include "qasm/syntax_tables.h"

#include "qasm/qasm_token.h"

namespace taviron {

namespace QasmSyntaxTable {

using namespace QasmTokenKind;

extern const QasmSyntaxEntry NumberSign[];
extern const QasmSyntaxEntry NumberInteger[];
extern const QasmSyntaxEntry NumberPoint[];
extern const QasmSyntaxEntry NumberFraction[];
extern const QasmSyntaxEntry NumberExponent[];
extern const QasmSyntaxEntry NumberExponentSign[];

extern const QasmSyntaxEntry WholeRegister[];
extern const QasmSyntaxEntry IndexNumber[];
extern const QasmSyntaxEntry IndexClose[];
extern const QasmSyntaxEntry OperandEnd[];
extern const QasmSyntaxEntry NextOperand[];
extern const QasmSyntaxEntry NextOperandOpen[];
extern const QasmSyntaxEntry ParameterStart[];
extern const QasmSyntaxEntry ParameterEnd[];
extern const QasmSyntaxEntry NextParameter[];

constexpr const QasmSyntaxEntry* kAccept = nullptr;

// Number automaton.
const QasmSyntaxEntry NumberStart[] = {
    {PLUS, NumberSign},   {MINUS, NumberSign},          {FULL_STOP, NumberPoint},
    {NUMBER, NumberInteger}, {EXPONENT, NumberExponent}, {LIST_END, kAccept}};
const QasmSyntaxEntry NumberSign[] = {
    {NUMBER, NumberInteger}, {FULL_STOP, NumberPoint}, {EXPONENT, NumberExponent},
    {LIST_END, kAccept}};
const QasmSyntaxEntry NumberInteger[] = {
    {FULL_STOP, NumberPoint}, {EXPONENT, NumberExponent}, {LIST_END, kAccept}};
const QasmSyntaxEntry NumberPoint[] = {
    {NUMBER, NumberFraction}, {EXPONENT, NumberExponent}, {LIST_END, kAccept}};
const QasmSyntaxEntry NumberFraction[] = {
    {EXPONENT, NumberExponent}, {LIST_END, kAccept}};
const QasmSyntaxEntry NumberExponent[] = {
    {PLUS, NumberExponentSign}, {MINUS, NumberExponentSign}, {NUMBER, kAccept},
    {LIST_END, kAccept}};
const QasmSyntaxEntry NumberExponentSign[] = {
    {NUMBER, kAccept}, {LIST_END, kAccept}};

// Gate-statement automaton.
const QasmSyntaxEntry StatementStart[] = {
    {QREG_NAME, WholeRegister}, {LEFT_PAREN, ParameterStart}, {LIST_END, kAccept}};
const QasmSyntaxEntry WholeRegister[] = {
    {SEMICOLON, kAccept}, {LEFT_BRACKET, IndexNumber}, {LIST_END, kAccept}};
const QasmSyntaxEntry IndexNumber[] = {
    {NUMBER, IndexClose}, {LIST_END, kAccept}};
const QasmSyntaxEntry IndexClose[] = {
    {RIGHT_BRACKET, OperandEnd}, {LIST_END, kAccept}};
const QasmSyntaxEntry OperandEnd[] = {
    {SEMICOLON, kAccept}, {COMMA, NextOperand}, {LIST_END, kAccept}};
const QasmSyntaxEntry NextOperand[] = {
    {QREG_NAME, NextOperandOpen}, {LIST_END, kAccept}};
const QasmSyntaxEntry NextOperandOpen[] = {
    {LEFT_BRACKET, IndexNumber}, {LIST_END, kAccept}};
const QasmSyntaxEntry ParameterStart[] = {
    {RIGHT_PAREN, NextOperand}, {EXPRESSION, ParameterEnd}, {LIST_END, kAccept}};
const QasmSyntaxEntry ParameterEnd[] = {
    {RIGHT_PAREN, NextOperand}, {COMMA, NextParameter}, {LIST_END, kAccept}};
const QasmSyntaxEntry NextParameter[] = {
    {EXPRESSION, ParameterEnd}, {LIST_END, kAccept}};

}  // namespace QasmSyntaxTable

}  // namespace taviron
