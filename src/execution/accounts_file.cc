#include "execution/accounts_file.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t kFolderMode = 0700;
constexpr mode_t kFileMode = 0600;

std::string Environment(const char* variable) {
  const char* value = std::getenv(variable);
  return value == nullptr ? std::string() : std::string(value);
}

std::string InSettingsFolder(const char* file_name) {
  const std::string folder = SettingsFolder();
  return folder.empty() ? std::string() : folder + "/" + file_name;
}

// Writes all of data to fd, resuming after interruptions and short writes.
bool WriteAll(int fd, const std::string& data) {
  const char* next = data.data();
  std::size_t left = data.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, next, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    next += written;
    left -= static_cast<std::size_t>(written);
  }
  return true;
}

// Reads the whole file at path; kMissing when it does not exist.
AccountsRead ReadWholeFile(const std::string& path, std::string& content) {
  content.clear();
  if (path.empty()) return AccountsRead::kMissing;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return errno == ENOENT ? AccountsRead::kMissing : AccountsRead::kFailed;
  }
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return AccountsRead::kFailed;
    }
    if (got == 0) break;
    content.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return AccountsRead::kRead;
}

// Splits text into lines as a line reader does: '\n' ends a line, a last
// line without it still counts, and a '\r' right before a line's end is
// dropped so that files written with CR LF read the same.
std::vector<std::string> SplitLines(const std::string& content) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::string SettingsFolder() {
  std::string base = Environment("APPDATA");
  if (base.empty()) base = Environment("XDG_CONFIG_HOME");
  if (base.empty()) {
    const std::string home = Environment("HOME");
    if (home.empty()) return std::string();
    base = home + "/.config";
  }
  return base + "/taviron";
}

std::string AccountsFilePath() { return InSettingsFolder("config.file"); }

std::string TemporaryFilePath() { return InSettingsFolder("temp.file"); }

bool CreateSettingsFolder() {
  const std::string folder = SettingsFolder();
  if (folder.empty()) return false;
  // Create each missing component from the root down.
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (!part.empty() && ::mkdir(part.c_str(), kFolderMode) != 0 && errno != EEXIST) {
      return false;
    }
    if (slash == std::string::npos) break;
  }
  struct stat info;
  return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

AccountRecord ParseAccountRecord(const std::string& line) {
  AccountRecord record;
  const std::size_t first = line.find(',');
  if (first == std::string::npos) {
    record.name = line;
    return record;
  }
  record.name = line.substr(0, first);
  const std::size_t second = line.find(',', first + 1);
  if (second == std::string::npos) {
    record.token = line.substr(first + 1);
    return record;
  }
  record.token = line.substr(first + 1, second - first - 1);
  record.rest = line.substr(second + 1);
  return record;
}

AccountsRead ReadAccountLines(std::vector<std::string>& lines) {
  std::string content;
  const AccountsRead outcome = ReadWholeFile(AccountsFilePath(), content);
  lines = SplitLines(content);
  return outcome;
}

bool AppendAccountLine(const std::string& line) {
  if (!CreateSettingsFolder()) return false;
  const std::string path = AccountsFilePath();
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, kFileMode);
  if (fd < 0) return false;
  ::fchmod(fd, kFileMode);
  std::string text;
  // End a last line that a foreign writer left open.
  const off_t size = ::lseek(fd, 0, SEEK_END);
  if (size > 0) {
    char last = '\n';
    if (::pread(fd, &last, 1, size - 1) == 1 && last != '\n') text += '\n';
  }
  text += line;
  text += '\n';
  const bool written = WriteAll(fd, text);
  const bool closed = ::close(fd) == 0;
  return written && closed;
}

bool RemoveAccountLines(const std::string& name) {
  CreateSettingsFolder();
  std::string content;
  if (ReadWholeFile(AccountsFilePath(), content) == AccountsRead::kFailed) {
    return false;  // the accounts file stays untouched
  }
  std::string kept;
  for (const std::string& line : SplitLines(content)) {
    if (ParseAccountRecord(line).name == name) continue;
    kept += line;
    kept += '\n';
  }
  const std::string temporary = TemporaryFilePath();
  if (temporary.empty()) return false;
  const int fd =
      ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kFileMode);
  if (fd < 0) return false;
  ::fchmod(fd, kFileMode);
  const bool written = WriteAll(fd, kept) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed ||
      ::rename(temporary.c_str(), AccountsFilePath().c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}
