#include "execution/url_check.h"

#include <random>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace taviron {

namespace {

bool RegexAccepts(const std::regex& pattern, const std::string& url) {
  return std::regex_match(url, pattern);
}

struct UrlCase {
  std::string url;
  bool valid;
};

TEST(UrlCheckTest, AcceptsAndRefusesTypicalUrls) {
  const std::vector<UrlCase> cases = {
      {"https://example.com", true},
      {"http://example.com", true},
      {"example.com", true},                              // no scheme
      {"https://api.example.co.uk/v1/jobs/", true},
      {"https://example.com/Some_Path/x-y.z", true},
      {"https://example.com/with space", true},
      {"https://1-2.example.info", true},
      {"a.bcdefgh", true},                                // top part then path
      {"https://Example.com", false},                     // upper case in the host
      {"https://example.com:8080", false},                // port
      {"https://example.com/path?query=1", false},        // query
      {"https://localhost", false},                       // no dot
      {"a.b", false},                                     // top part too short
      {"ftp://example.com", false},
      {"https//example.com", false},
      {"https://", false},
      {"", false},
      {"https://example.com/a\nb", false},
      {"https://ex\xc3\xa4mple.com", false},              // non-ASCII byte
  };
  const std::regex pattern(kUrlPattern, std::regex::ECMAScript);
  for (const UrlCase& c : cases) {
    EXPECT_EQ(IsValidUrl(c.url), c.valid) << c.url;
    EXPECT_EQ(RegexAccepts(pattern, c.url), c.valid) << "pattern disagrees on " << c.url;
  }
}

// Every string of up to four characters over an alphabet that touches each
// character class and its borders, behind each scheme-like prefix.
TEST(UrlCheckTest, AgreesWithThePatternOnAllShortStrings) {
  const std::regex pattern(kUrlPattern, std::regex::ECMAScript);
  const std::string alphabet = "a.z/A1-_ :";
  const std::vector<std::string> prefixes = {"", "http://", "https://", "http:/", "xs"};
  std::vector<std::string> bodies = {""};
  for (int length = 1; length <= 4; ++length) {
    std::vector<std::string> longer;
    for (const std::string& body : bodies) {
      if (body.size() + 1 != static_cast<std::size_t>(length)) continue;
      for (char c : alphabet) longer.push_back(body + c);
    }
    bodies.insert(bodies.end(), longer.begin(), longer.end());
  }
  int accepted = 0;
  for (const std::string& prefix : prefixes) {
    for (const std::string& body : bodies) {
      const std::string url = prefix + body;
      const bool expected = RegexAccepts(pattern, url);
      ASSERT_EQ(IsValidUrl(url), expected) << '"' << url << '"';
      accepted += expected;
    }
  }
  EXPECT_GT(accepted, 100);  // the sample reaches the accepting side too
}

// Random near-misses: a host, a dot, a top-level part and a path drawn from
// their own classes (with neighbours that belong to none), then one
// character often replaced by any character of the sample alphabet.
TEST(UrlCheckTest, AgreesWithThePatternOnRandomStrings) {
  const std::regex pattern(kUrlPattern, std::regex::ECMAScript);
  const std::vector<std::string> prefixes = {"", "http://", "https://"};
  const std::string host = "ab9-.";
  const std::string top = "xz.";
  const std::string path = "aZ_ /.-9";
  const std::string any = "a.Z/_ -9:?A";
  std::mt19937 generator(20240611);
  auto draw = [&](const std::string& from, int max_length) {
    std::string text;
    const int n = std::uniform_int_distribution<int>(0, max_length)(generator);
    for (int i = 0; i < n; ++i) {
      text += from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(generator)];
    }
    return text;
  };
  int accepted = 0;
  int refused = 0;
  for (int i = 0; i < 50000; ++i) {
    std::string url = prefixes[i % prefixes.size()] + draw(host, 3) + "." + draw(top, 7) +
                      draw(path, 3);
    if (i % 2 == 0) {
      const std::size_t at = std::uniform_int_distribution<std::size_t>(0, url.size() - 1)(generator);
      url[at] = any[std::uniform_int_distribution<std::size_t>(0, any.size() - 1)(generator)];
    }
    const bool expected = RegexAccepts(pattern, url);
    ASSERT_EQ(IsValidUrl(url), expected) << '"' << url << '"';
    (expected ? accepted : refused) += 1;
  }
  // The sample reaches both sides of the language.
  EXPECT_GT(accepted, 5000);
  EXPECT_GT(refused, 5000);
}

TEST(UrlCheckTest, LongUrlsAreDecidedAtOnce) {
  // A 30-character path with a query: the pattern backtracks through every
  // split of the path before it fails; the matcher answers in one pass.
  EXPECT_FALSE(IsValidUrl("https://example.com/abcdefghijklmnopqrstuvwxyz0123?q=1"));
  const std::string host = "https://example.com/";
  const std::string at_limit = host + std::string(kMaxUrlLength - host.size(), 'p');
  EXPECT_TRUE(IsValidUrl(at_limit));
  EXPECT_FALSE(IsValidUrl(at_limit + "p"));
  EXPECT_FALSE(IsValidUrl(std::string(1000000, 'a') + ".com"));
}

}  // namespace

}  // namespace taviron
