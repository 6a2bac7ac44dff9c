#ifndef TAVIRON_EXECUTION_ACCOUNTS_FILE_H
#define TAVIRON_EXECUTION_ACCOUNTS_FILE_H

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace taviron {

// The saved-accounts file: plain text, one account per line, the fields
// name, token, url and instance separated by commas, lines ended by '\n'.
// It lives in the settings folder, which is "taviron" under the first of
// $APPDATA, $XDG_CONFIG_HOME and $HOME/.config that is set and not empty.
//
// Every change is a read-modify-write of the whole file under an exclusive
// advisory lock (flock) on "config.lock" beside it, so that processes and
// threads that save and delete at once lose nothing; the new contents go to
// a temporary file in the same folder (unnamed where the file system allows),
// which is synced and then renamed over the accounts file, so no reader ever
// sees a torn line. A temporary file left by a save that was killed before
// its rename is removed by the next change, under the lock.
//
// The settings folder must be owned by the user and writable by nobody
// else. It may be a symbolic link (as dotfile managers make them) to a
// folder that passes the same checks; nothing inside it is opened through a
// symbolic link.

// The largest accounts file that is read or written: 1 MiB.
constexpr std::size_t kMaxAccountsFileBytes = std::size_t{1} << 20;

// How long a change waits for the lock that another process holds.
constexpr std::chrono::seconds kAccountsLockWait{10};

// Called between the attempts of a change to take the lock (at least every
// 20 ms) while another process holds it. It may throw to give up the wait
// (the Python layer checks for Ctrl-C here).
using LockWaitCheck = std::function<void()>;

// The settings folder, or "" when none of the variables is set.
std::string SettingsFolder();
// "config.file" and "temp.file" in the settings folder ("" without one).
// Named temporary files are "temp.file." followed by a unique suffix.
std::string AccountsFilePath();
std::string TemporaryFilePath();

// One line of the file split at its first two commas: the name field
// (the whole line when it has no comma), the token field (to the end of the
// line when there is no second comma) and everything after the second comma
// (url, comma and instance together).
struct AccountRecord {
  std::string name;
  std::string token;
  std::string rest;
};
AccountRecord ParseAccountRecord(const std::string& line);

// Reads every line of the accounts file into lines (a trailing '\r' of a
// line is dropped) and returns true; returns false, with lines empty, when
// there is no settings folder or no accounts file. Throws RunTimeError
// naming the path and the reason when the file is there but cannot be read:
// no permission, a folder, a FIFO or device, a symbolic link, more than
// kMaxAccountsFileBytes, text that is not UTF-8 (naming the line), an I/O
// error; and naming the folder when the folder is unsafe (see above).
bool ReadAccountLines(std::vector<std::string>& lines);

// Under the exclusive lock: reads the accounts file's lines (none when it
// does not exist), lets edit change them, and replaces the file with the
// result, each line ended by '\n'. Creates the settings folder (and any
// missing parent) owner-only (0700); the file is written 0600. While
// another process holds the lock it waits, calling wait_check, for at most
// kAccountsLockWait, then throws RunTimeError naming the lock file. Throws
// RunTimeError naming the path and the system's reason when any step fails
// (no settings folder, an unsafe folder, a read-only or unreadable accounts
// file, a folder that cannot be written, a name too long, a result beyond
// kMaxAccountsFileBytes); the accounts file then stays as it was and no
// temporary file is left.
void RewriteAccountLines(const std::function<void(std::vector<std::string>&)>& edit,
                         const LockWaitCheck& wait_check = {});

}  // namespace taviron

#endif
