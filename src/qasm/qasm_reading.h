#ifndef TAVIRON_QASM_QASM_READING_H
#define TAVIRON_QASM_QASM_READING_H

#include "qasm/qasm_character_source.h"
#include "qasm/qasm_declarations.h"
#include "qasm/qasm_error_codes.h"
#include "qasm/qasm_token_scanner.h"

namespace taviron {

// What the parts of the OpenQASM reader share while they read one input:
// the input itself, cut into tokens, the declarations that the first pass
// finds, and the code of the last failure. Inside the reader a failure is a
// false result and a code recorded here; only the driver throws. One object
// serves any number of readings, one at a time; each begins with Reset.
class QasmReading {
 public:
  QasmReading() = default;
  QasmReading(const QasmReading&) = delete;
  QasmReading& operator=(const QasmReading&) = delete;

  QasmCharacterSource& source() { return source_; }
  const QasmCharacterSource& source() const { return source_; }
  QasmTokenScanner& tokens() { return tokens_; }
  QasmDeclarations& declarations() { return declarations_; }
  const QasmDeclarations& declarations() const { return declarations_; }

  QasmErrorCode error_code() const { return error_code_; }
  void set_error_code(QasmErrorCode code) { error_code_ = code; }
  // Records `code` and answers false, as every failing part does.
  bool Fail(QasmErrorCode code) {
    error_code_ = code;
    return false;
  }

  // Forgets the declarations and the code of an earlier reading.
  void Reset() {
    declarations_.Clear();
    error_code_ = QasmErrorCode::NO_ERROR;
  }

 private:
  QasmCharacterSource source_;
  QasmTokenScanner tokens_{source_};
  QasmDeclarations declarations_;
  QasmErrorCode error_code_ = QasmErrorCode::NO_ERROR;
};

}  // namespace taviron

#endif
