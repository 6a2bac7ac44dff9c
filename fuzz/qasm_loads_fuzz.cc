// A coverage-guided mutation fuzzer for qasm2::loads, for builds without
// libFuzzer: every input is loaded; a circuit that loads is written back as
// OpenQASM, which must keep the language's naming and declaration rules
// (QasmTextRuleViolation), load again and write the same text. Crashes, sanitizer
// reports and failed round trips abort with the input saved; an input that
// runs longer than the hang limit aborts the same way.
//
//   qasm_loads_fuzz [--seconds N] [--runs N] [--seed N] [--max-len N]
//                   [--hang-seconds N] [--out DIR] CORPUS_DIR...
//   qasm_loads_fuzz FILE...      (replays the given inputs once)
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "qasm/qasm_reader.h"
#include "qasm/qasm_writer.h"
#include "qasm/qelib_gate_names.h"
#include "qasm/testing/qasm_text_rules.h"

// ---- edge coverage -------------------------------------------------------

namespace {

constexpr size_t kMapSize = 1 << 16;
uint8_t coverage_map[kMapSize];
uintptr_t previous_location = 0;

}  // namespace

// Called by GCC's -fsanitize-coverage=trace-pc at every basic block of the
// instrumented sources: counts the edge from the previous block.
extern "C" void __sanitizer_cov_trace_pc() {
  const auto location = reinterpret_cast<uintptr_t>(__builtin_return_address(0));
  const size_t edge = ((location >> 4) ^ previous_location) & (kMapSize - 1);
  if (coverage_map[edge] < 255) ++coverage_map[edge];
  previous_location = location >> 5;
}

extern "C" void __sanitizer_set_death_callback(void (*callback)());

namespace taviron {
namespace {

// ---- the input under test and how a failure is kept ------------------------

std::string current_input;
std::filesystem::path output_folder = ".";
std::atomic<int64_t> input_started_ms{-1};

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void SaveCurrent(const char* kind) {
  const std::filesystem::path path =
      output_folder / (std::string(kind) + "-" + std::to_string(std::hash<std::string>{}(current_input)));
  std::ofstream(path, std::ios::binary) << current_input;
  std::fprintf(stderr, "\n%s: input of %zu bytes saved as %s\n", kind, current_input.size(),
               path.c_str());
}

void OnDeath() { SaveCurrent("crash"); }

[[noreturn]] void Fail(const char* kind, const std::string& detail) {
  std::fprintf(stderr, "%s\n", detail.c_str());
  SaveCurrent(kind);
  std::abort();
}

// One input: load it, and round-trip what loads.
void RunOne(const std::string& input) {
  current_input = input;
  input_started_ms = NowMs();
  try {
    qasm2 reader;
    const auto circuit = reader.loads(input);
    const std::vector<std::string> standard = MakeQelibGateNames();
    std::string text;
    try {
      text = WriteQasm(standard, *circuit);
    } catch (const std::exception&) {
      // Circuits the writer refuses (a non-finite value) are not round-tripped.
      text.clear();
    }
    if (!text.empty()) {
      const std::string problem = QasmTextRuleViolation(text);
      if (!problem.empty()) {
        Fail("invalid", "written text breaks an OpenQASM rule: " + problem + "\n" + text);
      }
      std::shared_ptr<QuantumCircuit> again;
      try {
        again = reader.loads(text);
      } catch (const std::exception& error) {
        Fail("roundtrip", std::string("written text does not load: ") + error.what() + "\n" + text);
      }
      if (WriteQasm(standard, *again) != text) Fail("roundtrip", "written again differently:\n" + text);
    }
  } catch (const std::exception&) {
    // A refused input: the expected outcome of most.
  }
  input_started_ms = -1;
}

// ---- mutation --------------------------------------------------------------

const char* const kDictionary[] = {
    "OPENQASM 2.0;", "include \"qelib1.inc\";", "qreg ", "creg ", "gate ", "opaque ",
    "measure ", " -> ", "if (", " == ", "barrier ", "reset ", "{", "}", "(", ")", "[", "]",
    ";", ",", "\n", "//", "pi", "sin(", "ln(", "sqrt(", "exp(", "^", "/", "*", "-", "+",
    "1.0e308", "0", "2147483648", "99", "q", "c", "a", "q[0]", "q[1]", "c[0]", "_", "e",
    "\xff", "\r\n", "cx ", "h ", "u3(", "rz(", "ccx ", "c4x ", "id ", "1.5", ".5", "E-3",
};

class Mutator {
 public:
  explicit Mutator(uint64_t seed) : random_(seed) {}

  std::string Mutate(std::string input, const std::vector<std::string>& corpus, size_t max_len) {
    const int steps = 1 + static_cast<int>(Below(4));
    for (int k = 0; k < steps; ++k) {
      switch (Below(7)) {
        case 0:  // flip a byte
          if (!input.empty()) input[Below(input.size())] = static_cast<char>(Below(256));
          break;
        case 1:  // erase a range
          if (!input.empty()) {
            const size_t at = Below(input.size());
            input.erase(at, 1 + Below(std::min<size_t>(16, input.size() - at)));
          }
          break;
        case 2:  // duplicate a range
          if (!input.empty()) {
            const size_t at = Below(input.size());
            const std::string piece = input.substr(at, 1 + Below(32));
            input.insert(Below(input.size() + 1), piece);
          }
          break;
        case 3:
        case 4: {  // insert a word of the language
          const char* word = kDictionary[Below(std::size(kDictionary))];
          input.insert(Below(input.size() + 1), word);
          break;
        }
        case 5: {  // splice with another input
          const std::string& other = corpus[Below(corpus.size())];
          if (!other.empty()) {
            const size_t from = Below(other.size());
            input.insert(Below(input.size() + 1), other.substr(from, 1 + Below(64)));
          }
          break;
        }
        default:  // a digit string
          input.insert(Below(input.size() + 1), std::to_string(random_() % 1000));
          break;
      }
    }
    if (input.size() > max_len) input.resize(max_len);
    return input;
  }

  size_t Below(size_t bound) { return bound == 0 ? 0 : random_() % bound; }

 private:
  std::mt19937_64 random_;
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Whether the last run reached an edge (or an edge count bucket) never seen.
bool NewCoverage(std::vector<uint8_t>& seen) {
  bool found = false;
  for (size_t k = 0; k < kMapSize; ++k) {
    if (coverage_map[k] == 0) continue;
    const uint8_t count = coverage_map[k];
    const uint8_t bucket = count >= 128 ? 128 : count >= 32 ? 32 : count >= 8 ? 8 :
                           count >= 4 ? 4 : count >= 2 ? 2 : 1;
    if ((seen[k] & bucket) == 0) {
      seen[k] |= bucket;
      found = true;
    }
    coverage_map[k] = 0;
  }
  return found;
}

}  // namespace
}  // namespace taviron

int main(int argc, char** argv) {
  using namespace taviron;
  double seconds = 60;
  uint64_t max_runs = 0;
  uint64_t seed = 1;
  size_t max_len = 4096;
  int64_t hang_seconds = 10;
  std::vector<std::filesystem::path> inputs;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    const auto value = [&]() { return k + 1 < argc ? std::string(argv[++k]) : std::string(); };
    if (arg == "--seconds") seconds = std::stod(value());
    else if (arg == "--runs") max_runs = std::stoull(value());
    else if (arg == "--seed") seed = std::stoull(value());
    else if (arg == "--max-len") max_len = std::stoull(value());
    else if (arg == "--hang-seconds") hang_seconds = std::stoll(value());
    else if (arg == "--out") output_folder = value();
    else inputs.emplace_back(arg);
  }
  __sanitizer_set_death_callback(OnDeath);

  // A watchdog: an input that runs past the hang limit is kept and aborts.
  std::thread([hang_seconds]() {
    while (true) {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      const int64_t started = input_started_ms;
      if (started >= 0 && NowMs() - started > hang_seconds * 1000) {
        Fail("hang", "an input ran longer than " + std::to_string(hang_seconds) + " s");
      }
    }
  }).detach();

  std::vector<std::string> corpus;
  bool replay_only = !inputs.empty();
  for (const auto& path : inputs) {
    if (std::filesystem::is_directory(path)) {
      replay_only = false;
      for (const auto& entry : std::filesystem::directory_iterator(path)) {
        if (entry.is_regular_file()) corpus.push_back(ReadFile(entry.path()));
      }
    } else {
      corpus.push_back(ReadFile(path));
    }
  }
  if (corpus.empty()) corpus.emplace_back("qreg q[1];\nh q[0];\n");

  std::vector<uint8_t> seen(kMapSize, 0);
  for (const std::string& input : corpus) {
    RunOne(input);
    NewCoverage(seen);
  }
  if (replay_only) {
    std::printf("replayed %zu inputs\n", corpus.size());
    return 0;
  }

  Mutator mutator(seed);
  const auto start = std::chrono::steady_clock::now();
  uint64_t runs = 0;
  size_t seeds = corpus.size();
  auto last_report = start;
  while (true) {
    const auto now = std::chrono::steady_clock::now();
    const double elapsed = std::chrono::duration<double>(now - start).count();
    if (elapsed >= seconds || (max_runs != 0 && runs >= max_runs)) break;
    const std::string input =
        mutator.Mutate(corpus[mutator.Below(corpus.size())], corpus, max_len);
    RunOne(input);
    ++runs;
    if (NewCoverage(seen)) corpus.push_back(input);
    if (now - last_report > std::chrono::seconds(10)) {
      std::printf("#%llu  %.0f s  corpus %zu  %.0f runs/s\n",
                  static_cast<unsigned long long>(runs), elapsed, corpus.size(), runs / elapsed);
      std::fflush(stdout);
      last_report = now;
    }
  }
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  size_t edges = 0;
  for (uint8_t bits : seen) edges += bits != 0;
  std::printf("done: %llu runs in %.0f s, corpus %zu (from %zu seeds), %zu edges, no crash, "
              "no hang, no failed round trip\n",
              static_cast<unsigned long long>(runs), elapsed, corpus.size(), seeds, edges);
  return 0;
}
