#ifndef TAVIRON_CIRCUIT_GATE_TABLE_MACROS_H
#define TAVIRON_CIRCUIT_GATE_TABLE_MACROS_H

// Support for the tables that define families of gate methods: a table row
// passes a parameter or argument list in parentheses, and
// TAVIRON_UNPARENTHESIZE list strips them where the list is spliced in.
#define TAVIRON_UNPARENTHESIZE(...) __VA_ARGS__

#endif
