#ifndef TAVIRON_SIMULATOR_TESTING_RECORD_BUILDERS_H
#define TAVIRON_SIMULATOR_TESTING_RECORD_BUILDERS_H

// Test-only: instruction records built directly (general matrices, odd
// records the circuit model never makes), random circuits over every kind
// of record the engine treats differently, and fixed measurement draws.

#include <algorithm>
#include <complex>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <Eigen/Dense>
#include <Eigen/QR>

#include "foundation/gate_matrix_constants.h"
#include "foundation/gate_record.h"
#include "simulator/uniform_draw.h"

inline GateRecordPtr OneQubitRecord(int32_t type, const Eigen::MatrixXcd& matrix, uint64_t qubit) {
  auto record = std::make_shared<GateRecord>();
  record->gate_type = type;
  record->matrix = matrix;
  record->qubits = {qubit};
  return record;
}

inline GateRecordPtr TwoQubitRecord(int32_t type, const Eigen::MatrixXcd& matrix, uint64_t first,
                                    uint64_t second) {
  auto record = std::make_shared<GateRecord>();
  record->gate_type = type;
  record->matrix = matrix;
  record->qubits = {first, second};
  return record;
}

inline GateRecordPtr Cu1Record(double angle, uint64_t control, uint64_t target) {
  Eigen::MatrixXcd m = Eigen::MatrixXcd::Identity(4, 4);
  m(3, 3) = angle;
  return TwoQubitRecord(46, m, control, target);
}

inline GateRecordPtr MeasureRecord(uint64_t qubit, uint64_t clbit) {
  auto record = std::make_shared<GateRecord>();
  record->gate_type = 41;
  record->qubits = {qubit};
  record->clbits = {clbit};
  return record;
}

inline GateRecordPtr ResetRecord(uint64_t qubit) {
  auto record = std::make_shared<GateRecord>();
  record->gate_type = 44;
  record->qubits = {qubit};
  return record;
}

inline GateRecordPtr CompositeRecord(const std::string& label, GateRecordList body) {
  auto record = std::make_shared<GateRecord>();
  record->gate_type = 53;
  record->label = label;
  for (const GateRecordPtr& part : body) {
    for (uint64_t q : part->qubits) {
      if (std::find(record->qubits.begin(), record->qubits.end(), q) == record->qubits.end()) {
        record->qubits.push_back(q);
      }
    }
  }
  record->body = std::move(body);
  return record;
}

inline GateRecordPtr ConditionOnBit(GateRecordPtr record, uint64_t clbit, uint64_t value) {
  record->conditioned = true;
  record->condition_on_clbit = true;
  record->condition_clbit = clbit;
  record->condition_value = value;
  return record;
}

inline const GateMatrixConstants& Constants() { return GateMatrixConstants::Get(); }

inline GateRecordPtr H(uint64_t q) { return OneQubitRecord(1, Constants().MatrixH, q); }
inline GateRecordPtr X(uint64_t q) { return OneQubitRecord(2, Constants().MatrixX, q); }
inline GateRecordPtr CX(uint64_t c, uint64_t t) { return TwoQubitRecord(20, Constants().MatrixCX, c, t); }

// A Haar-like random unitary from the QR decomposition of a Gaussian matrix.
inline Eigen::MatrixXcd RandomUnitary(int dim, std::mt19937& rng) {
  std::normal_distribution<double> normal;
  Eigen::MatrixXcd a(dim, dim);
  for (int r = 0; r < dim; ++r) {
    for (int c = 0; c < dim; ++c) a(r, c) = std::complex<double>(normal(rng), normal(rng));
  }
  Eigen::HouseholderQR<Eigen::MatrixXcd> qr(a);
  return qr.householderQ() * Eigen::MatrixXcd::Identity(dim, dim);
}

// Every kind of record the engine handles in its own way.
enum class RandomKind { kOneConstant, kOneRandom, kTwoConstant, kTwoRandom, kCu1, kBarrier, kComposite };

struct RandomGateKind {
  int32_t gate_type;
  RandomKind kind;
  Eigen::MatrixXcd matrix;  // kOneConstant and kTwoConstant
};

inline std::vector<RandomGateKind> RandomGateKinds() {
  const GateMatrixConstants& g = Constants();
  return {
      {1, RandomKind::kOneConstant, g.MatrixH},     {2, RandomKind::kOneConstant, g.MatrixX},
      {3, RandomKind::kOneConstant, g.MatrixI},     {4, RandomKind::kOneConstant, g.MatrixI},
      {5, RandomKind::kOneConstant, g.MatrixT},     {6, RandomKind::kOneConstant, g.MatrixS},
      {7, RandomKind::kOneConstant, g.MatrixTdg},   {8, RandomKind::kOneConstant, g.MatrixSdg},
      {9, RandomKind::kOneConstant, g.MatrixSX},    {18, RandomKind::kOneConstant, g.MatrixY},
      {19, RandomKind::kOneConstant, g.MatrixZ},    {54, RandomKind::kOneConstant, g.MatrixI},
      {17, RandomKind::kOneRandom, {}},             {14, RandomKind::kOneRandom, {}},
      {20, RandomKind::kTwoConstant, g.MatrixCX},   {22, RandomKind::kTwoConstant, g.MatrixCZ},
      {40, RandomKind::kTwoConstant, g.MatrixSWAP}, {21, RandomKind::kTwoConstant, g.MatrixCY},
      {23, RandomKind::kTwoConstant, g.MatrixCH},   {33, RandomKind::kTwoConstant, g.MatrixDCX},
      {35, RandomKind::kTwoConstant, g.MatrixISWAP}, {29, RandomKind::kTwoConstant, g.MatrixCS},
      {46, RandomKind::kCu1, {}},                   {32, RandomKind::kTwoRandom, {}},
      {36, RandomKind::kTwoRandom, {}},             {47, RandomKind::kTwoRandom, {}},
      {52, RandomKind::kTwoRandom, {}},             {43, RandomKind::kBarrier, {}},
      {53, RandomKind::kComposite, {}},
  };
}

// One random record on n qubits (composites hold 2 to 4 random parts).
inline GateRecordPtr RandomRecord(int n, std::mt19937& rng, int depth = 0) {
  static const std::vector<RandomGateKind> kinds = RandomGateKinds();
  std::uniform_int_distribution<size_t> pick_kind(0, kinds.size() - 1);
  std::uniform_int_distribution<uint64_t> pick_qubit(0, static_cast<uint64_t>(n - 1));
  std::uniform_real_distribution<double> angle(-3.2, 3.2);
  RandomGateKind kind = kinds[pick_kind(rng)];
  while (depth > 0 && kind.kind == RandomKind::kComposite) kind = kinds[pick_kind(rng)];
  const uint64_t a = pick_qubit(rng);
  uint64_t b = pick_qubit(rng);
  while (b == a) b = pick_qubit(rng);
  switch (kind.kind) {
    case RandomKind::kOneConstant:
      return OneQubitRecord(kind.gate_type, kind.matrix, a);
    case RandomKind::kOneRandom:
      return OneQubitRecord(kind.gate_type, RandomUnitary(2, rng), a);
    case RandomKind::kTwoConstant:
      return TwoQubitRecord(kind.gate_type, kind.matrix, a, b);
    case RandomKind::kTwoRandom:
      return TwoQubitRecord(kind.gate_type, RandomUnitary(4, rng), a, b);
    case RandomKind::kCu1:
      return Cu1Record(angle(rng), a, b);
    case RandomKind::kBarrier: {
      auto record = std::make_shared<GateRecord>();
      record->gate_type = kind.gate_type;
      record->qubits = {a, b};
      return record;
    }
    case RandomKind::kComposite: {
      std::uniform_int_distribution<int> parts(2, 4);
      GateRecordList body;
      const int count = parts(rng);
      for (int i = 0; i < count; ++i) body.push_back(RandomRecord(n, rng, depth + 1));
      return CompositeRecord("block", std::move(body));
    }
  }
  return nullptr;
}

inline GateRecordList RandomCircuit(int n, int length, std::mt19937& rng) {
  GateRecordList records;
  for (int i = 0; i < length; ++i) records.push_back(RandomRecord(n, rng));
  return records;
}

// Draws that come from a fixed list, in order (the last one repeats).
inline UniformDrawSource FixedDraws(std::vector<double> draws) {
  return [draws = std::move(draws), next = size_t{0}]() mutable {
    const double r = draws[std::min(next, draws.size() - 1)];
    ++next;
    return r;
  };
}

// Reproducible draws from a generator with a fixed seed.
inline UniformDrawSource SeededDraws(uint32_t seed) {
  return [generator = std::mt19937(seed)]() mutable {
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
  };
}

#endif
