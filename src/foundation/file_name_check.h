#ifndef TAVIRON_FOUNDATION_FILE_NAME_CHECK_H
#define TAVIRON_FOUNDATION_FILE_NAME_CHECK_H

#include <string>

namespace taviron {

// A file name reaches the system as a C string, which ends at its first
// NUL: "/etc/passwd\0.qasm" would name /etc/passwd. Throws
// std::invalid_argument (Python ValueError, as Python's own open raises)
// naming the file, with each NUL written as \x00, when it holds one.
void RequireNoNulInFileName(const std::string& filename);

}  // namespace taviron

#endif
