#ifndef TAVIRON_EXECUTION_PROVIDER_H
#define TAVIRON_EXECUTION_PROVIDER_H

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "execution/accounts_file.h"

namespace taviron {

class BackendV2;

// Insertion-ordered string pairs: the dictionaries that the provider
// returns (the binding layer turns them into Python dicts in this order).
using StringPairs = std::vector<std::pair<std::string, std::string>>;

// The source of backends and the keeper of saved accounts. Holds one account,
// fixed at construction from the arguments, the first line of the accounts
// file and the defaults, in that order of preference. Arguments that the
// operations accept and ignore are kept so that the Python parameters map
// one to one; the Python-only `proxies` dictionaries stay in the binding.
class TavironProvider {
 public:
  std::string name;
  std::string token;
  std::string url;

  // Throws RunTimeError "The url provided is invalid" for a non-empty url
  // that does not match the url pattern (or is longer than 2,048 bytes), and
  // naming the path when an accounts file exists but cannot be read.
  explicit TavironProvider(const std::string& token = "", const std::string& url = "",
                           const std::string& name = "", const std::string& instance = "",
                           bool verify = false);

  // The one backend name, whatever is asked.
  std::vector<std::string> backends(const std::string& name) const;
  // A new backend with its own worker; RunTimeError "Backend not found"
  // unless name is exactly "velmora_taviron".
  std::shared_ptr<BackendV2> get_backend(const std::string& name) const;
  // {"name": name, "token": token}, as fixed at construction.
  StringPairs active_account() const;
  // Removes every saved line of that name; true. Throws RunTimeError naming
  // the path when the accounts file cannot be rewritten (accounts_file.h).
  // While another process holds the accounts lock, wait_check is called
  // between attempts (RewriteAccountLines); save_account likewise.
  bool delete_account(const std::string& name, const LockWaitCheck& wait_check = {}) const;
  // Appends "name,token,url,instance" to the accounts file, after removing
  // the name's earlier lines when overwrite is set. Throws RunTimeError when
  // a field holds a comma or a line end, before anything changes, and when
  // the accounts file cannot be rewritten (naming the path).
  void save_account(const std::string& token, const std::string& url,
                    const std::string& instance, const std::string& name,
                    bool verify = false, bool overwrite = true,
                    const LockWaitCheck& wait_check = {}) const;
  // Name to token for every saved line, in the order in which each name
  // first occurs; a later line of a name replaces its token. No file gives
  // none; a file that cannot be read throws RunTimeError naming its path
  // and the reason (ReadAccountLines), as the constructor does.
  StringPairs saved_accounts(bool defaults = false, const std::string& name = "") const;
};

extern const char* const kBackendName;
extern const char* const kDefaultAccountName;
extern const char* const kDefaultToken;
extern const char* const kDefaultUrl;

}  // namespace taviron

#endif
