#ifndef TAVIRON_QASM_QASM_RECORD_TEXT_H
#define TAVIRON_QASM_QASM_RECORD_TEXT_H

#include <string>
#include <vector>

#include "foundation/gate_record.h"

namespace taviron {

// Pieces of the OpenQASM text of one record, shared by instruction lines
// and the bodies of gate definitions.

// Whether the record is a composite that the standard include provides:
// one whose kind (CompositeKindOf) is named in `standard_names` (ccx, rccx,
// c3x, ...) and that holds exactly the body its builder makes, so that a
// circuit or a label of that name is never taken for the gate.
bool IsStandardComposite(const GateRecord& record,
                         const std::vector<std::string>& standard_names);

// A composite that needs a definition of its own.
bool NeedsDefinition(const GateRecord& record,
                     const std::vector<std::string>& standard_names);

// How a record that is not defined in the text is called.
struct WrittenGate {
  std::string name;
  std::vector<double> params;
};

// The lower-cased name of a composite, the u gate of its matrix (up to
// global phase) for rv, whose definition no OpenQASM 2.0 expression can
// give; else the gate's word in the catalogue (`id` for the identity) or,
// for an id without one, the record's own name, with its parameters.
WrittenGate WrittenForm(const GateRecord& record);

// The parameters as written, at most four: "(a<separator>b)", or "" when
// there are none. Throws RunTimeError naming `gate` for a parameter that is
// not a finite number.
std::string ParameterText(const std::string& gate, const std::vector<double>& params,
                          const std::string& separator);
// The same for a record's own parameters.
std::string ParameterText(const GateRecord& record, const std::string& separator);

// The number of parameters that ParameterText writes for the record.
size_t WrittenParameterCount(const GateRecord& record);

// The items joined by `separator`, each written by `format`.
template <class Items, class Format>
std::string Join(const Items& items, const std::string& separator, Format format) {
  std::string text;
  bool first = true;
  for (const auto& item : items) {
    if (!first) text += separator;
    text += format(item);
    first = false;
  }
  return text;
}

}  // namespace taviron

#endif
