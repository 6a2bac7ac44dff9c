#ifndef TAVIRON_CIRCUIT_RECORD_MEMORY_LIMIT_H
#define TAVIRON_CIRCUIT_RECORD_MEMORY_LIMIT_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace taviron {

// How much memory the records of one gate call take, and the refusal of a
// call whose records the process cannot hold: a decomposition of twenty
// controls, or a barrier over a list of ten million qubits, would otherwise
// take gigabytes before anything could stop it.

// What one record carries besides its fixed fields: the side of its matrix
// (0 for none, 2 for a one-qubit gate, 4 for a two-qubit gate), its
// operands and parameters, and the length of its label.
struct RecordShape {
  uint64_t matrix_side;
  uint64_t operands;
  uint64_t params;
  size_t label_length;
};

// The shape of a record of a decomposition body: a two-qubit gate with up
// to four parameters.
RecordShape BodyRecordShape(size_t label_length);

// Bytes that `records` records of that shape take (the record with its
// shared count, its matrix, operand and parameter storage, a long label,
// and its slot in the list). Saturates at UINT64_MAX.
uint64_t EstimateRecordBytes(uint64_t records, const RecordShape& shape);

// Throws MemoryBudgetError (foundation/memory_budget.h) "<what> needs ..."
// when `records` records of that shape do not fit in the current memory
// budget, before any of them is made. Calls needing less than 64 MiB are
// never refused here: asking the system costs more than building them.
void EnsureRecordsFitInMemory(const std::string& what, uint64_t records,
                              const RecordShape& shape);

}  // namespace taviron

#endif
