#ifndef TAVIRON_EXECUTION_PARAMETER_CHECK_H
#define TAVIRON_EXECUTION_PARAMETER_CHECK_H

#include <string>

#include "foundation/gate_record.h"

namespace taviron {

// Why a run must not use these records: empty when every parameter and
// every matrix entry, composite bodies included, is a finite number; else a
// text that names the first gate with a NaN or infinite value, such as
// "The gate rx has a parameter that is not a finite number (nan); the job
// was not run." A state simulated from such a gate would be all NaN.
std::string NonFiniteParameterReason(const GateRecordList& gates);

}  // namespace taviron

#endif
