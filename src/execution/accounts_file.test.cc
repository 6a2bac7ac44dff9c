#include "execution/accounts_file.h"

#include <string>
#include <vector>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "execution/testing/settings_sandbox.h"

namespace {

using AccountsFile = SettingsSandbox;

struct FolderCase {
  const char* appdata;  // nullptr: unset
  const char* xdg;
  const char* home;
  std::string expected;
};

TEST_F(AccountsFile, SettingsFolderFollowsTheVariablesInOrder) {
  const std::vector<FolderCase> cases = {
      {"/a", "/x", "/h", "/a/taviron"},
      {"", "/x", "/h", "/x/taviron"},
      {nullptr, "/x", "/h", "/x/taviron"},
      {nullptr, "", "/h", "/h/.config/taviron"},
      {nullptr, nullptr, "/h", "/h/.config/taviron"},
      {nullptr, nullptr, nullptr, ""},
      {"C:/Users/me/AppData", nullptr, nullptr, "C:/Users/me/AppData/taviron"},
  };
  auto set = [](const char* variable, const char* value) {
    if (value) {
      ::setenv(variable, value, 1);
    } else {
      ::unsetenv(variable);
    }
  };
  for (const FolderCase& c : cases) {
    set("APPDATA", c.appdata);
    set("XDG_CONFIG_HOME", c.xdg);
    set("HOME", c.home);
    EXPECT_EQ(SettingsFolder(), c.expected);
    EXPECT_EQ(AccountsFilePath(), c.expected.empty() ? "" : c.expected + "/config.file");
    EXPECT_EQ(TemporaryFilePath(), c.expected.empty() ? "" : c.expected + "/temp.file");
  }
}

struct SplitCase {
  std::string line;
  std::string name, token, rest;
};

TEST_F(AccountsFile, LinesSplitAtTheirFirstTwoCommas) {
  const std::vector<SplitCase> cases = {
      {"alice,tok1,https://x.io,inst", "alice", "tok1", "https://x.io,inst"},
      {"alice,tok1", "alice", "tok1", ""},
      {"alice", "alice", "", ""},
      {"", "", "", ""},
      {",,", "", "", ""},
      {"a,b,c,d,e", "a", "b", "c,d,e"},
  };
  for (const SplitCase& c : cases) {
    const AccountRecord record = ParseAccountRecord(c.line);
    EXPECT_EQ(record.name, c.name) << c.line;
    EXPECT_EQ(record.token, c.token) << c.line;
    EXPECT_EQ(record.rest, c.rest) << c.line;
  }
}

TEST_F(AccountsFile, ReadsLinesDroppingCarriageReturns) {
  std::vector<std::string> lines;
  EXPECT_EQ(ReadAccountLines(lines), AccountsRead::kMissing);
  EXPECT_TRUE(lines.empty());

  WriteAccounts("a,1\r\nb,2\n\nc,3");
  EXPECT_EQ(ReadAccountLines(lines), AccountsRead::kRead);
  EXPECT_EQ(lines, (std::vector<std::string>{"a,1", "b,2", "", "c,3"}));
}

TEST_F(AccountsFile, FolderIsOwnerOnlyAndFileMode0600) {
  ::setenv("APPDATA", (root_ + "/deeper/still").c_str(), 1);
  ASSERT_TRUE(AppendAccountLine("a,1,u,i"));
  struct stat info;
  ASSERT_EQ(::stat((root_ + "/deeper/still/taviron").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  ASSERT_EQ(::stat((root_ + "/deeper/still/taviron/config.file").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(AccountsFile, AppendEndsAForeignLastLineFirst) {
  WriteAccounts("old,1");
  ASSERT_TRUE(AppendAccountLine("new,2,u,"));
  EXPECT_EQ(ReadAccounts(), "old,1\nnew,2,u,\n");
}

TEST_F(AccountsFile, RemovalReplacesTheFileAtomically) {
  WriteAccounts("alice,1\r\nbob,2\nalice,3\nali,4");
  ASSERT_TRUE(RemoveAccountLines("alice"));
  EXPECT_EQ(ReadAccounts(), "bob,2\nali,4\n");
  struct stat info;
  EXPECT_NE(::stat(TemporaryPath().c_str(), &info), 0);  // no temporary left
  ASSERT_EQ(::stat(AccountsPath().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(AccountsFile, ReadFailureLeavesTheAccountsFileAlone) {
  // A folder in place of the accounts file opens but cannot be read.
  ::mkdir(Folder().c_str(), 0700);
  ASSERT_EQ(::mkdir(AccountsPath().c_str(), 0700), 0);
  EXPECT_FALSE(RemoveAccountLines("alice"));
  struct stat info;
  ASSERT_EQ(::stat(AccountsPath().c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_NE(::stat(TemporaryPath().c_str(), &info), 0);
}

TEST_F(AccountsFile, WriteFailureLeavesTheAccountsFileAlone) {
  WriteAccounts("alice,1\nbob,2\n");
  // A folder in place of the temporary file cannot be opened for writing.
  ASSERT_EQ(::mkdir(TemporaryPath().c_str(), 0700), 0);
  EXPECT_FALSE(RemoveAccountLines("alice"));
  EXPECT_EQ(ReadAccounts(), "alice,1\nbob,2\n");
}

}  // namespace
