#include "qasm/qelib_gate_names.h"

namespace taviron {

std::vector<std::string> MakeQelibGateNames() {
  return {"ccx", "cswap", "crx",  "cry",  "crz",  "cu1",  "cp",
          "cu3", "csx",   "cu",   "rxx",  "rzz",  "rccx", "rc3x",
          "c3x", "c3sqrtx", "c4x"};
}

}  // namespace taviron
