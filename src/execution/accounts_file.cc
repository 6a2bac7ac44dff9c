#include "execution/accounts_file.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "foundation/exceptions.h"
#include "foundation/text_utilities.h"

namespace taviron {

namespace {

constexpr mode_t kFolderMode = 0700;
const char* const kAccountsName = "config.file";
const char* const kLockName = "config.lock";
const char* const kTemporaryName = "temp.file";
// The pauses between attempts to take a lock that another process holds:
// short at first, since a change holds it only for milliseconds, then
// longer up to a bound.
constexpr std::chrono::milliseconds kFirstLockPoll(1);
constexpr std::chrono::milliseconds kLongestLockPoll(20);

// An open file descriptor, closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  Descriptor& operator=(Descriptor&& other) noexcept {
    if (this != &other) {
      if (fd_ >= 0) ::close(fd_);
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and reports whether the close succeeded.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error) {
  throw RunTimeError(what + " " + path + ": " + std::strerror(error));
}

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

// Opens `name` in the folder `dir` for reading without following a symbolic
// link or blocking on a special file, and reads it whole when it is a
// regular file of at most kMaxAccountsFileBytes. Returns 0, or the errno
// that describes the failure (ENOENT when it does not exist, ELOOP for a
// symbolic link, EISDIR or EINVAL when it is no regular file, EFBIG when it
// is too large).
int ReadWholeFile(int dir, const char* name, std::string& content, mode_t& mode) {
  content.clear();
  Descriptor fd(::openat(dir, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!fd.valid()) return errno;
  struct stat info;
  if (::fstat(fd.get(), &info) != 0) return errno;
  if (!S_ISREG(info.st_mode)) return S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
  if (info.st_size < 0 || static_cast<std::size_t>(info.st_size) > kMaxAccountsFileBytes) {
    return EFBIG;
  }
  mode = info.st_mode;
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (got == 0) return 0;
    content.append(buffer, static_cast<std::size_t>(got));
    // A file that grows while it is read stops at the bound as well.
    if (content.size() > kMaxAccountsFileBytes) return EFBIG;
  }
}

// Why the accounts file could not be read, for an errno of ReadWholeFile.
std::string ReadFailureReason(int error) {
  switch (error) {
    case ELOOP:
      return "it is a symbolic link, which is not followed";
    case EINVAL:
      return "it is not a regular file";
    case EFBIG:
      return "it is larger than the " + std::to_string(kMaxAccountsFileBytes) +
             " bytes that an accounts file may hold";
    default:
      return std::strerror(error);
  }
}

[[noreturn]] void FailToRead(const std::string& path, int error) {
  throw RunTimeError("Cannot read the accounts file " + path + ": " + ReadFailureReason(error));
}

// Refuses content that Python could not decode, naming its first bad line.
void RequireUtf8(const std::string& path, const std::string& content) {
  const std::size_t bad = FindInvalidUtf8(content);
  if (bad == std::string::npos) return;
  const std::size_t line = 1 + static_cast<std::size_t>(std::count(
                                   content.begin(), content.begin() + static_cast<long>(bad), '\n'));
  throw RunTimeError("Cannot read the accounts file " + path + ": line " + std::to_string(line) +
                     " is not UTF-8 text");
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

// Creates each missing component of folder from the root down, owner-only.
void CreateFolders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (!part.empty() && ::mkdir(part.c_str(), kFolderMode) != 0 && errno != EEXIST) {
      Fail("Cannot create the settings folder", part, errno);
    }
    if (slash == std::string::npos) break;
  }
}

// Opens the settings folder and refuses it unless the user owns it and
// nobody else may write to it; a folder to be written must also be
// writable by its owner. A symbolic link in its place (as dotfile managers
// make them) is followed when the user owns the link and its target passes
// the same checks; a refusal then names the link. Returns an invalid
// descriptor for a folder that does not exist when `missing_ok`.
Descriptor OpenSettingsFolder(const std::string& folder, bool for_writing, bool missing_ok) {
  Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  bool through_link = false;
  if (!dir.valid()) {
    const int error = errno;
    struct stat entry;
    if ((error == ELOOP || error == ENOTDIR) && ::lstat(folder.c_str(), &entry) == 0 &&
        S_ISLNK(entry.st_mode)) {
      if (entry.st_uid != ::geteuid()) {
        throw RunTimeError("The settings folder " + folder +
                           " is a symbolic link that is not owned by the user");
      }
      through_link = true;
      dir = Descriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    } else {
      errno = error;
    }
  }
  if (!dir.valid()) {
    if (missing_ok && errno == ENOENT) return dir;
    Fail("Cannot open the settings folder", folder, errno);
  }
  struct stat info;
  if (::fstat(dir.get(), &info) != 0) Fail("Cannot open the settings folder", folder, errno);
  const std::string named =
      "The settings folder " + folder + (through_link ? " is a symbolic link to a folder that" : "");
  if (info.st_uid != ::geteuid()) {
    throw RunTimeError(named + " is not owned by the user");
  }
  if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    throw RunTimeError(named + " may be written by other users; make " +
                       (through_link ? "that folder" : "it") + " owner-only (chmod 700)");
  }
  if (for_writing && (info.st_mode & S_IWUSR) == 0) {
    Fail("Cannot write to the settings folder", folder, EACCES);
  }
  return dir;
}

// Takes the exclusive lock that serialises every change of the accounts
// file; it is let go when the returned descriptor closes. While another
// process holds it, tries again after growing pauses, calling wait_check
// before each, and gives up after kAccountsLockWait.
Descriptor LockAccounts(int dir, const std::string& folder, const LockWaitCheck& wait_check) {
  const std::string path = folder + "/" + kLockName;
  Descriptor lock(::openat(dir, kLockName, O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK |
                                                O_CLOEXEC, 0600));
  if (!lock.valid()) Fail("Cannot open the lock file", path, errno);
  struct stat info;
  if (::fstat(lock.get(), &info) != 0) Fail("Cannot open the lock file", path, errno);
  if (!S_ISREG(info.st_mode)) Fail("Cannot open the lock file", path, EINVAL);
  const auto give_up = std::chrono::steady_clock::now() + kAccountsLockWait;
  std::chrono::milliseconds pause = kFirstLockPoll;
  for (;;) {
    if (::flock(lock.get(), LOCK_EX | LOCK_NB) == 0) return lock;
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) Fail("Cannot lock", path, errno);
    if (std::chrono::steady_clock::now() >= give_up) {
      throw RunTimeError("Cannot lock " + path + ": another process holds it and kept it for " +
                         std::to_string(kAccountsLockWait.count()) +
                         " seconds; the saved accounts were not changed");
    }
    if (wait_check) wait_check();
    std::this_thread::sleep_for(pause);
    pause = std::min(2 * pause, kLongestLockPoll);
  }
}

// Removes the temporary files that saves killed before their rename left
// behind. Called under the lock: every change makes and renames (or
// removes) its temporary file while it holds the lock, so any found now is
// stale. Failures are left for the next change.
void RemoveStaleTemporaries(int dir) {
  const int listed = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listed < 0) return;
  DIR* listing = ::fdopendir(listed);
  if (listing == nullptr) {
    ::close(listed);
    return;
  }
  const std::string prefix = std::string(kTemporaryName) + ".";
  std::vector<std::string> stale;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    if (name == kTemporaryName || name.rfind(prefix, 0) == 0) stale.push_back(name);
  }
  ::closedir(listing);
  for (const std::string& name : stale) ::unlinkat(dir, name.c_str(), 0);
}

// Writes text to a new temporary file of a unique name in the folder, syncs
// it and renames it over the accounts file; on failure removes it and
// throws, leaving the accounts file as it was.
void ReplaceAccountsFile(int dir, const std::string& folder, const std::string& text) {
  const std::string path = folder + "/" + kAccountsName;
  std::string temporary = folder + "/" + kTemporaryName + ".XXXXXX";
  Descriptor fd(::mkostemp(&temporary[0], O_CLOEXEC));
  if (!fd.valid()) Fail("Cannot create a temporary file in", folder, errno);
  const std::string base = temporary.substr(folder.size() + 1);
  int error = 0;
  if (!WriteAll(fd.get(), text) || ::fsync(fd.get()) != 0) error = errno;
  if (!fd.Close() && error == 0) error = errno;
  if (error == 0 && ::renameat(dir, base.c_str(), dir, kAccountsName) != 0) error = errno;
  if (error != 0) {
    ::unlinkat(dir, base.c_str(), 0);
    Fail("Cannot write the accounts file", path, error);
  }
  ::fsync(dir);  // makes the rename itself durable; the data is already safe
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

std::string AccountsFilePath() { return InSettingsFolder(kAccountsName); }

std::string TemporaryFilePath() { return InSettingsFolder(kTemporaryName); }

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

bool ReadAccountLines(std::vector<std::string>& lines) {
  lines.clear();
  const std::string folder = SettingsFolder();
  if (folder.empty()) return false;
  const Descriptor dir = OpenSettingsFolder(folder, false, true);
  if (!dir.valid()) return false;
  const std::string path = folder + "/" + kAccountsName;
  std::string content;
  mode_t mode = 0;
  const int error = ReadWholeFile(dir.get(), kAccountsName, content, mode);
  if (error == ENOENT) return false;
  if (error != 0) FailToRead(path, error);
  RequireUtf8(path, content);
  lines = SplitLines(content);
  return true;
}

void RewriteAccountLines(const std::function<void(std::vector<std::string>&)>& edit,
                         const LockWaitCheck& wait_check) {
  const std::string folder = SettingsFolder();
  if (folder.empty()) {
    throw RunTimeError(
        "Cannot find the settings folder: none of APPDATA, XDG_CONFIG_HOME and HOME is set");
  }
  CreateFolders(folder);
  const Descriptor dir = OpenSettingsFolder(folder, true, false);
  const Descriptor lock = LockAccounts(dir.get(), folder, wait_check);
  RemoveStaleTemporaries(dir.get());
  const std::string path = folder + "/" + kAccountsName;
  std::string content;
  mode_t mode = 0;
  const int error = ReadWholeFile(dir.get(), kAccountsName, content, mode);
  if (error != 0 && error != ENOENT) FailToRead(path, error);
  if (error == 0 && (mode & S_IWUSR) == 0) Fail("Cannot write the accounts file", path, EACCES);
  std::vector<std::string> lines = SplitLines(content);
  edit(lines);
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += '\n';
  }
  if (text.size() > kMaxAccountsFileBytes) {
    throw RunTimeError("Cannot write the accounts file " + path + ": it would hold " +
                       std::to_string(text.size()) + " bytes, more than the " +
                       std::to_string(kMaxAccountsFileBytes) +
                       " that an accounts file may hold");
  }
  ReplaceAccountsFile(dir.get(), folder, text);
}

}  // namespace taviron
