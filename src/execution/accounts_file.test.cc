#include "execution/accounts_file.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "execution/testing/settings_sandbox.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

using AccountsFileTest = SettingsSandbox;

struct FolderCase {
  const char* appdata;  // nullptr: unset
  const char* xdg;
  const char* home;
  std::string expected;
};

TEST_F(AccountsFileTest, SettingsFolderFollowsTheVariablesInOrder) {
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

TEST_F(AccountsFileTest, LinesSplitAtTheirFirstTwoCommas) {
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

TEST_F(AccountsFileTest, ReadsLinesDroppingCarriageReturns) {
  std::vector<std::string> lines;
  EXPECT_EQ(ReadAccountLines(lines), AccountsRead::kMissing);
  EXPECT_TRUE(lines.empty());

  WriteAccounts("a,1\r\nb,2\n\nc,3");
  EXPECT_EQ(ReadAccountLines(lines), AccountsRead::kRead);
  EXPECT_EQ(lines, (std::vector<std::string>{"a,1", "b,2", "", "c,3"}));
}

void Append(const std::string& line) {
  RewriteAccountLines([&line](std::vector<std::string>& lines) { lines.push_back(line); });
}

// The names in the settings folder that start with "temp.file".
std::vector<std::string> TemporaryFiles(const std::string& folder) {
  std::vector<std::string> found;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      if (std::string(entry->d_name).rfind("temp.file", 0) == 0) found.push_back(entry->d_name);
    }
    ::closedir(dir);
  }
  return found;
}

TEST_F(AccountsFileTest, FolderIsOwnerOnlyAndFileMode0600) {
  ::setenv("APPDATA", (root_ + "/deeper/still").c_str(), 1);
  Append("a,1,u,i");
  struct stat info;
  ASSERT_EQ(::stat((root_ + "/deeper/still/taviron").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  ASSERT_EQ(::stat((root_ + "/deeper/still/taviron/config.file").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(AccountsFileTest, AppendEndsAForeignLastLineFirst) {
  WriteAccounts("old,1");
  Append("new,2,u,");
  EXPECT_EQ(ReadAccounts(), "old,1\nnew,2,u,\n");
}

TEST_F(AccountsFileTest, RewriteReplacesTheFileAndLeavesNoTemporary) {
  WriteAccounts("alice,1\r\nbob,2\nalice,3\nali,4");
  RewriteAccountLines([](std::vector<std::string>& lines) { lines.erase(lines.begin()); });
  EXPECT_EQ(ReadAccounts(), "bob,2\nalice,3\nali,4\n");
  EXPECT_TRUE(TemporaryFiles(Folder()).empty());
  struct stat info;
  ASSERT_EQ(::stat(AccountsPath().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(AccountsFileTest, PlantedLinksAreNeverFollowed) {
  const std::string target = root_ + "/target";
  std::ofstream(target) << "untouched\n";
  ::mkdir(Folder().c_str(), 0700);
  ASSERT_EQ(::symlink(target.c_str(), TemporaryPath().c_str()), 0);
  Append("a,1,u,");  // the temporary file has a name of its own
  EXPECT_EQ(ReadAccounts(), "a,1,u,\n");

  ASSERT_EQ(::unlink(AccountsPath().c_str()), 0);
  ASSERT_EQ(::symlink(target.c_str(), AccountsPath().c_str()), 0);
  EXPECT_THROW(Append("b,2,u,"), RunTimeError);
  std::vector<std::string> lines;
  EXPECT_EQ(ReadAccountLines(lines), AccountsRead::kFailed);
  std::ifstream in(target);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "untouched\n");
}

struct FailureCase {
  const char* what;
  std::function<void()> arrange;
  const char* message_part;  // the message names this (a path or the cause)
};

// Each case makes the rewrite impossible; it must throw a message that names
// the place, and leave the accounts file as it was.
TEST_F(AccountsFileTest, FailedRewritesThrowAndChangeNothing) {
  const std::vector<FailureCase> cases = {
      {"read-only file", [this] { ::chmod(AccountsPath().c_str(), 0400); },
       "/taviron/config.file: Permission denied"},
      {"read-only folder", [this] { ::chmod(Folder().c_str(), 0500); },
       "/taviron: Permission denied"},
      {"folder in place of the file",
       [this] {
         ::unlink(AccountsPath().c_str());
         ::mkdir(AccountsPath().c_str(), 0700);
       },
       "/taviron/config.file: Is a directory"},
      {"no variable set",
       [] {
         ::unsetenv("APPDATA");
         ::unsetenv("XDG_CONFIG_HOME");
         ::unsetenv("HOME");
       },
       "none of APPDATA, XDG_CONFIG_HOME and HOME is set"},
      {"name too long",
       [this] {
         ::setenv("APPDATA", (root_ + "/" + std::string(300, 'x')).c_str(), 1);
       },
       "File name too long"},
      {"folder others may write", [this] { ::chmod(Folder().c_str(), 0777); },
       "/taviron may be written by other users"},
      {"folder of a link",
       [this] {
         ::rename(Folder().c_str(), (root_ + "/real").c_str());
         ::symlink((root_ + "/real").c_str(), Folder().c_str());
       },
       "/taviron: Not a directory"},
  };
  for (const FailureCase& c : cases) {
    TearDown();
    SetUp();
    WriteAccounts("alice,1,u,\n");
    c.arrange();
    try {
      Append("bob,2,u,");
      ADD_FAILURE() << c.what << ": no exception";
    } catch (const RunTimeError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message_part), std::string::npos)
          << c.what << ": " << error.what();
    }
    ::chmod(Folder().c_str(), 0700);
    ::chmod(AccountsPath().c_str(), 0600);
    ::setenv("APPDATA", root_.c_str(), 1);
    if (std::string(c.what) == "folder in place of the file") continue;
    // Modes are checked as such, so the refusals hold for root as well.
    std::ifstream in(root_ + (std::string(c.what) == "folder of a link" ? "/real" : "/taviron") +
                     "/config.file");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "alice,1,u,\n") << c.what;
  }
}

TEST_F(AccountsFileTest, AFolderOfAnotherUserIsRefused) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs to give the folder away";
  WriteAccounts("alice,1,u,\n");
  ASSERT_EQ(::chown(Folder().c_str(), 65534, 65534), 0);
  EXPECT_THROW(Append("bob,2,u,"), RunTimeError);
  std::vector<std::string> lines;
  EXPECT_THROW(ReadAccountLines(lines), RunTimeError);
}

TEST_F(AccountsFileTest, ConcurrentRewritesLoseNothing) {
  constexpr int kThreads = 8;
  constexpr int kEach = 25;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < kEach; ++i) Append("n" + std::to_string(t) + "_" + std::to_string(i));
    });
  }
  for (std::thread& thread : threads) thread.join();
  std::vector<std::string> lines;
  ASSERT_EQ(ReadAccountLines(lines), AccountsRead::kRead);
  EXPECT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kEach));
  EXPECT_TRUE(TemporaryFiles(Folder()).empty());
}

}  // namespace

}  // namespace taviron
