// append and compose: another circuit's records, copied through a qubit map
// and a classical-bit map, become the body of one composite record named
// after that circuit.

#include "circuit/quantum_circuit_append_compose.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <utility>

#include "circuit/composite_record.h"
#include "circuit/quantum_circuit.h"
#include "circuit/registers.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

const char kWiderCircuit[] =
    "Input circuit has a wider number of qubits or classical bits and hence "
    "can't attach.";
const char kQubitListIncorrect[] = "The qubit list is incorrect";
const char kAppendListSize[] =
    "Either the qubit list or the classical bits list is not of the correct "
    "size";
const char kAppendClassicalIncorrect[] = "Classical register list is incorrect";
const char kComposeQubitListSize[] = "The qubit list is not of the correct size";
const char kComposeClassicalSize[] =
    "The classical register list is not of the correct size";
const char kComposeClassicalIncorrect[] =
    "The classical register list is incorrect";
const char kRegisterConditionMoved[] =
    "A conditioned instruction tests a classical register whose bits the "
    "classical bits list does not keep in place, so the condition can't be "
    "attached";

void CheckWidth(const QuantumCircuit& circuit, const QuantumCircuit& other) {
  if (other.total_qubits() > circuit.total_qubits() ||
      other.num_clbits() > circuit.num_clbits()) {
    throw RunTimeError(kWiderCircuit);
  }
}

// Every entry must be an index below `bound`.
void CheckEntries(const std::vector<uint64_t>& map, uint64_t bound,
                  const char* message) {
  for (uint64_t entry : map) {
    if (entry >= bound) throw RunTimeError(message);
  }
}

std::vector<uint64_t> IdentityMap(uint64_t size) {
  std::vector<uint64_t> map(size);
  for (uint64_t i = 0; i < size; ++i) map[i] = i;
  return map;
}

// The larger of the circuit's qubit and classical-bit counts: the bound of
// every map entry.
uint64_t MapBound(const QuantumCircuit& circuit) {
  return std::max(circuit.total_qubits(), circuit.num_clbits());
}

// Whether the classical map sends every bit of the condition's register to
// itself, so that the condition means the same after the copy.
bool RegisterKeptInPlace(const GateRecord& record,
                         const std::vector<uint64_t>& clbit_map) {
  const ConditionRegisterView* reg = record.condition_register.get();
  if (reg == nullptr) return true;
  const int64_t first = reg->FirstBitIndex();
  const int64_t size = reg->BitCount();
  for (int64_t k = 0; k < size; ++k) {
    const int64_t bit = first + k;
    if (bit < 0 || static_cast<uint64_t>(bit) >= clbit_map.size() ||
        clbit_map[static_cast<size_t>(bit)] != static_cast<uint64_t>(bit)) {
      return false;
    }
  }
  return true;
}

bool ParamsEqual(const std::vector<double>& a, const std::vector<double>& b) {
  // Element-wise ==, so a NaN is never equal.
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

bool MatricesApproxEqual(const MatrixXcd& a, const MatrixXcd& b) {
  if (a.rows() != b.rows() || a.cols() != b.cols()) return false;
  if (a.size() == 0) return true;
  return a.isApprox(b, 1e-12);
}

bool ConditionsEqual(const GateRecord& x, const GateRecord& y) {
  if (x.conditioned != y.conditioned) return false;
  if (!x.conditioned) return true;
  if (x.condition_on_clbit != y.condition_on_clbit ||
      x.condition_value != y.condition_value) {
    return false;
  }
  // A bit condition's bit is mapped like the operands; a register condition
  // is kept only on the same register.
  return x.condition_on_clbit || x.condition_register == y.condition_register;
}

bool RecordsEqual(const GateRecord& x, const GateRecord& y) {
  if (x.gate_type == GateId::kComposite && y.gate_type == GateId::kComposite &&
      (x.texts != y.texts || !GateListsEqual(x.body, y.body))) {
    return false;
  }
  return x.gate_type == y.gate_type && x.label == y.label &&
         ParamsEqual(x.params, y.params) &&
         x.qubits.size() == y.qubits.size() &&
         x.clbits.size() == y.clbits.size() && ConditionsEqual(x, y) &&
         MatricesApproxEqual(x.matrix, y.matrix);
}

}  // namespace

void ValidateAttachMaps(const GateRecordList& records,
                        const std::vector<uint64_t>& qubit_map,
                        const std::vector<uint64_t>& clbit_map,
                        const char* clbit_message) {
  std::vector<uint64_t> mapped;
  for (const GateRecordPtr& record : records) {
    mapped.clear();
    for (uint64_t q : record->qubits) {
      if (q >= qubit_map.size()) throw RunTimeError(kQubitListIncorrect);
      mapped.push_back(qubit_map[q]);
    }
    // A composite's qubit list only names the qubits it spans (pauli and
    // maps with repeated entries may list one twice); its body records carry
    // the operands, and those are checked below.
    std::sort(mapped.begin(), mapped.end());
    if (record->gate_type != GateId::kComposite &&
        std::adjacent_find(mapped.begin(), mapped.end()) != mapped.end()) {
      throw RunTimeError(kQubitListIncorrect);
    }
    for (uint64_t c : record->clbits) {
      if (c >= clbit_map.size()) throw RunTimeError(clbit_message);
    }
    if (record->conditioned) {
      if (record->condition_on_clbit) {
        if (record->condition_clbit >= clbit_map.size()) {
          throw RunTimeError(clbit_message);
        }
      } else if (!RegisterKeptInPlace(*record, clbit_map)) {
        throw RunTimeError(kRegisterConditionMoved);
      }
    }
    ValidateAttachMaps(record->body, qubit_map, clbit_map, clbit_message);
  }
}

namespace {

// CopyGateRecords, with the copy made of each source record so far: a
// record that stands in several places (composites the reader shares) is
// copied once and its copy shared the same way, since the maps are the same.
void CopyGateRecordsOnce(const GateRecordList& source, GateRecordList& destination,
                         const std::vector<uint64_t>& qubit_map,
                         const std::vector<uint64_t>& clbit_map,
                         std::unordered_map<const GateRecord*, GateRecordPtr>& copies) {
  for (const GateRecordPtr& record : source) {
    GateRecordPtr& copy = copies[record.get()];
    if (!copy) {
      copy = record->Clone();
      for (uint64_t& q : copy->qubits) q = qubit_map[q];
      for (uint64_t& c : copy->clbits) c = clbit_map[c];
      if (copy->conditioned && copy->condition_on_clbit) {
        copy->condition_clbit = clbit_map[copy->condition_clbit];
      }
      // The body is copied through the same maps, not shared.
      copy->body.clear();
      CopyGateRecordsOnce(record->body, copy->body, qubit_map, clbit_map, copies);
    }
    destination.push_back(copy);
  }
}

}  // namespace

void CopyGateRecords(const GateRecordList& source, GateRecordList& destination,
                     const std::vector<uint64_t>& qubit_map,
                     const std::vector<uint64_t>& clbit_map) {
  std::unordered_map<const GateRecord*, GateRecordPtr> copies;
  CopyGateRecordsOnce(source, destination, qubit_map, clbit_map, copies);
}

bool GateListsEqual(const GateRecordList& a, const GateRecordList& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!RecordsEqual(*a[i], *b[i])) return false;
  }
  return true;
}

int32_t QuantumCircuit::AttachCircuit(const QuantumCircuit& other,
                                      std::vector<uint64_t> qubit_map,
                                      std::vector<uint64_t> clbit_map,
                                      bool front) {
  // The composite spans every map entry and marks it active, so each entry
  // must be a qubit of this circuit.
  CheckEntries(qubit_map, total_qubits_, kQubitListIncorrect);
  ValidateAttachMaps(other.gates(), qubit_map, clbit_map,
                     kComposeClassicalIncorrect);

  // A composite of the same name whose body differs from the other circuit
  // gets the name a numeric suffix, so one name never stands for two bodies.
  std::string composite_name = other.name();
  if (composite_index_.HasOtherBody(gates_, other.name(), other.gates())) {
    composite_name += std::to_string(CircuitNameCounter);
    CircuitNameCounter = WrappingAdd32(CircuitNameCounter, 1);
  }

  GateRecordPtr composite = NewCompositeRecord(composite_name, "");
  for (uint64_t qubit : qubit_map) {
    composite->qubits.push_back(qubit);
    active_qubits_[qubit] = 1;
  }
  CopyGateRecords(other.gates(), composite->body, qubit_map, clbit_map);
  if (front) {
    gates_.insert(gates_.begin(), std::move(composite));
    composite_index_.Reset();  // every position moved
  } else {
    gates_.push_back(std::move(composite));
  }
  return 0;
}

int32_t QuantumCircuit::append(const QuantumCircuit& qc,
                               std::vector<uint64_t> qubits_vector,
                               std::vector<uint64_t> cbits_vector) {
  CheckWidth(*this, qc);
  if (qubits_vector.size() != total_qubits_ ||
      cbits_vector.size() != num_clbits_) {
    throw RunTimeError(kAppendListSize);
  }
  const uint64_t bound = MapBound(*this);
  CheckEntries(qubits_vector, bound, kQubitListIncorrect);
  CheckEntries(cbits_vector, bound, kAppendClassicalIncorrect);
  ValidateAttachMaps(qc.gates(), qubits_vector, cbits_vector,
                     kAppendClassicalIncorrect);
  return AttachCircuit(qc, std::move(qubits_vector), std::move(cbits_vector),
                       false);
}

QuantumCircuit* QuantumCircuit::compose(const QuantumCircuit& other,
                                        std::vector<uint64_t> qubits,
                                        std::vector<uint64_t> clbits,
                                        bool front, bool inplace,
                                        bool /*wrap*/) {
  CheckWidth(*this, other);
  const uint64_t bound = MapBound(*this);
  if (qubits.empty()) {
    qubits = IdentityMap(total_qubits_);
  } else {
    if (qubits.size() != total_qubits_) {
      throw RunTimeError(kComposeQubitListSize);
    }
    CheckEntries(qubits, bound, kQubitListIncorrect);
  }
  if (clbits.empty()) {
    clbits = IdentityMap(num_clbits_);
  } else {
    if (clbits.size() != num_clbits_) throw RunTimeError(kComposeClassicalSize);
    CheckEntries(clbits, bound, kComposeClassicalIncorrect);
  }
  AttachCircuit(other, std::move(qubits), std::move(clbits), front);
  return inplace ? nullptr : this;
}

}  // namespace taviron
