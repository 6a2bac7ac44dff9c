#ifndef TAVIRON_EXECUTION_ACCOUNTS_FILE_H
#define TAVIRON_EXECUTION_ACCOUNTS_FILE_H

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
// a temporary file of a unique name in the same folder, which is synced and
// then renamed over the accounts file, so no reader ever sees a torn line.
// Nothing in the folder is
// opened through a symbolic link, and a settings folder that is not owned
// by the user, or that others may write to, is refused.

// The settings folder, or "" when none of the variables is set.
std::string SettingsFolder();
// "config.file" and "temp.file" in the settings folder ("" without one).
// Temporary files are "temp.file." followed by a unique suffix.
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

enum class AccountsRead { kRead, kMissing, kFailed };

// Reads every line of the accounts file into lines (a trailing '\r' of a
// line is dropped). kMissing when the folder or the file does not exist
// (lines empty), kFailed when the file cannot be read (a symbolic link, not
// a regular file, an I/O error). Throws RunTimeError naming the folder when
// it exists but is unsafe (see above).
AccountsRead ReadAccountLines(std::vector<std::string>& lines);

// Under the exclusive lock: reads the accounts file's lines (none when it
// does not exist), lets edit change them, and replaces the file with the
// result, each line ended by '\n'. Creates the settings folder (and any
// missing parent) owner-only (0700); the file is written 0600. Throws
// RunTimeError naming the path and the system's reason when any step fails
// (no settings folder, an unsafe folder, a read-only or unreadable accounts
// file, a folder that cannot be written, a name too long); the accounts file
// then stays as it was and no temporary file is left.
void RewriteAccountLines(const std::function<void(std::vector<std::string>&)>& edit);

}  // namespace taviron

#endif
