#include "execution/provider.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "execution/backend.h"
#include "execution/testing/settings_sandbox.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

using ProviderTest = SettingsSandbox;

struct ConstructorCase {
  std::optional<std::string> file;  // nullopt: no accounts file
  std::string token, url, name;     // arguments
  std::string expected_name, expected_token, expected_url;
};

TEST_F(ProviderTest, AccountComesFromArgumentsThenFileThenDefaults) {
  const std::string url = kDefaultUrl;
  const std::vector<ConstructorCase> cases = {
      {std::nullopt, "", "", "", kDefaultAccountName, kDefaultToken, url},
      {"alice,tok1\n", "", "", "", "alice", "tok1", url},
      {"justaname\n", "", "", "", "justaname", kDefaultToken, url},
      {"alice,tok1,https://x.io,inst\nbob,tok2\n", "", "", "", "alice", "tok1",
       "https://x.io,inst"},
      {"alice,tok1\n", "mytoken", "", "", "alice", "mytoken", url},
      {"alice,tok1\n", "", "", "bob", "bob", "tok1", url},
      {"alice,tok1\n", "", "https://my.host/api", "", "alice", "tok1", "https://my.host/api"},
      // The file's url is taken without the pattern check.
      {"alice,tok1,NOT A URL:99\n", "", "", "", "alice", "tok1", "NOT A URL:99"},
      {"alice,tok1\r\n", "", "", "", "alice", "tok1", url},
      {"\nbob,tok2\n", "", "", "", kDefaultAccountName, kDefaultToken, url},
      {"", "", "", "", kDefaultAccountName, kDefaultToken, url},
  };
  for (const ConstructorCase& c : cases) {
    ::unlink(AccountsPath().c_str());
    if (c.file) WriteAccounts(*c.file);
    const TavironProvider provider(c.token, c.url, c.name);
    EXPECT_EQ(provider.name, c.expected_name) << c.file.value_or("(no file)");
    EXPECT_EQ(provider.token, c.expected_token) << c.file.value_or("(no file)");
    EXPECT_EQ(provider.url, c.expected_url) << c.file.value_or("(no file)");
    EXPECT_EQ(provider.active_account(),
              (StringPairs{{"name", c.expected_name}, {"token", c.expected_token}}));
  }
}

TEST_F(ProviderTest, RefusesUrlsOutsideThePattern) {
  for (const std::string& url : std::vector<std::string>{
           "https://Example.com", "https://example.com:8080", "https://example.com/x?q=1",
        "https://localhost", "https://example.com/abcdefghijklmnopqrstuvwxyz0123?q=1",
        "https://example.com/" + std::string(2100, 'p')}) {
    try {
      TavironProvider provider("", url);
      ADD_FAILURE() << "accepted " << url;
    } catch (const RunTimeError& error) {
      EXPECT_STREQ(error.what(), "The url provided is invalid");
    }
  }
  EXPECT_EQ(TavironProvider("", "example.com/path").url, "example.com/path");
}

TEST_F(ProviderTest, NamesOneBackendAndCreatesANewOneEachTime) {
  const TavironProvider provider;
  EXPECT_EQ(provider.backends("anything"), std::vector<std::string>{"velmora_taviron"});
  const std::shared_ptr<BackendV2> first = provider.get_backend("velmora_taviron");
  const std::shared_ptr<BackendV2> second = provider.get_backend("velmora_taviron");
  ASSERT_TRUE(first && second);
  EXPECT_NE(first, second);
  for (const char* wrong : {"Velmora_taviron", "velmora_taviron ", "", "velmora"}) {
    try {
      provider.get_backend(wrong);
      ADD_FAILURE() << "found " << wrong;
    } catch (const RunTimeError& error) {
      EXPECT_STREQ(error.what(), "Backend not found");
    }
  }
}

TEST_F(ProviderTest, SaveWithOverwriteMovesTheLineToTheEnd) {
  const TavironProvider provider;
  provider.save_account("t1", "u1", "i1", "alice");
  provider.save_account("t2", "u2", "", "bob");
  provider.save_account("t3", "u3", "i3", "alice", false, true);
  EXPECT_EQ(ReadAccounts(), "bob,t2,u2,\nalice,t3,u3,i3\n");
  EXPECT_EQ(provider.saved_accounts(), (StringPairs{{"bob", "t2"}, {"alice", "t3"}}));
  // The provider keeps its own account.
  EXPECT_EQ(provider.active_account(),
            (StringPairs{{"name", kDefaultAccountName}, {"token", kDefaultToken}}));
}

TEST_F(ProviderTest, SaveWithoutOverwriteKeepsBothLines) {
  const TavironProvider provider;
  provider.save_account("t1", "u", "i", "alice", false, false);
  provider.save_account("t2", "u", "i", "bob", false, false);
  provider.save_account("t3", "u", "i", "alice", false, false);
  EXPECT_EQ(ReadAccounts(), "alice,t1,u,i\nbob,t2,u,i\nalice,t3,u,i\n");
  // Entries stand where each name first occurs; the later token wins.
  EXPECT_EQ(provider.saved_accounts(), (StringPairs{{"alice", "t3"}, {"bob", "t2"}}));
}

TEST_F(ProviderTest, DeleteKeepsOtherAccountsAndEndsEveryLine) {
  const TavironProvider provider;
  WriteAccounts("alice,1,u,i\nali,2\nbob,3");
  EXPECT_TRUE(provider.delete_account("ali"));
  EXPECT_EQ(ReadAccounts(), "alice,1,u,i\nbob,3\n");
  EXPECT_TRUE(provider.delete_account("nobody"));
  EXPECT_EQ(ReadAccounts(), "alice,1,u,i\nbob,3\n");
  EXPECT_TRUE(provider.delete_account(""));
  EXPECT_EQ(ReadAccounts(), "alice,1,u,i\nbob,3\n");
}

TEST_F(ProviderTest, DeleteWithoutFileCreatesAnEmptyOne) {
  EXPECT_EQ(ReadAccounts(), std::nullopt);
  EXPECT_TRUE(TavironProvider().delete_account("alice"));
  EXPECT_EQ(ReadAccounts(), "");
}

TEST_F(ProviderTest, SavedAccountsReadsEmptyAndMissingFiles) {
  const TavironProvider provider;
  EXPECT_TRUE(provider.saved_accounts().empty());
  WriteAccounts("alice,1\n\nbob\r\n");
  EXPECT_EQ(provider.saved_accounts(), (StringPairs{{"alice", "1"}, {"", ""}, {"bob", ""}}));
}

TEST_F(ProviderTest, RefusesFieldsThatWouldBreakTheFile) {
  const TavironProvider provider;
  WriteAccounts("alice,1,u,i\n");
  struct FieldCase {
    std::string token, url, instance, name;
  };
  const std::vector<FieldCase> cases = {
      {"t", "u", "i", "ev,il"},   {"t\n", "u", "i", "n"}, {"t", "u\r", "i", "n"},
      {"t", "u", "i,x", "n"},     {"t", "u", "i", "x\ninjected,line"},
  };
  for (const FieldCase& c : cases) {
    EXPECT_THROW(provider.save_account(c.token, c.url, c.instance, c.name), RunTimeError);
  }
  // Refused before anything changes, overwrite included.
  EXPECT_THROW(provider.save_account("t", "u", "i,", "alice"), RunTimeError);
  EXPECT_EQ(ReadAccounts(), "alice,1,u,i\n");
}

TEST_F(ProviderTest, FieldsAreWrittenUpToANul) {
  const TavironProvider provider;
  provider.save_account(std::string("to\0ken", 6), "u", "i", std::string("bo\0b", 4));
  EXPECT_EQ(ReadAccounts(), "bo,to,u,i\n");
}

}  // namespace

}  // namespace taviron
