// qasm and draw: registered between reset and mcp. They are bound here
// together with the OpenQASM writer and the text drawer that they call; until
// then this table is empty and the registration order of the other methods
// is already final.

#include "bindings/circuit/circuit_method_tables.h"

MethodTable OutputMethods() { return {}; }
