// QuantumCircuit::draw: build the text drawing of the circuit and print it.

#include "circuit/quantum_circuit.h"
#include "drawer/text_canvas.h"

namespace taviron {

void QuantumCircuit::draw(
    const std::string& /*output*/, double /*scale*/, const std::string& filename,
    bool /*interactive*/, bool plot_barriers, bool /*reverse_bits*/,
    const std::string& /*justify*/, const std::string& /*vertical_compression*/,
    bool idle_wires, bool /*with_layout*/, int32_t fold, bool /*initial_state*/,
    bool /*cregbundle*/, const std::vector<int64_t>& /*wire_order*/,
    const std::function<void(const std::u16string&)>& print) const {
  const TextCanvas canvas(*this, idle_wires, plot_barriers, fold);
  canvas.Print(filename, print);
}

}  // namespace taviron
