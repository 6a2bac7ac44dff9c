// Times representative workloads on the simulator, per job and per shot.
// A job is what the shot loop does: one engine state, reset before every
// shot but the first, the whole instruction list per shot, and the shot's
// bit string read back.
//
//   taviron_bench [repetitions [name]]    (only the workloads whose name contains `name`;
//                                          "svd": only the timings of the decompositions)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <Eigen/Dense>
#include <Eigen/QR>

#include "circuit/quantum_circuit.h"
#include <Eigen/SVD>

#include "simulator/lapack_svd.h"
#include "simulator/mps_state.h"
#include "simulator/small_svd.h"
#include "simulator/testing/ill_conditioned_matrices.h"
#include "simulator/two_site_split.h"

namespace taviron {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct Workload {
  std::string name;
  std::unique_ptr<QuantumCircuit> circuit;
  int shots;
};

std::unique_ptr<QuantumCircuit> Bell() {
  auto qc = std::make_unique<QuantumCircuit>(2);
  qc->h(0);
  qc->cx(0, 1);
  qc->measure(0, 0);
  qc->measure(1, 1);
  return qc;
}

std::unique_ptr<QuantumCircuit> Ghz(uint64_t n) {
  auto qc = std::make_unique<QuantumCircuit>(n);
  qc->h(0);
  for (uint64_t q = 0; q + 1 < n; ++q) qc->cx(q, q + 1);
  for (uint64_t q = 0; q < n; ++q) qc->measure(q, q);
  return qc;
}

Eigen::MatrixXcd RandomUnitary4(std::mt19937& rng) {
  std::normal_distribution<double> normal;
  Eigen::MatrixXcd a(4, 4);
  for (Eigen::Index i = 0; i < a.size(); ++i) a(i) = std::complex<double>(normal(rng), normal(rng));
  Eigen::HouseholderQR<Eigen::MatrixXcd> qr(a);
  return qr.householderQ() * Eigen::MatrixXcd::Identity(4, 4);
}

// Layers of random two-qubit gates on neighbouring pairs, alternating even
// and odd pairs. A general two-qubit gate has no gate method of its own, so
// its records are appended directly.
std::unique_ptr<QuantumCircuit> Brickwork(uint64_t n, int depth, uint32_t seed) {
  std::mt19937 rng(seed);
  auto qc = std::make_unique<QuantumCircuit>(n);
  for (int layer = 0; layer < depth; ++layer) {
    for (uint64_t q = static_cast<uint64_t>(layer % 2); q + 1 < n; q += 2) {
      auto record = std::make_shared<GateRecord>();
      record->gate_type = GateId::kEmpty;  // acts by its 4x4 matrix
      record->matrix = RandomUnitary4(rng);
      record->qubits = {q, q + 1};
      qc->mutable_gates().push_back(record);
    }
  }
  for (uint64_t q = 0; q < n; ++q) qc->measure(q, q);
  return qc;
}

// The quantum Fourier transform of a basis state, with the final swaps.
std::unique_ptr<QuantumCircuit> Qft(uint64_t n) {
  auto qc = std::make_unique<QuantumCircuit>(n);
  for (uint64_t q = 0; q < n; q += 3) qc->x(q);
  for (uint64_t j = n; j-- > 0;) {
    qc->h(j);
    for (uint64_t k = j; k-- > 0;) qc->cp(kPi / std::pow(2.0, static_cast<double>(j - k)), k, j);
  }
  for (uint64_t q = 0; q < n / 2; ++q) qc->swap(q, n - 1 - q);
  for (uint64_t q = 0; q < n; ++q) qc->measure(q, q);
  return qc;
}

// Repetition-code cycles: data qubits on the even sites, ancillas between
// them. Each cycle turns every data qubit a little, measures each
// neighbour pair's parity into the ancilla's bit, resets the ancilla and
// flips the next data qubit when the parity read 1.
std::unique_ptr<QuantumCircuit> RepetitionCode(uint64_t n, int cycles, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> wide(0.0, kPi);
  std::uniform_real_distribution<double> narrow(0.0, 0.4);
  auto qc = std::make_unique<QuantumCircuit>(n);
  for (uint64_t q = 0; q < n; q += 2) qc->ry(wide(rng), q);
  for (int cycle = 0; cycle < cycles; ++cycle) {
    for (uint64_t q = 0; q < n; q += 2) qc->ry(narrow(rng), q);
    for (uint64_t a = 1; a + 1 < n; a += 2) {
      qc->cx(a - 1, a);
      qc->cx(a + 1, a);
      qc->measure(a, a);
      qc->reset(a);
      qc->x(a + 1)->c_if_clbit(a, 1);
    }
  }
  for (uint64_t q = 0; q < n; ++q) qc->measure(q, q);
  return qc;
}

// Layers of random u rotations on every qubit and cx on alternating pairs;
// after each layer 15 % of the qubits, drawn at random, are measured.
std::unique_ptr<QuantumCircuit> Monitored(uint64_t n, int depth, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> angle(0.0, 2.0 * kPi);
  const size_t watched = std::max<size_t>(1, static_cast<size_t>(std::lround(0.15 * static_cast<double>(n))));
  std::vector<uint64_t> qubits(n);
  for (uint64_t q = 0; q < n; ++q) qubits[q] = q;
  auto qc = std::make_unique<QuantumCircuit>(n);
  for (int layer = 0; layer < depth; ++layer) {
    for (uint64_t q = 0; q < n; ++q) qc->u(angle(rng), angle(rng), angle(rng), q);
    for (uint64_t q = static_cast<uint64_t>(layer % 2); q + 1 < n; q += 2) qc->cx(q, q + 1);
    std::shuffle(qubits.begin(), qubits.end(), rng);
    for (size_t i = 0; i < watched; ++i) qc->measure(qubits[i], qubits[i]);
  }
  for (uint64_t q = 0; q < n; ++q) qc->measure(q, q);
  return qc;
}

double RunJobSeconds(const QuantumCircuit& circuit, int shots, size_t& distinct_strings,
                     double& decompositions_per_shot) {
  const uint64_t decompositions = DecompositionCount();
  const auto start = std::chrono::steady_clock::now();
  MpsState state(static_cast<int64_t>(circuit.num_qubits() + circuit.num_ancillas()));
  std::vector<std::string> bits;
  bits.reserve(static_cast<size_t>(shots));
  for (int shot = 0; shot < shots; ++shot) {
    if (shot > 0) state.Reset();
    state.ExecuteInstructions(true, circuit.gates());
    bits.push_back(state.GetShotBits());
  }
  const auto end = std::chrono::steady_clock::now();
  decompositions_per_shot = static_cast<double>(DecompositionCount() - decompositions) / shots;
  std::sort(bits.begin(), bits.end());
  distinct_strings = static_cast<size_t>(std::unique(bits.begin(), bits.end()) - bits.begin());
  return std::chrono::duration<double>(end - start).count();
}

// A rows x cols matrix of unit norm whose singular values fall by `decay`
// from one to the next (1: all equal).
Eigen::MatrixXcd WithDecayingValues(Eigen::Index rows, Eigen::Index cols, double decay, std::mt19937& rng) {
  std::vector<double> values(static_cast<size_t>(std::min(rows, cols)));
  for (size_t i = 0; i < values.size(); ++i) values[i] = std::pow(decay, static_cast<double>(i));
  return WithSingularValues(rows, cols, values, rng);
}

// Microseconds per decomposition of each routine on matrices of the shapes
// the splits meet: the two-site matrix 2D x 2D and the one-site ones 2D x D
// and D x 2D, with equal values and with values falling tenfold every
// second one (as the Schmidt values of a weakly entangled bond do).
void TimeDecompositions() {
  using Routine = bool (*)(const Eigen::MatrixXcd&, Eigen::MatrixXcd&, std::vector<double>&, Eigen::MatrixXcd&);
  const Routine eigen_jacobi = [](const Eigen::MatrixXcd& m, Eigen::MatrixXcd& u, std::vector<double>& s,
                                  Eigen::MatrixXcd& vt) {
    thread_local Eigen::JacobiSVD<Eigen::MatrixXcd> svd;
    svd.compute(m, Eigen::ComputeThinU | Eigen::ComputeThinV);
    s.assign(svd.singularValues().data(), svd.singularValues().data() + svd.singularValues().size());
    u = svd.matrixU();
    vt = svd.matrixV().adjoint();
    return true;
  };
  const struct {
    const char* name;
    Routine run;
  } routines[] = {{"small", SmallThinSvd}, {"zgesdd", LapackThinSvd}, {"eigen-jacobi", eigen_jacobi}};
  std::printf("\n%-8s %-10s %12s %12s %14s\n", "shape", "values", "small us", "zgesdd us", "eigen-jacobi us");
  std::mt19937 rng(5);
  for (Eigen::Index d : {1, 2, 4, 8, 12, 16, 24, 32}) {
    const std::pair<Eigen::Index, Eigen::Index> shapes[] = {{2 * d, 2 * d}, {2 * d, d}, {d, 2 * d}};
    for (const auto& shape : shapes) {
      if (shape.first * shape.second < 2) continue;
      for (double decay : {1.0, std::sqrt(0.1)}) {
        std::vector<Eigen::MatrixXcd> matrices;
        for (int i = 0; i < 16; ++i) matrices.push_back(WithDecayingValues(shape.first, shape.second, decay, rng));
        double micros[3];
        for (int r = 0; r < 3; ++r) {
          Eigen::MatrixXcd u, vt;
          std::vector<double> s;
          const int calls = std::max(32, static_cast<int>(200000 / (shape.first * shape.second * std::min(shape.first, shape.second))));
          double best = 1e300;
          for (int round = 0; round < 3; ++round) {
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < calls; ++i) routines[r].run(matrices[static_cast<size_t>(i) % matrices.size()], u, s, vt);
            best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
          }
          micros[r] = best * 1e6 / calls;
        }
        char shape_text[32];
        std::snprintf(shape_text, sizeof shape_text, "%ldx%ld", static_cast<long>(shape.first),
                      static_cast<long>(shape.second));
        std::printf("%-8s %-10s %12.2f %12.2f %14.2f\n", shape_text, decay == 1.0 ? "equal" : "falling",
                    micros[0], micros[1], micros[2]);
      }
    }
  }
}

}  // namespace
}  // namespace taviron

int main(int argc, char** argv) {
  using namespace taviron;
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const std::string only = argc > 2 ? argv[2] : "";
  std::vector<Workload> workloads;
  workloads.push_back({"bell", Bell(), 10000});
  workloads.push_back({"ghz-20", Ghz(20), 1000});
  workloads.push_back({"ghz-60", Ghz(60), 1000});
  workloads.push_back({"brickwork-12-d10", Brickwork(12, 10, 1), 20});
  workloads.push_back({"brickwork-14-d10", Brickwork(14, 10, 2), 20});
  workloads.push_back({"brickwork-16-d10", Brickwork(16, 10, 3), 20});
  workloads.push_back({"qft-12", Qft(12), 1000});
  workloads.push_back({"repetition-13-c3", RepetitionCode(13, 3, 13), 1000});
  workloads.push_back({"repetition-29-c3", RepetitionCode(29, 3, 29), 1000});
  workloads.push_back({"repetition-59-c3", RepetitionCode(59, 3, 59), 200});
  workloads.push_back({"monitored-16-d20", Monitored(16, 20, 16), 200});
  workloads.push_back({"monitored-20-d20", Monitored(20, 20, 20), 50});

  std::printf("%-18s %6s %7s %7s %12s %14s %9s %10s\n", "workload", "qubits", "records", "shots",
              "job ms (min)", "per shot us", "outcomes", "SVDs/shot");
  for (const Workload& w : workloads) {
    if (w.name.find(only) == std::string::npos) continue;
    double best = 1e300;
    size_t distinct = 0;
    double decompositions = 0.0;
    for (int r = 0; r < repetitions; ++r) {
      best = std::min(best, RunJobSeconds(*w.circuit, w.shots, distinct, decompositions));
    }
    std::printf("%-18s %6llu %7zu %7d %12.3f %14.3f %9zu %10.1f\n", w.name.c_str(),
                static_cast<unsigned long long>(w.circuit->num_qubits()), w.circuit->gates().size(), w.shots,
                best * 1e3, best * 1e6 / w.shots, distinct, decompositions);
  }
  if (only.empty() || only == "svd") TimeDecompositions();
  return 0;
}
