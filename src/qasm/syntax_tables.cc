#include "qasm/syntax_tables.h"

#include "qasm/qasm_token.h"

namespace taviron {

namespace {

using Kind = QasmTokenKind;

}  // namespace

namespace QasmSyntaxTable {

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
    {Kind::PLUS, NumberSign},   {Kind::MINUS, NumberSign},          {Kind::FULL_STOP, NumberPoint},
    {Kind::NUMBER, NumberInteger}, {Kind::EXPONENT, NumberExponent}, {Kind::LIST_END, kAccept}};
const QasmSyntaxEntry NumberSign[] = {
    {Kind::NUMBER, NumberInteger}, {Kind::FULL_STOP, NumberPoint}, {Kind::EXPONENT, NumberExponent},
    {Kind::LIST_END, kAccept}};
const QasmSyntaxEntry NumberInteger[] = {
    {Kind::FULL_STOP, NumberPoint}, {Kind::EXPONENT, NumberExponent}, {Kind::LIST_END, kAccept}};
const QasmSyntaxEntry NumberPoint[] = {
    {Kind::NUMBER, NumberFraction}, {Kind::EXPONENT, NumberExponent}, {Kind::LIST_END, kAccept}};
const QasmSyntaxEntry NumberFraction[] = {
    {Kind::EXPONENT, NumberExponent}, {Kind::LIST_END, kAccept}};
const QasmSyntaxEntry NumberExponent[] = {
    {Kind::PLUS, NumberExponentSign}, {Kind::MINUS, NumberExponentSign}, {Kind::NUMBER, kAccept},
    {Kind::LIST_END, kAccept}};
const QasmSyntaxEntry NumberExponentSign[] = {
    {Kind::NUMBER, kAccept}, {Kind::LIST_END, kAccept}};

// Gate-statement automaton.
const QasmSyntaxEntry StatementStart[] = {
    {Kind::QREG_NAME, WholeRegister},
    {Kind::LEFT_PAREN, ParameterStart},
    {Kind::LIST_END, kAccept}};
const QasmSyntaxEntry WholeRegister[] = {
    {Kind::SEMICOLON, kAccept}, {Kind::LEFT_BRACKET, IndexNumber}, {Kind::LIST_END, kAccept}};
const QasmSyntaxEntry IndexNumber[] = {
    {Kind::NUMBER, IndexClose}, {Kind::LIST_END, kAccept}};
const QasmSyntaxEntry IndexClose[] = {
    {Kind::RIGHT_BRACKET, OperandEnd}, {Kind::LIST_END, kAccept}};
const QasmSyntaxEntry OperandEnd[] = {
    {Kind::SEMICOLON, kAccept}, {Kind::COMMA, NextOperand}, {Kind::LIST_END, kAccept}};
const QasmSyntaxEntry NextOperand[] = {
    {Kind::QREG_NAME, NextOperandOpen}, {Kind::LIST_END, kAccept}};
const QasmSyntaxEntry NextOperandOpen[] = {
    {Kind::LEFT_BRACKET, IndexNumber}, {Kind::LIST_END, kAccept}};
const QasmSyntaxEntry ParameterStart[] = {
    {Kind::RIGHT_PAREN, NextOperand}, {Kind::EXPRESSION, ParameterEnd}, {Kind::LIST_END, kAccept}};
const QasmSyntaxEntry ParameterEnd[] = {
    {Kind::RIGHT_PAREN, NextOperand}, {Kind::COMMA, NextParameter}, {Kind::LIST_END, kAccept}};
const QasmSyntaxEntry NextParameter[] = {
    {Kind::EXPRESSION, ParameterEnd}, {Kind::LIST_END, kAccept}};

}  // namespace QasmSyntaxTable

}  // namespace taviron
