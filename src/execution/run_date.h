#ifndef TAVIRON_EXECUTION_RUN_DATE_H
#define TAVIRON_EXECUTION_RUN_DATE_H

#include <ctime>
#include <string>

namespace taviron {

// The local date and time of `when` in the classic ctime form, 24
// characters ("Wed Jan  5 09:04:01 2022") followed by a newline. English
// names whatever the locale; safe to call from any thread.
std::string CtimeText(std::time_t when);

// CtimeText of the current time: the date of a run and of a new Result.
std::string RunDateText();

}  // namespace taviron

#endif
