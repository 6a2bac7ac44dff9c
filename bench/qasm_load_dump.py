"""Load and dump speed of the OpenQASM reader and writer on large programs:
many user-gate calls, a long gate called many times, many registers, many
plain statements, and compose(..., inplace=True) in a loop.

Run it with:  python bench/qasm_load_dump.py [--quick]
Prints one table row per workload: its size, the seconds to load (or build)
and to dump, and the microseconds per item, so that linear growth shows as
a flat last column.
"""

import sys
import time

import TavironLib as tl

HEADER = 'OPENQASM 2.0;\ninclude "qelib1.inc";\n'


def user_gate_calls(n):
    body = "gate layer(theta) a, b { h a; cx a, b; rz(theta / 2) b; cx a, b; }\n"
    calls = "".join(f"layer(0.25) q[{k % 10}], q[{(k + 1) % 10}];\n" for k in range(n))
    return HEADER + "qreg q[10];\ncreg c[10];\n" + body + calls


def long_gate_calls(statements, calls):
    body = " ".join(f"rz({k % 7} * theta) a; cx a, b;" for k in range(statements // 2))
    text = "gate long(theta) a, b { " + body + " }\n"
    text += "".join("long(0.5) q[0], q[1];\n" for _ in range(calls))
    return HEADER + "qreg q[2];\n" + text


def many_cregs(n):
    declarations = "".join(f"creg r{k}[1];\n" for k in range(n))
    # Statements that look registers up by name, spread over the list.
    uses = "".join(f"measure q[{k}] -> r{k}[0];\n" for k in range(4))
    uses += "".join(f"if (r{k} == 0) x q[{k % 4}];\n" for k in range(0, n, max(1, n // 1000)))
    return HEADER + "qreg q[4];\n" + declarations + uses


def plain_statements(n):
    gates = ["h q[{0}];\n", "cx q[{0}], q[{1}];\n", "rz(0.125) q[{1}];\n", "u3(0.1, 0.2, 0.3) q[{0}];\n"]
    lines = "".join(gates[k % 4].format(k % 20, (k + 1) % 20) for k in range(n))
    return HEADER + "qreg q[20];\ncreg c[20];\n" + lines


def timed(call):
    start = time.perf_counter()
    result = call()
    return result, time.perf_counter() - start


def load_row(label, text, items):
    reader = tl.qasm2()
    circuit, load_seconds = timed(lambda: reader.loads(text))
    _, dump_seconds = timed(circuit.qasm)
    print(f"| {label:<34} | {items:>7} | {load_seconds:9.3f} | {dump_seconds:9.3f} | "
          f"{1e6 * load_seconds / items:10.2f} |")


def compose_row(n):
    inner = tl.QuantumCircuit(4, 0, "block")
    inner.h(0)
    inner.cx(0, 1)
    inner.rz(0.5, 2)
    outer = tl.QuantumCircuit(4)

    def build():
        for _ in range(n):
            outer.compose(inner, [0, 1, 2, 3], [], False, True)
    _, seconds = timed(build)
    _, dump_seconds = timed(outer.qasm)
    print(f"| {'compose inplace in a loop':<34} | {n:>7} | {seconds:9.3f} | {dump_seconds:9.3f} | "
          f"{1e6 * seconds / n:10.2f} |")


def main():
    quick = "--quick" in sys.argv
    scale = 1 if quick else 4
    print("| workload                           |   items |  load (s) |  dump (s) | load us/item |")
    print("|------------------------------------|---------|-----------|-----------|--------------|")
    for n in (500, 1000 * scale, 4000 * scale):
        load_row(f"user-gate calls (4-statement gate)", user_gate_calls(n), n)
    for calls in (100, 250 * scale):
        load_row(f"1000-statement gate, calls", long_gate_calls(1000, calls), calls)
    for n in (10000, 40000) + (() if quick else (100000,)):
        load_row("creg declarations", many_cregs(n), n)
    for n in (10000, 100000) + (() if quick else (400000,)):
        load_row("plain gate statements", plain_statements(n), n)
    for n in (1000, 4000 * scale):
        compose_row(n)


if __name__ == "__main__":
    main()
