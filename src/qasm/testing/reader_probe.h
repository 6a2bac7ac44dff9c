#ifndef TAVIRON_QASM_TESTING_READER_PROBE_H
#define TAVIRON_QASM_TESTING_READER_PROBE_H

#include <string>

#include "qasm/qasm_reader.h"
#include "qasm/qasm_reading.h"

namespace taviron {

// What a qasm2 object keeps of its last load or loads call, for the tests.
class QasmReaderProbe {
 public:
  static const QasmReading& LastReading(const qasm2& reader) { return *reader.reading_; }
  static const QasmDeclarations& Declarations(const qasm2& reader) {
    return reader.reading_->declarations();
  }
  static QasmErrorCode ErrorCode(const qasm2& reader) { return reader.reading_->error_code(); }
  static const std::string& IncludePath(const qasm2& reader) { return reader.include_path_; }
};

}  // namespace taviron

#endif
