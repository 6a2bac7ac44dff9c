#ifndef TAVIRON_EXECUTION_TESTING_SETTINGS_SANDBOX_H
#define TAVIRON_EXECUTION_TESTING_SETTINGS_SANDBOX_H

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <ftw.h>
#include <sys/stat.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace taviron {

// Points APPDATA at a fresh temporary folder for the length of a test, so
// that the accounts file of the machine is never touched, and restores the
// variables that the settings folder depends on afterwards.
class SettingsSandbox : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* variable : {"APPDATA", "XDG_CONFIG_HOME", "HOME"}) {
      const char* value = std::getenv(variable);
      saved_.push_back({variable, value ? std::optional<std::string>(value) : std::nullopt});
    }
    char pattern[] = "/tmp/taviron_settings_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
    ::setenv("APPDATA", root_.c_str(), 1);
  }

  void TearDown() override {
    for (const auto& [variable, value] : saved_) {
      if (value) {
        ::setenv(variable.c_str(), value->c_str(), 1);
      } else {
        ::unsetenv(variable.c_str());
      }
    }
    ::nftw(root_.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
  }

  std::string Folder() const { return root_ + "/taviron"; }
  std::string AccountsPath() const { return Folder() + "/config.file"; }
  std::string TemporaryPath() const { return Folder() + "/temp.file"; }

  // Writes the accounts file byte for byte (creating the folder).
  void WriteAccounts(const std::string& content) const {
    ::mkdir(Folder().c_str(), 0700);
    std::ofstream(AccountsPath(), std::ios::binary) << content;
  }

  // The accounts file byte for byte, or nullopt when it does not exist.
  std::optional<std::string> ReadAccounts() const {
    std::ifstream in(AccountsPath(), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::string root_;

 private:
  static int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
    return ::remove(path);
  }

  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace taviron

#endif
