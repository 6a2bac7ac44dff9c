#include "qasm/qasm_declarations_pass.h"

#include <new>
#include <utility>

#include "qasm/decimal_index.h"
#include "qasm/qasm_extension_gates.h"
#include "qasm/qasm_syntax_readers.h"

namespace taviron {

namespace {

using Kind = QasmTokenKind;
using Code = QasmErrorCode;

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// An OpenQASM 2.0 name: a letter, then letters, digits and underscores.
bool IsDeclarableName(const QasmToken& token) {
  if (token.kind != Kind::IDENTIFIER || !IsAsciiLetter(token.text[0])) return false;
  for (char c : token.text) {
    if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '_') return false;
  }
  return true;
}

// The parts of an include's file name are plain words, without underscores.
bool IsFileNamePart(const QasmToken& token) {
  return token.kind == Kind::IDENTIFIER && token.text.find('_') == std::string::npos;
}

}  // namespace

bool QasmDeclarationsPass::ParseDeclarations() {
  reading_.source().Rewind();
  bool result = false;
  while (true) {
    const QasmToken token = reading_.tokens().NextToken(false);
    switch (token.kind) {
      case Kind::END_OF_INPUT:
        return result;
      case Kind::KW_OPENQASM: {
        const QasmToken version = reading_.tokens().NextToken(false);
        if (version.kind == Kind::END_OF_INPUT) return result;
        // Any other number, or none, is no error: the pass goes on.
        if (ParseVersion(version)) result = true;
        break;
      }
      case Kind::KW_INCLUDE:
      case Kind::KW_QREG:
      case Kind::KW_CREG:
      case Kind::KW_GATE:
      case Kind::KW_OPAQUE:
        result = ParseDeclaration(token.kind);
        if (!result) return false;
        break;
      default:
        break;
    }
  }
}

bool QasmDeclarationsPass::ParseDeclaration(QasmTokenKind keyword) {
  switch (keyword) {
    case Kind::KW_INCLUDE: return ParseInclude();
    case Kind::KW_QREG: return ParseQreg();
    case Kind::KW_CREG: return ParseCreg();
    case Kind::KW_GATE: return ParseGateDefinition();
    default: return ParseOpaqueDefinition();
  }
}

bool QasmDeclarationsPass::IsNameFree(const std::string& name) {
  if (reading_.declarations().IsDeclared(name)) return reading_.Fail(Code::DUPLICATE_DEFINITION);
  return true;
}

bool QasmDeclarationsPass::Expect(const QasmToken& token, QasmTokenKind kind,
                                  QasmErrorCode code) {
  return token.kind == kind || reading_.Fail(code);
}

bool QasmDeclarationsPass::ParseInclude() {
  // Each part of "<name>.<extension>" in quotes, then the semicolon.
  QasmToken token = NextSignificantToken(false);
  if (!Expect(token, Kind::QUOTE, Code::QUOTATION_MARK_EXPECTED)) return false;
  token = NextSignificantToken(false);
  if (!Expect(token, Kind::IDENTIFIER, Code::FILENAME_EXPECTED)) return false;
  std::string filename = token.text;
  token = IsFileNamePart(token) ? NextSignificantToken(false) : QasmToken{"_", Kind::UNDERSCORE};
  if (!Expect(token, Kind::FULL_STOP, Code::FULL_STOP_EXPECTED)) return false;
  filename += ".";
  token = NextSignificantToken(false);
  if (!Expect(token, Kind::IDENTIFIER, Code::FILENAME_EXTENSION_EXPECTED)) return false;
  filename += token.text;
  token = IsFileNamePart(token) ? NextSignificantToken(false) : QasmToken{"_", Kind::UNDERSCORE};
  if (!Expect(token, Kind::QUOTE, Code::QUOTATION_MARK_EXPECTED)) return false;
  token = NextSignificantToken(true);
  if (!Expect(token, Kind::SEMICOLON, Code::SEMICOLON_EXPECTED)) return false;
  // No file is read for any include; only the standard one is noted.
  if (filename == "qelib1.inc") reading_.declarations().NoteQelib1Include();
  return true;
}

bool QasmDeclarationsPass::ParseVersion(const QasmToken& version) {
  if (ReadNumber(reading_, version) != "2.0") return false;
  reading_.declarations().NoteVersion();
  return true;
}

bool QasmDeclarationsPass::ParseQreg() { return ParseRegisterDeclaration(true); }

bool QasmDeclarationsPass::ParseCreg() { return ParseRegisterDeclaration(false); }

bool QasmDeclarationsPass::ParseRegisterDeclaration(bool quantum) {
  // Every way out puts its last token back for the pass loop.
  QasmToken token;
  const auto fail = [&](Code code) {
    reading_.tokens().UnreadToken(token);
    return reading_.Fail(code);
  };
  token = NextSignificantToken(false);
  if (!IsDeclarableName(token)) return fail(Code::IDENTIFIER_EXPECTED);
  if (!IsNameFree(token.text)) return fail(Code::DUPLICATE_DEFINITION);
  QasmRegisterDeclaration declaration;
  declaration.name = token.text;
  token = NextSignificantToken(false);
  if (token.kind != Kind::LEFT_BRACKET) return fail(Code::LEFT_BRACKET_EXPECTED);
  token = NextSignificantToken(true);
  int32_t size = 0;
  if (token.kind != Kind::NUMBER || !DecimalToInt32(token.text, size)) {
    return fail(Code::NON_NEGATIVE_NUMBER_EXPECTED);
  }
  declaration.size = size;
  token = NextSignificantToken(true);
  if (token.kind != Kind::RIGHT_BRACKET) return fail(Code::RIGHT_BRACKET_EXPECTED);
  token = NextSignificantToken(true);
  if (token.kind != Kind::SEMICOLON) return fail(Code::SEMICOLON_EXPECTED);
  try {
    if (quantum) {
      reading_.declarations().AddQreg(std::move(declaration));
    } else {
      reading_.declarations().AddCreg(std::move(declaration));
    }
  } catch (const std::bad_alloc&) {
    return fail(Code::INSUFFICIENT_MEMORY);
  }
  token = NextSignificantToken(true);
  reading_.tokens().UnreadToken(token);
  return true;
}

bool QasmDeclarationsPass::ParseGateDefinition() { return ParseDefinition(true); }

bool QasmDeclarationsPass::ParseOpaqueDefinition() { return ParseDefinition(false); }

bool QasmDeclarationsPass::ParseDefinition(bool is_gate) {
  QasmToken token = NextSignificantToken(false);
  DefinitionHead head;
  const bool read = ReadDefinitionName(is_gate, token, head) &&
                    ReadParameterNames(token, head.definition) &&
                    ReadArgumentNames(is_gate, token, head.definition) && TakeKnownGate(head) &&
                    (!is_gate || SkipGateBody(token)) &&
                    RecordDefinition(is_gate, token, std::move(head.definition));
  // Every way out puts its last token back for the pass loop.
  reading_.tokens().UnreadToken(token);
  return read;
}

bool QasmDeclarationsPass::ReadDefinitionName(bool is_gate, const QasmToken& token,
                                              DefinitionHead& head) {
  // A built-in gate name is a keyword, so it cannot be redefined; other
  // programs define the gates outside qelib1.inc before they call them, and
  // a definition of one of those that the reader knows is taken as that
  // gate (ecr among them, although it is a keyword here).
  head.extension = is_gate ? FindQasmExtensionGate(token.text) : nullptr;
  head.keyword_name = token.kind != Kind::IDENTIFIER;
  if (!IsDeclarableName(token) && (head.extension == nullptr || !head.keyword_name)) {
    return reading_.Fail(Code::IDENTIFIER_EXPECTED);
  }
  if (!IsNameFree(token.text)) return false;
  head.definition.name = token.text;
  return true;
}

bool QasmDeclarationsPass::ReadParameterNames(QasmToken& token, QasmGateDefinition& definition) {
  // Parameter names in parentheses, separated by commas; a comma may stand
  // before ")". Without parentheses the argument names follow at once.
  token = NextSignificantToken(false);
  if (token.kind != Kind::LEFT_PAREN) {
    return token.kind == Kind::IDENTIFIER || reading_.Fail(Code::LEFT_PAREN_EXPECTED);
  }
  token = NextSignificantToken(false);
  if (token.kind == Kind::END_OF_INPUT) return reading_.Fail(Code::PREMATURE_END_OF_FILE);
  bool closed = token.kind == Kind::RIGHT_PAREN;
  while (!closed) {
    if (!IsDeclarableName(token)) return reading_.Fail(Code::PARAMETER_EXPECTED);
    definition.parameter_names.push_back(token.text);
    token = NextSignificantToken(false);
    if (token.kind == Kind::COMMA) {
      token = NextSignificantToken(false);
      // Cut off after a comma: the argument list meets the end.
      if (token.kind == Kind::END_OF_INPUT) return true;
      closed = token.kind == Kind::RIGHT_PAREN;
    } else if (token.kind == Kind::RIGHT_PAREN) {
      closed = true;
    } else {
      return reading_.Fail(Code::RIGHT_PAREN_EXPECTED);
    }
  }
  token = NextSignificantToken(false);
  return true;
}

bool QasmDeclarationsPass::ReadArgumentNames(bool is_gate, QasmToken& token,
                                             QasmGateDefinition& definition) {
  // Commas between the names are optional. A gate's list ends at "{", an
  // opaque definition's at ";".
  const Kind list_end = is_gate ? Kind::LEFT_BRACE : Kind::SEMICOLON;
  while (token.kind != list_end) {
    if (token.kind == Kind::END_OF_INPUT) {
      return is_gate || reading_.Fail(Code::SEMICOLON_EXPECTED);
    }
    if (!IsDeclarableName(token)) return reading_.Fail(Code::PARAMETER_EXPECTED);
    definition.argument_names.push_back(token.text);
    token = NextSignificantToken(false);
    if (token.kind == Kind::COMMA) token = NextSignificantToken(false);
  }
  return true;
}

bool QasmDeclarationsPass::TakeKnownGate(DefinitionHead& head) {
  if (head.extension == nullptr) return true;
  const GateArity arity = QasmExtensionArity(*head.extension);
  if (head.definition.parameter_names.size() == arity.parameters &&
      head.definition.argument_names.size() == arity.qubits) {
    head.definition.extension = head.extension;
    return true;
  }
  // A definition of another shape under a keyword stays refused.
  return !head.keyword_name || reading_.Fail(Code::IDENTIFIER_EXPECTED);
}

bool QasmDeclarationsPass::SkipGateBody(QasmToken& token) {
  // The body is read by the statements pass; here it ends at the first
  // "}", whatever it holds.
  while (token.kind != Kind::RIGHT_BRACE) {
    token = reading_.tokens().NextToken(false);
    if (token.kind == Kind::END_OF_INPUT) return reading_.Fail(Code::PREMATURE_END_OF_FILE);
  }
  return true;
}

bool QasmDeclarationsPass::RecordDefinition(bool is_gate, QasmToken& token,
                                            QasmGateDefinition definition) {
  token = reading_.tokens().NextToken(false);
  try {
    if (is_gate) {
      reading_.declarations().AddGateDefinition(std::move(definition));
    } else {
      reading_.declarations().AddOpaqueDefinition(std::move(definition));
    }
  } catch (const std::bad_alloc&) {
    return reading_.Fail(Code::INSUFFICIENT_MEMORY);
  }
  return true;
}

}  // namespace taviron
