#ifndef TAVIRON_DRAWER_TESTING_CIRCUITS_H
#define TAVIRON_DRAWER_TESTING_CIRCUITS_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "circuit/quantum_circuit.h"

namespace taviron {

namespace drawer_testing {

constexpr double kPi = 3.141592653589793;

// A circuit of quantum register `quantum_name` and classical register "c".
inline std::unique_ptr<QuantumCircuit> Circuit(int32_t qubits, int32_t clbits,
                                               const std::string& quantum_name = "q") {
  QuantumRegister q(qubits, quantum_name);
  ClassicalRegister c(clbits, "c");
  std::vector<RegisterArgument> args = {&q, &c};
  return std::make_unique<QuantumCircuit>(args);
}

// h on 0, cx 0 -> 1, and both qubits measured into their own bits.
inline std::unique_ptr<QuantumCircuit> BellCircuit() {
  auto qc = Circuit(2, 2);
  qc->h(0);
  qc->cx(0, 1);
  qc->measure(0, 0);
  qc->measure(1, 1);
  return qc;
}

// The drawing of BellCircuit with the default fold.
inline const char* BellDrawing() {
  return "       ┌───┐     ┌───┐      \n"
         "q[0]: ■┤ H ├──■──┤ M ├───── \n"
         "       └───┘┌─┴─┐└─╥─┘┌───┐ \n"
         "q[1]: ■─────┤ X ├──║──┤ M ├ \n"
         "            └───┘  ║  └─╥─┘ \n"
         "c: 2/ ■════════════╩════╩══ \n"
         "                   0    1   \n";
}

}  // namespace drawer_testing

}  // namespace taviron

#endif
