#ifndef TAVIRON_EXECUTION_URL_CHECK_H
#define TAVIRON_EXECUTION_URL_CHECK_H

#include <cstddef>
#include <string>

namespace taviron {

// Longest url that a provider accepts.
constexpr std::size_t kMaxUrlLength = 2048;

// The pattern that a provider's url argument must match as a whole
// (ECMAScript grammar, case-sensitive). IsValidUrl accepts exactly its
// language; the text is kept for reference and for the tests that compare
// the two.
extern const char* const kUrlPattern;

// Whether url matches kUrlPattern as a whole, decided in time linear in the
// url's length without recursion. Urls longer than kMaxUrlLength are
// refused.
bool IsValidUrl(const std::string& url);

}  // namespace taviron

#endif
