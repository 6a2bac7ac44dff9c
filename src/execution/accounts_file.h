#ifndef TAVIRON_EXECUTION_ACCOUNTS_FILE_H
#define TAVIRON_EXECUTION_ACCOUNTS_FILE_H

#include <string>
#include <vector>

// The saved-accounts file: plain text, one account per line, the fields
// name, token, url and instance separated by commas, lines ended by '\n'.
// It lives in the settings folder, which is "taviron" under the first of
// $APPDATA, $XDG_CONFIG_HOME and $HOME/.config that is set and not empty.

// The settings folder, or "" when none of the variables is set.
std::string SettingsFolder();
// "config.file" and "temp.file" in the settings folder ("" without one).
std::string AccountsFilePath();
std::string TemporaryFilePath();

// Creates the settings folder and any missing parent, owner-only (0700).
// An existing folder is left as it is. Returns false when it cannot exist.
bool CreateSettingsFolder();

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
// line is dropped). kMissing when the file does not exist (lines empty),
// kFailed on any other open or read error.
AccountsRead ReadAccountLines(std::vector<std::string>& lines);

// Appends one line (its text without the line end) to the accounts file,
// creating folder and file (0600) when missing. A last line that has no
// line end is ended first, so the new line stands on its own.
bool AppendAccountLine(const std::string& line);

// Rewrites the accounts file without the lines whose name field equals
// name, through the temporary file and an atomic rename. The accounts file
// is replaced only when every line was read and written; otherwise it stays
// as it was and the temporary file is removed. A missing accounts file
// becomes an empty one.
bool RemoveAccountLines(const std::string& name);

#endif
