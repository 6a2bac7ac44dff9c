#include "execution/accounts_file.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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
  EXPECT_FALSE(ReadAccountLines(lines));
  EXPECT_TRUE(lines.empty());

  WriteAccounts("a,1\r\nb,2\n\nc,3");
  EXPECT_TRUE(ReadAccountLines(lines));
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
  EXPECT_THROW(ReadAccountLines(lines), RunTimeError);
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
      {"link to a folder others may write",
       [this] {
         ::rename(Folder().c_str(), (root_ + "/real").c_str());
         ::symlink((root_ + "/real").c_str(), Folder().c_str());
         ::chmod((root_ + "/real").c_str(), 0770);
       },
       "/taviron is a symbolic link to a folder that may be written by other users"},
      {"result too large",
       [this] { WriteAccounts("alice,1,u,\n" + std::string(kMaxAccountsFileBytes - 20, 'x')); },
       "bytes, more than the 1048576 that an accounts file may hold"},
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
    const std::string what = c.what;
    if (what == "folder in place of the file" || what == "result too large") continue;
    // Modes are checked as such, so the refusals hold for root as well.
    const bool linked = what == "link to a folder others may write";
    std::ifstream in(root_ + (linked ? "/real" : "/taviron") + "/config.file");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "alice,1,u,\n") << c.what;
  }
}

// Each case leaves an accounts file that cannot be read: reading it throws a
// message that names the file and the reason, and so does a change, which
// leaves it as it was.
TEST_F(AccountsFileTest, UnreadableFilesAreReportedWithPathAndReason) {
  struct UnreadableCase {
    const char* what;
    std::function<void()> arrange;
    const char* reason;
  };
  const std::vector<UnreadableCase> cases = {
      {"a folder", [this] { ::mkdir(AccountsPath().c_str(), 0700); }, "Is a directory"},
      {"a FIFO", [this] { ::mkfifo(AccountsPath().c_str(), 0600); },
       "it is not a regular file"},
      {"a link",
       [this] {
         std::ofstream(root_ + "/elsewhere") << "alice,1\n";
         ::symlink((root_ + "/elsewhere").c_str(), AccountsPath().c_str());
       },
       "it is a symbolic link, which is not followed"},
      {"a sparse file of 3 GB",
       [this] {
         WriteAccounts("alice,1\n");
         ASSERT_EQ(::truncate(AccountsPath().c_str(), 3LL << 30), 0);
       },
       "it is larger than the 1048576 bytes that an accounts file may hold"},
      {"text that is not UTF-8", [this] { WriteAccounts("alice,1\nb\xffob,2\n"); },
       "line 2 is not UTF-8 text"},
  };
  for (const UnreadableCase& c : cases) {
    TearDown();
    SetUp();
    ::mkdir(Folder().c_str(), 0700);
    c.arrange();
    const std::string expected = "Cannot read the accounts file " + AccountsPath() + ": " + c.reason;
    std::vector<std::string> lines;
    try {
      ReadAccountLines(lines);
      ADD_FAILURE() << c.what << ": read without an exception";
    } catch (const RunTimeError& error) {
      EXPECT_EQ(error.what(), expected) << c.what;
    }
    if (std::string(c.what) == "text that is not UTF-8") {
      // A change keeps the lines it does not understand.
      Append("carol,3");
      EXPECT_EQ(ReadAccounts(), "alice,1\nb\xffob,2\ncarol,3\n");
      continue;
    }
    EXPECT_THROW(Append("bob,2"), RunTimeError) << c.what;
  }
}

TEST_F(AccountsFileTest, AFolderLinkOfTheUserIsFollowed) {
  const std::string real = root_ + "/dotfiles/taviron";
  ::mkdir((root_ + "/dotfiles").c_str(), 0700);
  ::mkdir(real.c_str(), 0700);
  ASSERT_EQ(::symlink(real.c_str(), Folder().c_str()), 0);
  Append("alice,1,u,");
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadAccountLines(lines));
  EXPECT_EQ(lines, std::vector<std::string>{"alice,1,u,"});
  std::ifstream in(real + "/config.file");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "alice,1,u,\n");
  // A link to nothing is a missing folder to a reader.
  ASSERT_EQ(::rename(real.c_str(), (real + ".moved").c_str()), 0);
  EXPECT_FALSE(ReadAccountLines(lines));
}

TEST_F(AccountsFileTest, StaleTemporariesAreRemovedByTheNextChange) {
  WriteAccounts("alice,1\n");
  for (const char* name : {"temp.file", "temp.file.Ab12Cd", "temp.file.zzzzzz"}) {
    std::ofstream(Folder() + "/" + name) << "deleted,secret-token\n";
  }
  std::ofstream(Folder() + "/temp.filed") << "not ours\n";
  Append("bob,2");
  EXPECT_TRUE(TemporaryFiles(Folder()) == std::vector<std::string>{"temp.filed"});
  EXPECT_EQ(ReadAccounts(), "alice,1\nbob,2\n");
}

// A lock that another holder keeps: the change waits, calling the check
// between attempts, until the holder lets go or the check throws.
TEST_F(AccountsFileTest, AChangeWaitsForAHeldLockAndCanBeInterrupted) {
  WriteAccounts("alice,1\n");
  const int held = ::open((Folder() + "/config.lock").c_str(), O_RDONLY | O_CREAT, 0600);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  int checks = 0;
  struct Interrupted {};
  EXPECT_THROW(RewriteAccountLines([](std::vector<std::string>& lines) { lines.clear(); },
                                   [&checks] {
                                     if (++checks == 5) throw Interrupted{};
                                   }),
               Interrupted);
  EXPECT_EQ(ReadAccounts(), "alice,1\n");
  checks = 0;
  RewriteAccountLines([](std::vector<std::string>& lines) { lines.push_back("bob,2"); },
                      [&checks, held] {
                        if (++checks == 3) ::flock(held, LOCK_UN);
                      });
  EXPECT_EQ(checks, 3);
  EXPECT_EQ(ReadAccounts(), "alice,1\nbob,2\n");
  ::close(held);
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
  ASSERT_TRUE(ReadAccountLines(lines));
  EXPECT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kEach));
  EXPECT_TRUE(TemporaryFiles(Folder()).empty());
}

}  // namespace

}  // namespace taviron
