#ifndef TAVIRON_QASM_TESTING_QASM_TEXT_RULES_H
#define TAVIRON_QASM_TESTING_QASM_TEXT_RULES_H

// Test-only: an independent check that a text the writer produced is
// OpenQASM 2.0 that other readers take as written. It knows the writer's
// line layout (one declaration, definition line or statement per line) and
// checks the rules that a reader of the language applies:
// - every declared name (register, gate, gate parameter and argument) is an
//   identifier [a-z][A-Za-z0-9_]*, no word of the language or of qelib1.inc,
//   not U or CX, and none that readers know as another gate (r, rv, cs,
//   csdg, dcx, iswap, ryy, rzx, ecr, delay), except the definition of such a
//   gate in its own shape;
// - registers and gates have distinct names, and no parameter or argument
//   takes a register's or gate's name or another one of its definition;
// - a gate is called after its definition (or from qelib1.inc) with its
//   numbers of parameters and qubits, a body names only its arguments and
//   parameters, and an operand names a declared register within its size.
// The single-bit condition "if (c[1]  == 1)", a form only TavironLib reads,
// is let through.

#include <algorithm>
#include <cstddef>
#include <exception>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace taviron {

namespace qasm_text_rules {

struct Shape {
  size_t parameters;
  size_t qubits;
};

inline const std::map<std::string, Shape>& QelibGates() {
  static const std::map<std::string, Shape> gates = {
      {"u3", {3, 1}},   {"u2", {2, 1}},   {"u1", {1, 1}},     {"cx", {0, 2}},   {"id", {0, 1}},
      {"u0", {1, 1}},   {"u", {3, 1}},    {"p", {1, 1}},      {"x", {0, 1}},    {"y", {0, 1}},
      {"z", {0, 1}},    {"h", {0, 1}},    {"s", {0, 1}},      {"sdg", {0, 1}},  {"t", {0, 1}},
      {"tdg", {0, 1}},  {"rx", {1, 1}},   {"ry", {1, 1}},     {"rz", {1, 1}},   {"sx", {0, 1}},
      {"sxdg", {0, 1}}, {"cz", {0, 2}},   {"cy", {0, 2}},     {"swap", {0, 2}}, {"ch", {0, 2}},
      {"ccx", {0, 3}},  {"cswap", {0, 3}}, {"crx", {1, 2}},   {"cry", {1, 2}},  {"crz", {1, 2}},
      {"cu1", {1, 2}},  {"cp", {1, 2}},   {"cu3", {3, 2}},    {"csx", {0, 2}},  {"cu", {4, 2}},
      {"rxx", {1, 2}},  {"rzz", {1, 2}},  {"rccx", {0, 3}},   {"rc3x", {0, 4}}, {"c3x", {0, 4}},
      {"c3sqrtx", {0, 4}}, {"c4x", {0, 5}},
  };
  return gates;
}

// Gates outside qelib1.inc that readers know; a text defines them in these
// shapes only.
inline const std::map<std::string, Shape>& KnownOtherGates() {
  static const std::map<std::string, Shape> gates = {
      {"r", {2, 1}},     {"rv", {3, 1}},  {"cs", {0, 2}},  {"csdg", {0, 2}}, {"dcx", {0, 2}},
      {"iswap", {0, 2}}, {"ryy", {1, 2}}, {"rzx", {1, 2}}, {"ecr", {0, 2}},  {"delay", {1, 1}},
  };
  return gates;
}

inline bool IsReservedWord(const std::string& word) {
  static const std::set<std::string> words = {
      "OPENQASM", "include", "qreg", "creg", "gate", "opaque", "measure", "reset", "barrier",
      "if",       "pi",      "U",    "CX",   "sin",  "cos",    "tan",     "exp",   "ln",
      "sqrt"};
  return words.count(word) != 0 || QelibGates().count(word) != 0;
}

inline bool IsIdentifier(const std::string& word) {
  if (word.empty() || word[0] < 'a' || word[0] > 'z') return false;
  for (char c : word) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '_';
    if (!ok) return false;
  }
  return true;
}

// The words and single characters of a line; a number is one word.
inline std::vector<std::string> Tokens(const std::string& line) {
  std::vector<std::string> tokens;
  for (size_t k = 0; k < line.size();) {
    const char c = line[k];
    const auto word_char = [](char w) {
      return (w >= 'a' && w <= 'z') || (w >= 'A' && w <= 'Z') || (w >= '0' && w <= '9') ||
             w == '_' || w == '.';
    };
    if (c == ' ') {
      ++k;
    } else if (word_char(c)) {
      size_t end = k;
      while (end < line.size() && (word_char(line[end]) ||
                                   ((line[end] == '-' || line[end] == '+') && end > k &&
                                    (line[end - 1] == 'e' || line[end - 1] == 'E') &&
                                    line[k] >= '0' && line[k] <= '9'))) {
        ++end;
      }
      tokens.push_back(line.substr(k, end - k));
      k = end;
    } else {
      tokens.push_back(std::string(1, c));
      ++k;
    }
  }
  return tokens;
}

// Tokens that read as "" past their end, so that a check may look ahead.
struct TokenList {
  std::vector<std::string> items;
  const std::string& operator[](size_t k) const {
    static const std::string none;
    return k < items.size() ? items[k] : none;
  }
  size_t size() const { return items.size(); }
  bool empty() const { return items.empty(); }
  const std::string& back() const { return items.back(); }
};

// A decimal number as a size or index; one that is no number is taken as
// too large.
inline size_t Number(const std::string& text) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) {
    return static_cast<size_t>(-1);
  }
  return std::stoul(text);
}

class Checker {
 public:
  // "" when the text keeps every rule, else the first rule it breaks.
  std::string Check(const std::string& text) {
    size_t start = 0;
    while (start < text.size() && problem_.empty()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      Line(text.substr(start, end - start));
      start = end + 1;
    }
    if (problem_.empty() && in_body_) problem_ = "a definition without its closing brace";
    for (const std::string& local : locals_) {
      if (problem_.empty() && (registers_.count(local) != 0 || gates_.count(local) != 0)) {
        problem_ = "argument or parameter " + local + " is also a register or gate name";
      }
    }
    return problem_;
  }

 private:
  void Fail(const std::string& what, const std::string& line) {
    if (problem_.empty()) problem_ = what + ": " + line;
  }

  bool Declarable(const std::string& name) const {
    return IsIdentifier(name) && !IsReservedWord(name) && KnownOtherGates().count(name) == 0 &&
           registers_.count(name) == 0 && gates_.count(name) == 0;
  }

  void Line(const std::string& line) {
    const TokenList t{Tokens(line)};
    if (t.empty() || (t.size() >= 2 && t[0] == "/" && t[1] == "/")) return;

    if (t[0] == "OPENQASM" || t[0] == "include") return;
    if (in_body_) return BodyLine(t, line);
    if (t[0] == "qreg" || t[0] == "creg") return RegisterLine(t, line);
    if (t[0] == "gate") return Definition(t, line);
    Statement(t, 0, line);
  }

  void RegisterLine(const TokenList& t, const std::string& line) {
    if (t.size() != 6 || t[2] != "[" || t[4] != "]" || t[5] != ";") return Fail("declaration", line);
    if (!Declarable(t[1])) return Fail("register name", line);
    registers_[t[1]] = {t[0] == "qreg", Number(t[3])};
  }

  void Definition(const TokenList& t, const std::string& line) {
    if (t.size() < 3 || t.back() != "{") return Fail("definition line", line);
    const std::string& name = t[1];
    size_t k = 2;
    parameters_.clear();
    arguments_.clear();
    if (t[k] == "(") {
      for (++k; k < t.size() && t[k] != ")"; ++k) {
        if (t[k] != ",") parameters_.push_back(t[k]);
      }
      ++k;
    }
    for (; k + 1 < t.size(); ++k) {
      if (t[k] != ",") arguments_.push_back(t[k]);
    }
    std::set<std::string> seen;
    for (const auto* list : {&parameters_, &arguments_}) {
      for (const std::string& local : *list) {
        if (!IsIdentifier(local) || IsReservedWord(local) || !seen.insert(local).second) {
          return Fail("argument or parameter name " + local, line);
        }
        locals_.insert(local);
      }
    }
    const auto known = KnownOtherGates().find(name);
    const bool own_shape = known != KnownOtherGates().end() && name != "delay" &&
                           known->second.parameters == parameters_.size() &&
                           known->second.qubits == arguments_.size() && gates_.count(name) == 0;
    if (!own_shape && !Declarable(name)) return Fail("gate name " + name, line);
    gates_[name] = {parameters_.size(), arguments_.size()};
    in_body_ = true;
  }

  void BodyLine(const TokenList& t, const std::string& line) {
    if (t.size() == 1 && t[0] == "}") {
      in_body_ = false;
      return;
    }
    Statement(t, 0, line);
  }

  // A gate call, measure, reset or barrier (after an optional condition).
  void Statement(const TokenList& t, size_t k, const std::string& line) {
    if (k >= t.size()) return Fail("statement", line);
    if (!in_body_ && t[k] == "if") {
      // if ( c == n ) or the single-bit form if ( c [ i ] == n )
      if (t.size() < k + 7 || t[k + 1] != "(") return Fail("condition", line);
      const auto reg = registers_.find(t[k + 2]);
      if (reg == registers_.end() || reg->second.quantum) return Fail("condition register", line);
      size_t j = k + 3;
      if (t[j] == "[") {
        if (Number(t[j + 1]) >= reg->second.size || t[j + 2] != "]") {
          return Fail("condition bit", line);
        }
        j += 3;
      }
      if (t[j] != "=" || t[j + 1] != "=" || t[j + 3] != ")") return Fail("condition", line);
      return Statement(t, j + 4, line);
    }
    if (t.back() != ";") return Fail("statement without ;", line);
    const std::string& name = t[k];
    size_t j = k + 1;
    size_t parameters = 0;
    if (t[j] == "(") {
      int depth = 0;
      bool empty = true;
      for (; j < t.size(); ++j) {
        if (t[j] == "(") ++depth;
        if (t[j] == ")" && --depth == 0) break;
        if (depth == 1 && t[j] == ",") ++parameters;
        if (t[j] != "(" && t[j] != ")") empty = false;
        if (IsIdentifier(t[j]) && t[j] != "pi" && !IsFunction(t[j]) &&
            (!in_body_ ||
             std::find(parameters_.begin(), parameters_.end(), t[j]) == parameters_.end())) {
          return Fail("unknown name " + t[j] + " in an expression", line);
        }
      }
      if (!empty) ++parameters;
      ++j;
    }
    size_t qubits = 0;
    bool arrow = false;
    for (; j + 1 < t.size(); ++j) {
      if (t[j] == ",") continue;
      if (t[j] == "-" && t[j + 1] == ">") {
        arrow = true;
        ++j;
        continue;
      }
      if (in_body_) {
        if (std::find(arguments_.begin(), arguments_.end(), t[j]) == arguments_.end()) {
          return Fail("operand " + t[j] + " is no argument", line);
        }
      } else {
        const auto reg = registers_.find(t[j]);
        if (reg == registers_.end() || t[j + 1] != "[" || t[j + 3] != "]" ||
            Number(t[j + 2]) >= reg->second.size || reg->second.quantum == arrow) {
          return Fail("operand " + t[j], line);
        }
        j += 3;
      }
      if (!arrow) ++qubits;
    }
    if (name == "measure") {
      if (qubits != 1 || !arrow || in_body_) return Fail("measure", line);
      return;
    }
    if (name == "reset" || name == "barrier") {
      if (qubits == 0 || parameters != 0 || (in_body_ && name == "reset")) return Fail(name, line);
      return;
    }
    const auto qelib = QelibGates().find(name);
    const auto defined = gates_.find(name);
    Shape shape{};
    if (defined != gates_.end()) {
      shape = defined->second;
    } else if (qelib != QelibGates().end()) {
      shape = qelib->second;
    } else {
      return Fail("gate " + name + " is not defined", line);
    }
    if (shape.parameters != parameters || shape.qubits != qubits) {
      return Fail("gate " + name + " called with other numbers of parameters or qubits", line);
    }
  }

  static bool IsFunction(const std::string& word) {
    return word == "sin" || word == "cos" || word == "tan" || word == "exp" || word == "ln" ||
           word == "sqrt";
  }

  struct DeclaredRegister {
    bool quantum;
    size_t size;
  };
  std::map<std::string, DeclaredRegister> registers_;
  std::map<std::string, Shape> gates_;
  std::set<std::string> locals_;
  std::vector<std::string> parameters_;
  std::vector<std::string> arguments_;
  bool in_body_ = false;
  std::string problem_;
};

}  // namespace qasm_text_rules

// "" when `text` keeps the rules above, else the first rule it breaks.
inline std::string QasmTextRuleViolation(const std::string& text) {
  return qasm_text_rules::Checker().Check(text);
}

}  // namespace taviron

#endif
