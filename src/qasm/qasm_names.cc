#include "qasm/qasm_names.h"

#include "qasm/qasm_extension_gates.h"
#include "qasm/qasm_keyword_table.h"
#include "qasm/qasm_token.h"

namespace taviron {

namespace {

bool IsLowerLetter(char c) { return c >= 'a' && c <= 'z'; }
bool IsLetter(char c) { return IsLowerLetter(c) || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Names that some reader gives a meaning of its own besides the keywords:
// the language's built-in gates and the idle instruction of qelib1.inc's
// readers.
const char* const kOtherReservedNames[] = {"U", "CX", "delay"};

}  // namespace

bool IsQasmIdentifier(const std::string& name) {
  if (name.empty() || !IsLowerLetter(name[0])) return false;
  for (char c : name) {
    if (!IsLetter(c) && !IsDigit(c) && c != '_') return false;
  }
  return true;
}

bool IsDeclarableQasmName(const std::string& name) {
  if (!IsQasmIdentifier(name) || FindKeywordKind(name) != QasmTokenKind::IDENTIFIER ||
      FindQasmExtensionGate(name) != nullptr) {
    return false;
  }
  for (const char* reserved : kOtherReservedNames) {
    if (name == reserved) return false;
  }
  return true;
}

std::string QasmIdentifierStem(const std::string& label, char prefix) {
  std::string stem;
  for (char c : label) {
    if (c >= 'A' && c <= 'Z') {
      stem.push_back(static_cast<char>(c - 'A' + 'a'));
    } else {
      stem.push_back(IsLowerLetter(c) || IsDigit(c) ? c : '_');
    }
  }
  if (stem.empty() || !IsLowerLetter(stem[0])) stem.insert(stem.begin(), prefix);
  return stem;
}

void QasmNameAllocator::Want(const std::string& name) { wanted_.insert(name); }

bool QasmNameAllocator::IsFree(const std::string& name) const {
  return IsDeclarableQasmName(name) && taken_.count(name) == 0;
}

bool QasmNameAllocator::Claim(const std::string& name) {
  if (!IsFree(name)) return false;
  taken_.insert(name);
  return true;
}

std::string QasmNameAllocator::Give(const std::string& label, char prefix) {
  if (Claim(label)) return label;
  const std::string stem = QasmIdentifierStem(label, prefix);
  std::string name = stem;
  for (int k = 1; !IsFree(name) || wanted_.count(name) != 0; ++k) {
    name = stem + "_" + std::to_string(k);
  }
  taken_.insert(name);
  return name;
}

bool QasmNameAllocator::IsUsed(const std::string& name) const {
  return taken_.count(name) != 0 || wanted_.count(name) != 0;
}

}  // namespace taviron
