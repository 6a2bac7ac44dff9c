#ifndef TAVIRON_BINDINGS_PYTHON_OUTPUT_H
#define TAVIRON_BINDINGS_PYTHON_OUTPUT_H

#include <pybind11/pybind11.h>

#include "foundation/output_sink.h"

namespace taviron::python {

// The sink for every line the core prints (run time lines, progress lines,
// job monitor lines): each line goes through Python's print (the line, then
// a newline, to sys.stdout), with the interpreter lock taken for the print
// when the calling thread does not hold it.
//
// On a Python thread (one that holds the lock, or waits with it let go) a
// Python error raised by print passes through unchanged. On a backend's
// worker thread it becomes a std::runtime_error with the error's text (the
// Python error object is released while the lock is still held), and once
// the interpreter shuts down the worker's lines are dropped.
OutputSink PythonPrintSink();

// Prints `text` as the binding library's print does (str(text), then a
// newline, each written to sys.stdout), the calling thread holding the
// interpreter lock; takes the object over. Like Python's own print it
// prints nothing when sys.stdout is None (as in a program started without
// a console), and raises RuntimeError "lost sys.stdout" when there is none.
// The writes, which run Python code, hold only plain references (see
// CallIntoPython): a thread that the interpreter ends inside them drops
// nothing on its way out.
void PrintToStdout(pybind11::object text);

}  // namespace taviron::python

#endif
