#ifndef TAVIRON_SIMULATOR_TESTING_RECORD_BUILDERS_H
#define TAVIRON_SIMULATOR_TESTING_RECORD_BUILDERS_H

// Test-only: instruction records built directly (general matrices, odd
// records the circuit model never makes), random circuits over every kind
// of record the engine treats differently, and fixed measurement draws.

#include <algorithm>
#include <complex>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <Eigen/Dense>
#include <Eigen/QR>

#include "circuit/append_gate.h"
#include "circuit/quantum_circuit.h"
#include "foundation/gate_matrix_constants.h"
#include "foundation/gate_name_table.h"
#include "foundation/gate_record.h"
#include "simulator/uniform_draw.h"

namespace taviron {

inline GateRecordPtr OneQubitRecord(GateId type, const Eigen::MatrixXcd& matrix, uint64_t qubit) {
  auto record = std::make_shared<GateRecord>();
  record->gate_type = type;
  record->matrix = matrix;
  record->qubits = {qubit};
  return record;
}

inline GateRecordPtr TwoQubitRecord(GateId type, const Eigen::MatrixXcd& matrix, uint64_t first,
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
  return TwoQubitRecord(GateId::kCU1, m, control, target);
}

inline GateRecordPtr MeasureRecord(uint64_t qubit, uint64_t clbit) {
  auto record = std::make_shared<GateRecord>();
  record->gate_type = GateId::kMeasure;
  record->qubits = {qubit};
  record->clbits = {clbit};
  return record;
}

inline GateRecordPtr ResetRecord(uint64_t qubit) {
  auto record = std::make_shared<GateRecord>();
  record->gate_type = GateId::kReset;
  record->qubits = {qubit};
  return record;
}

inline GateRecordPtr CompositeRecord(const std::string& label, GateRecordList body) {
  auto record = std::make_shared<GateRecord>();
  record->gate_type = GateId::kComposite;
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

inline GateRecordPtr H(uint64_t q) { return OneQubitRecord(GateId::kH, Constants().MatrixH, q); }
inline GateRecordPtr X(uint64_t q) { return OneQubitRecord(GateId::kX, Constants().MatrixX, q); }
inline GateRecordPtr CX(uint64_t c, uint64_t t) { return TwoQubitRecord(GateId::kCX, Constants().MatrixCX, c, t); }

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
  GateId gate_type;
  RandomKind kind;
  Eigen::MatrixXcd matrix;  // kOneConstant and kTwoConstant
};

inline std::vector<RandomGateKind> RandomGateKinds() {
  const GateMatrixConstants& g = Constants();
  return {
      {GateId::kH, RandomKind::kOneConstant, g.MatrixH},     {GateId::kX, RandomKind::kOneConstant, g.MatrixX},
      {GateId::kI, RandomKind::kOneConstant, g.MatrixI},     {GateId::kId, RandomKind::kOneConstant, g.MatrixI},
      {GateId::kT, RandomKind::kOneConstant, g.MatrixT},     {GateId::kS, RandomKind::kOneConstant, g.MatrixS},
      {GateId::kTdg, RandomKind::kOneConstant, g.MatrixTdg},   {GateId::kSdg, RandomKind::kOneConstant, g.MatrixSdg},
      {GateId::kSX, RandomKind::kOneConstant, g.MatrixSX},    {GateId::kY, RandomKind::kOneConstant, g.MatrixY},
      {GateId::kZ, RandomKind::kOneConstant, g.MatrixZ},    {GateId::kU0, RandomKind::kOneConstant, g.MatrixI},
      {GateId::kU, RandomKind::kOneRandom, {}},             {GateId::kRX, RandomKind::kOneRandom, {}},
      {GateId::kCX, RandomKind::kTwoConstant, g.MatrixCX},   {GateId::kCZ, RandomKind::kTwoConstant, g.MatrixCZ},
      {GateId::kSwap, RandomKind::kTwoConstant, g.MatrixSWAP}, {GateId::kCY, RandomKind::kTwoConstant, g.MatrixCY},
      {GateId::kCH, RandomKind::kTwoConstant, g.MatrixCH},   {GateId::kDCX, RandomKind::kTwoConstant, g.MatrixDCX},
      {GateId::kISwap, RandomKind::kTwoConstant, g.MatrixISWAP}, {GateId::kCS, RandomKind::kTwoConstant, g.MatrixCS},
      {GateId::kCU1, RandomKind::kCu1, {}},                   {GateId::kCU, RandomKind::kTwoRandom, {}},
      {GateId::kRXX, RandomKind::kTwoRandom, {}},             {GateId::kCU3, RandomKind::kTwoRandom, {}},
      {GateId::kEmpty, RandomKind::kTwoRandom, {}},             {GateId::kBarrier, RandomKind::kBarrier, {}},
      {GateId::kComposite, RandomKind::kComposite, {}},
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

// A gate that a method appends on one or two qubits; reset is no gate.
inline bool IsAppendedUnitaryGate(const GateDescriptor& entry) {
  return (entry.qubits == 1 || entry.qubits == 2) && entry.id != GateId::kReset &&
         AppendGateArity(entry.id).has_value();
}

// The record that the method of `id` appends on qubits a (and b), with
// angles drawn from `angle`.
template <class AngleDistribution>
GateRecordPtr CatalogueGateRecord(GateId id, uint64_t a, uint64_t b, std::mt19937& rng,
                                  AngleDistribution& angle) {
  const std::optional<GateArity> arity = AppendGateArity(id);
  std::vector<double> parameters;
  for (size_t k = 0; k < arity->parameters; ++k) parameters.push_back(angle(rng));
  std::vector<uint64_t> qubits = {a, b};
  qubits.resize(arity->qubits);
  QuantumCircuit circuit(std::max(a, b) + 1, uint64_t{0});
  const std::unique_ptr<Gate> handle = AppendGate(circuit, id, qubits, parameters);
  // A copy: the circuit empties its records when it goes.
  return handle->records.at(0)->Clone();
}

// a followed by b.
inline GateRecordList Concat(GateRecordList a, const GateRecordList& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
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

}  // namespace taviron

#endif
