#include "execution/provider.h"

#include <algorithm>
#include <map>

#include "execution/accounts_file.h"
#include "execution/backend.h"
#include "execution/url_check.h"
#include "foundation/exceptions.h"

namespace taviron {

const char* const kBackendName = "velmora_taviron";
const char* const kDefaultAccountName = "TavironDefaultUser";
const char* const kDefaultToken = "mhqz-rtva-kdxe-pwsl";
const char* const kDefaultUrl = "https://velmora.taviron.local/api";

namespace {

// A field is written as a C string would be: up to its first NUL.
std::string UpToNul(const std::string& field) { return field.substr(0, field.find('\0')); }

bool FitsOneField(const std::string& field) {
  return field.find_first_of(",\n\r") == std::string::npos;
}

// Drops every line whose name field is name.
void RemoveAccount(std::vector<std::string>& lines, const std::string& name) {
  lines.erase(std::remove_if(lines.begin(), lines.end(),
                             [&name](const std::string& line) {
                               return ParseAccountRecord(line).name == name;
                             }),
              lines.end());
}

const std::string& FirstNonEmpty(const std::string& first, const std::string& second,
                                 const std::string& fallback) {
  if (!first.empty()) return first;
  if (!second.empty()) return second;
  return fallback;
}

}  // namespace

TavironProvider::TavironProvider(const std::string& token, const std::string& url,
                                 const std::string& name, const std::string& /*instance*/,
                                 bool /*verify*/) {
  AccountRecord saved;
  std::vector<std::string> lines;
  if (ReadAccountLines(lines) && !lines.empty()) {
    saved = ParseAccountRecord(lines.front());
  }
  this->name = FirstNonEmpty(name, saved.name, kDefaultAccountName);
  this->token = FirstNonEmpty(token, saved.token, kDefaultToken);
  if (!url.empty() && !IsValidUrl(url)) {
    throw RunTimeError("The url provided is invalid");
  }
  // A url from the file is taken as it is, without the pattern check.
  this->url = FirstNonEmpty(url, saved.rest, kDefaultUrl);
}

std::vector<std::string> TavironProvider::backends(const std::string& /*name*/) const {
  return {kBackendName};
}

std::shared_ptr<BackendV2> TavironProvider::get_backend(const std::string& name) const {
  if (name != kBackendName) throw RunTimeError("Backend not found");
  return std::make_shared<BackendV2>();
}

StringPairs TavironProvider::active_account() const {
  return {{"name", name}, {"token", token}};
}

bool TavironProvider::delete_account(const std::string& name,
                                     const LockWaitCheck& wait_check) const {
  RewriteAccountLines([&name](std::vector<std::string>& lines) { RemoveAccount(lines, name); },
                      wait_check);
  return true;
}

void TavironProvider::save_account(const std::string& token, const std::string& url,
                                   const std::string& instance, const std::string& name,
                                   bool /*verify*/, bool overwrite,
                                   const LockWaitCheck& wait_check) const {
  const std::string fields[] = {UpToNul(name), UpToNul(token), UpToNul(url), UpToNul(instance)};
  for (const std::string& field : fields) {
    if (!FitsOneField(field)) {
      throw RunTimeError(
          "An account's name, token, url and instance must not contain a comma or a line end");
    }
  }
  // One locked rewrite: no other writer comes between the removal and the
  // new line.
  RewriteAccountLines([&](std::vector<std::string>& lines) {
    if (overwrite) RemoveAccount(lines, fields[0]);
    lines.push_back(fields[0] + "," + fields[1] + "," + fields[2] + "," + fields[3]);
  }, wait_check);
}

StringPairs TavironProvider::saved_accounts(bool /*defaults*/, const std::string& /*name*/) const {
  StringPairs accounts;
  std::map<std::string, std::size_t> position;  // name -> its entry
  std::vector<std::string> lines;
  ReadAccountLines(lines);
  for (const std::string& line : lines) {
    AccountRecord record = ParseAccountRecord(line);
    const auto found = position.find(record.name);
    if (found != position.end()) {
      accounts[found->second].second = std::move(record.token);
    } else {
      position.emplace(record.name, accounts.size());
      accounts.emplace_back(std::move(record.name), std::move(record.token));
    }
  }
  return accounts;
}

}  // namespace taviron
