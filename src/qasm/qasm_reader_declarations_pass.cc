// The first pass: version, include, register declarations and gate and
// opaque definitions, and the register objects of the declarations.
#include <new>

#include "qasm/decimal_index.h"
#include "qasm/qasm_error_codes.h"
#include "qasm/qasm_extension_gates.h"
#include "qasm/qasm_reader.h"

namespace taviron {

namespace {

using Kind = QasmTokenKind;

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

bool qasm2::ParseDeclaration(QasmTokenKind keyword) {
  switch (keyword) {
    case Kind::KW_INCLUDE: return ParseInclude();
    case Kind::KW_QREG: return ParseQreg();
    case Kind::KW_CREG: return ParseCreg();
    case Kind::KW_GATE: return ParseGateDefinition();
    default: return ParseOpaqueDefinition();
  }
}

bool qasm2::ParseDeclarations() {
  Rewind();
  bool result = false;
  bool at_end = false;
  while (!at_end) {
    const QasmToken token = NextToken(false);
    switch (token.kind) {
      case Kind::END_OF_INPUT:
        at_end = true;
        break;
      case Kind::KW_OPENQASM: {
        const QasmToken version = NextToken(false);
        if (version.kind == Kind::END_OF_INPUT) {
          at_end = true;
          break;
        }
        if (ReadNumber(version) == "2.0") {
          version_seen = true;
          result = true;
        }
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
  // The register objects are made by the driver once its checks have passed.
  return result;
}

bool qasm2::IsNameFree(std::string name) {
  if (FindName(name) != nullptr) {
    error_code = QasmErrorCode::DUPLICATE_DEFINITION;
    return false;
  }
  return true;
}

bool qasm2::ParseInclude() {
  // Each part of "<name>.<extension>" in quotes, then the semicolon.
  QasmToken token = NextSignificantToken(false);
  if (token.kind != Kind::QUOTE) {
    error_code = QasmErrorCode::QUOTATION_MARK_EXPECTED;
    return false;
  }
  token = NextSignificantToken(false);
  if (token.kind != Kind::IDENTIFIER) {
    error_code = QasmErrorCode::FILENAME_EXPECTED;
    return false;
  }
  std::string filename = token.text;
  token = IsFileNamePart(token) ? NextSignificantToken(false) : QasmToken{"_", Kind::UNDERSCORE};
  if (token.kind != Kind::FULL_STOP) {
    error_code = QasmErrorCode::FULL_STOP_EXPECTED;
    return false;
  }
  filename += ".";
  token = NextSignificantToken(false);
  if (token.kind != Kind::IDENTIFIER) {
    error_code = QasmErrorCode::FILENAME_EXTENSION_EXPECTED;
    return false;
  }
  filename += token.text;
  token = IsFileNamePart(token) ? NextSignificantToken(false) : QasmToken{"_", Kind::UNDERSCORE};
  if (token.kind != Kind::QUOTE) {
    error_code = QasmErrorCode::QUOTATION_MARK_EXPECTED;
    return false;
  }
  token = NextSignificantToken(true);
  if (token.kind != Kind::SEMICOLON) {
    error_code = QasmErrorCode::SEMICOLON_EXPECTED;
    return false;
  }
  // No file is read for any include; only the standard one is noted.
  if (filename == "qelib1.inc") qelib1_included = true;
  return true;
}

bool qasm2::ParseQreg() { return ParseRegisterDeclaration(qreg_declarations); }

bool qasm2::ParseCreg() { return ParseRegisterDeclaration(creg_declarations); }

bool qasm2::ParseRegisterDeclaration(std::vector<QasmRegisterDeclaration>& list) {
  // Every way out puts its last token back for the pass loop.
  QasmToken token;
  const auto fail = [&](QasmErrorCode code) {
    error_code = code;
    UnreadToken(token);
    return false;
  };
  token = NextSignificantToken(false);
  if (!IsDeclarableName(token)) return fail(QasmErrorCode::IDENTIFIER_EXPECTED);
  if (!IsNameFree(token.text)) return fail(QasmErrorCode::DUPLICATE_DEFINITION);
  QasmRegisterDeclaration declaration;
  declaration.name = token.text;
  token = NextSignificantToken(false);
  if (token.kind != Kind::LEFT_BRACKET) return fail(QasmErrorCode::LEFT_BRACKET_EXPECTED);
  token = NextSignificantToken(true);
  if (token.kind != Kind::NUMBER) return fail(QasmErrorCode::NON_NEGATIVE_NUMBER_EXPECTED);
  int32_t size = 0;
  if (!DecimalToInt32(token.text, size)) {
    declaration.size = -1;
    return fail(QasmErrorCode::NON_NEGATIVE_NUMBER_EXPECTED);
  }
  declaration.size = size;
  token = NextSignificantToken(true);
  if (token.kind != Kind::RIGHT_BRACKET) return fail(QasmErrorCode::RIGHT_BRACKET_EXPECTED);
  token = NextSignificantToken(true);
  if (token.kind != Kind::SEMICOLON) return fail(QasmErrorCode::SEMICOLON_EXPECTED);
  try {
    list.push_back(std::move(declaration));
  } catch (const std::bad_alloc&) {
    return fail(QasmErrorCode::INSUFFICIENT_MEMORY);
  }
  token = NextSignificantToken(true);
  UnreadToken(token);
  return true;
}

bool qasm2::ParseGateDefinition() { return ParseDefinition(true); }

bool qasm2::ParseOpaqueDefinition() { return ParseDefinition(false); }

bool qasm2::ParseDefinition(bool is_gate) {
  QasmToken token;
  const auto fail = [&](QasmErrorCode code) {
    error_code = code;
    UnreadToken(token);
    return false;
  };
  token = NextSignificantToken(false);
  // A built-in gate name is a keyword, so it cannot be redefined; other
  // programs define the gates outside qelib1.inc before they call them, and
  // a definition of one of those that the reader knows is taken as that
  // gate (ecr among them, although it is a keyword here).
  const QasmExtensionGate* extension = is_gate ? FindQasmExtensionGate(token.text) : nullptr;
  const bool keyword_name = token.kind != Kind::IDENTIFIER;
  if (!IsDeclarableName(token) && (extension == nullptr || !keyword_name)) {
    return fail(QasmErrorCode::IDENTIFIER_EXPECTED);
  }
  if (!IsNameFree(token.text)) return fail(QasmErrorCode::DUPLICATE_DEFINITION);
  QasmGateDefinition definition;
  definition.name = token.text;

  token = NextSignificantToken(false);
  if (token.kind == Kind::LEFT_PAREN) {
    // Parameter names, separated by commas; a comma may stand before ")".
    token = NextSignificantToken(false);
    if (token.kind == Kind::END_OF_INPUT) return fail(QasmErrorCode::PREMATURE_END_OF_FILE);
    bool closed = token.kind == Kind::RIGHT_PAREN;
    while (!closed) {
      if (!IsDeclarableName(token)) return fail(QasmErrorCode::PARAMETER_EXPECTED);
      definition.parameter_names.push_back(token.text);
      token = NextSignificantToken(false);
      if (token.kind == Kind::COMMA) {
        token = NextSignificantToken(false);
        // Cut off after a comma: the argument list meets the end.
        if (token.kind == Kind::END_OF_INPUT) break;
        closed = token.kind == Kind::RIGHT_PAREN;
      } else if (token.kind == Kind::RIGHT_PAREN) {
        closed = true;
      } else {
        return fail(QasmErrorCode::RIGHT_PAREN_EXPECTED);
      }
    }
    if (closed) token = NextSignificantToken(false);
  } else if (token.kind != Kind::IDENTIFIER) {
    return fail(QasmErrorCode::LEFT_PAREN_EXPECTED);
  }

  // Qubit argument names; commas between them are optional. A gate's list
  // ends at "{", an opaque definition's at ";".
  const Kind list_end = is_gate ? Kind::LEFT_BRACE : Kind::SEMICOLON;
  while (token.kind != list_end) {
    if (token.kind == Kind::END_OF_INPUT) {
      if (is_gate) break;
      return fail(QasmErrorCode::SEMICOLON_EXPECTED);
    }
    if (!IsDeclarableName(token)) return fail(QasmErrorCode::PARAMETER_EXPECTED);
    definition.argument_names.push_back(token.text);
    token = NextSignificantToken(false);
    if (token.kind == Kind::COMMA) token = NextSignificantToken(false);
  }

  if (extension != nullptr) {
    const GateArity arity = QasmExtensionArity(*extension);
    if (definition.parameter_names.size() == arity.parameters &&
        definition.argument_names.size() == arity.qubits) {
      definition.extension = extension;
    } else if (keyword_name) {
      // A definition of another shape under a keyword stays refused.
      return fail(QasmErrorCode::IDENTIFIER_EXPECTED);
    }
  }

  if (is_gate) {
    // The body is read by the statements pass; here it ends at the first
    // "}", whatever it holds.
    while (token.kind != Kind::RIGHT_BRACE) {
      token = NextToken(false);
      if (token.kind == Kind::END_OF_INPUT) return fail(QasmErrorCode::PREMATURE_END_OF_FILE);
    }
  }

  token = NextToken(false);
  try {
    (is_gate ? gate_definitions : opaque_definitions).push_back(std::move(definition));
  } catch (const std::bad_alloc&) {
    return fail(QasmErrorCode::INSUFFICIENT_MEMORY);
  }
  UnreadToken(token);
  return true;
}

}  // namespace taviron
