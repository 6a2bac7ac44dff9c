#ifndef TAVIRON_QASM_QASM_NAMES_H
#define TAVIRON_QASM_QASM_NAMES_H

#include <string>
#include <unordered_set>

namespace taviron {

// Whether `name` is an OpenQASM 2.0 identifier: a lower-case letter, then
// letters, digits and underscores.
bool IsQasmIdentifier(const std::string& name);

// Whether a text may declare `name` as a register or a gate of its own: an
// identifier that is no word of the language, of its functions or of
// qelib1.inc, no name that readers take for a gate of theirs (the extension
// gates, and delay), and not U or CX.
bool IsDeclarableQasmName(const std::string& name);

// The identifier nearest `label`: lower-cased, every other character made
// "_", with `prefix` put in front when it does not begin with a letter.
std::string QasmIdentifierStem(const std::string& label, char prefix);

// The names of one text. Names that their owners want are kept for them:
// a name made up for someone else never takes one.
class QasmNameAllocator {
 public:
  // Keeps `name` for its owner, who takes it with Claim.
  void Want(const std::string& name);
  // Takes `name` when it is declarable and not taken yet; returns whether
  // it did.
  bool Claim(const std::string& name);
  // Takes and returns a name for `label`: the label itself when Claim takes
  // it, else QasmIdentifierStem(label, prefix) when that is free and wanted
  // by no one else, else that stem followed by "_1", "_2", ... .
  std::string Give(const std::string& label, char prefix);
  // Whether `name` is taken or wanted.
  bool IsUsed(const std::string& name) const;

 private:
  bool IsFree(const std::string& name) const;

  std::unordered_set<std::string> taken_;
  std::unordered_set<std::string> wanted_;
};

}  // namespace taviron

#endif
