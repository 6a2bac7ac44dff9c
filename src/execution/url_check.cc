#include "execution/url_check.h"

#include <algorithm>
#include <vector>

namespace taviron {

const char* const kUrlPattern =
    "^(https?:\\/\\/)?([\\da-z\\.-]+)\\.([a-z\\.]{2,6})([/\\w \\.-]*)*\\/?$";

namespace {

// Character classes of the pattern, ASCII only (bytes of other values
// belong to none of them).
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }

// [\da-z\.-]: the host part.
bool IsHostChar(char c) { return IsDigit(c) || IsLower(c) || c == '.' || c == '-'; }
// [a-z\.]: the top-level part.
bool IsTopChar(char c) { return IsLower(c) || c == '.'; }
// [/\w \.-]: the path part; the trailing "\/?" adds nothing since '/' is in
// the class already.
bool IsPathChar(char c) {
  return IsLower(c) || IsUpper(c) || IsDigit(c) || c == '_' || c == '/' ||
         c == ' ' || c == '.' || c == '-';
}

bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

}  // namespace

// The language of the pattern is: an optional scheme "http://" or
// "https://", then host "." top path, with host one or more host
// characters, top two to six top-level characters and path any number of
// path characters. ':' belongs to no class, so the scheme is present exactly
// when the url begins with one. The rest matches when some '.' at position
// i has only host characters before it (at least one), and two to six
// top-level characters after it reach past the last non-path character.
bool IsValidUrl(const std::string& url) {
  if (url.size() > kMaxUrlLength) return false;
  std::size_t start = 0;
  if (StartsWith(url, "https://")) {
    start = 8;
  } else if (StartsWith(url, "http://")) {
    start = 7;
  }
  const std::string rest = url.substr(start);
  const std::size_t n = rest.size();

  std::size_t host_prefix = 0;  // length of the leading run of host chars
  while (host_prefix < n && IsHostChar(rest[host_prefix])) ++host_prefix;

  // Position just after the last character that is not a path character;
  // the top-level part must end at or after it.
  std::size_t path_start_min = 0;
  for (std::size_t j = 0; j < n; ++j) {
    if (!IsPathChar(rest[j])) path_start_min = j + 1;
  }

  // top_run[j]: number of consecutive top-level characters from j.
  std::vector<std::size_t> top_run(n + 1, 0);
  for (std::size_t j = n; j-- > 0;) {
    top_run[j] = IsTopChar(rest[j]) ? top_run[j + 1] + 1 : 0;
  }

  // The dot at i needs i >= 1 host characters before it; since '.' is itself
  // a host character, every candidate lies within the host run.
  for (std::size_t i = 1; i < n && i <= host_prefix; ++i) {
    if (rest[i] != '.') continue;
    const std::size_t top_start = i + 1;
    const std::size_t longest = std::min<std::size_t>(6, top_run[top_start]);
    std::size_t shortest = 2;
    if (path_start_min > top_start + shortest) shortest = path_start_min - top_start;
    if (shortest <= longest) return true;
  }
  return false;
}

}  // namespace taviron
