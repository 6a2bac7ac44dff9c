#ifndef TAVIRON_FOUNDATION_PYTHON_VERSION_CHECK_H
#define TAVIRON_FOUNDATION_PYTHON_VERSION_CHECK_H

#include <string>

namespace taviron {

// The import-time check of the interpreter's version text. Kept free of
// Python so that it can be tested as a plain function.

// True when `version_text` begins with `compiled_for` (a "major.minor" text
// such as "3.11") and the character after that prefix is not a decimal
// digit, so that "3.1" never accepts "3.11" or "3.10.4". A null text never
// matches.
bool PythonVersionMatches(const char* version_text, const char* compiled_for);

// The ImportError text for an interpreter that fails the check.
std::string PythonVersionMismatchMessage(const char* compiled_for,
                                         const char* version_text);

}  // namespace taviron

#endif
