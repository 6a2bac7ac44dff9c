#ifndef TAVIRON_BINDINGS_PYTHON_JOB_CALLBACK_H
#define TAVIRON_BINDINGS_PYTHON_JOB_CALLBACK_H

#include <string>

#include <pybind11/pybind11.h>

#include "execution/job.h"

namespace taviron::python {

// The Python callable that JobV1.wait_for_final_state stores in the job.
// Made and called on the Python thread; released wherever the job lets its
// last hold go, possibly a backend's worker thread or a Python thread that
// waits without the interpreter lock, so the release goes through
// ReleasePythonReference.
class PythonJobCallback : public JobCallback {
 public:
  explicit PythonJobCallback(pybind11::function callable);
  ~PythonJobCallback() override;
  PythonJobCallback(const PythonJobCallback&) = delete;
  PythonJobCallback& operator=(const PythonJobCallback&) = delete;

  // Checks for a pending signal (Ctrl-C), then calls the callable with the
  // job id, the status and the job's own Python object. Python errors pass
  // through.
  void Call(const std::string& job_id, JobStatus status, JobV1& job) override;

 private:
  PyObject* callable_;  // a strong reference
};

}  // namespace taviron::python

#endif
