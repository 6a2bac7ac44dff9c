// qasm and draw: registered between reset and mcp. qasm prints (when asked)
// through Python's print; draw hands each row of the drawing to Python's
// print. Of draw's arguments only plot_barriers, fold and filename change
// the drawing; style is accepted as a dict and not passed on.

#include <string>

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "bindings/circuit/circuit_method_tables.h"
#include "bindings/python_output.h"

namespace taviron::python {

namespace py = pybind11;

namespace {

std::string Qasm(Held<QuantumCircuit> self, bool formatted, const std::string& filename,
                 const std::string& encoding) {
  return self.object->qasm(formatted, filename, encoding, PythonPrintSink());
}

void Draw(Held<QuantumCircuit> self, const std::string& output, double scale,
          const std::string& filename, const py::dict& /*style*/, bool interactive,
          bool plot_barriers, bool reverse_bits, const std::string& justify,
          const std::string& vertical_compression, bool idle_wires, bool with_layout,
          int32_t fold, bool initial_state, bool cregbundle, std::vector<int64_t> wire_order) {
  self.object->draw(output, scale, filename, interactive, plot_barriers, reverse_bits, justify,
                    vertical_compression, idle_wires, with_layout, fold, initial_state,
                    cregbundle, wire_order,
                    [](const std::u16string& row) { PrintToStdout(py::cast(row)); });
}

}  // namespace

MethodTable OutputMethods() {
  using method_table_detail::MakeRow;
  using method_table_detail::Signature;
  return {
      MakeRow(Signature<std::string, bool, const std::string&, const std::string&>{}, "qasm",
              "Obtains a QASM 2.0 equivalent code for the quantum circuit", &Qasm,
              {"formatted", "filename", "encoding"}),
      MakeRow(Signature<void, const std::string&, double, const std::string&, const py::dict&,
                        bool, bool, bool, const std::string&, const std::string&, bool, bool,
                        int32_t, bool, bool, std::vector<int64_t>>{},
              "draw", "Draws the quantum circuit", &Draw,
              {"output", "scale", "filename", "style", "interactive", "plot_barriers",
               "reverse_bits", "justify", "vertical_compression", "idle_wires", "with_layout",
               "fold", "initial_state", "cregbundle", "wire_order"}),
  };
}

}  // namespace taviron::python
