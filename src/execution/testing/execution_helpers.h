#ifndef TAVIRON_EXECUTION_TESTING_EXECUTION_HELPERS_H
#define TAVIRON_EXECUTION_TESTING_EXECUTION_HELPERS_H

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "circuit/quantum_circuit.h"
#include "execution/job.h"
#include "foundation/output_sink.h"
#include "simulator/testing/process_threads.h"

namespace taviron {

// The limit of every wait in the execution tests: far above what any of
// them needs, so that reaching it means a hang, not a slow machine.
constexpr std::chrono::seconds kWaitLimit{60};

// Polls condition until it holds or the limit passes; true when it held.
inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::steady_clock::duration limit = kWaitLimit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// A sink that keeps every line; safe to call from the worker thread.
class LineRecorder {
 public:
  OutputSink Sink() {
    return [this](const std::string& line) {
      std::lock_guard<std::mutex> lock(mutex_);
      lines_.push_back(line);
    };
  }
  std::vector<std::string> Lines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

// Holds the job whose sink it is at its first line until released, so that
// a test knows a job is running and decides when it ends. Shared by the
// sink (on the worker thread) and the test.
class WorkerHold {
 public:
  static std::shared_ptr<WorkerHold> Make() { return std::make_shared<WorkerHold>(); }

  static OutputSink HoldingSink(const std::shared_ptr<WorkerHold>& gate) {
    return [gate](const std::string&) { gate->Hold(); };
  }

  bool WaitEntered() {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, kWaitLimit, [this] { return entered_; });
  }
  void Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }

 private:
  void Hold() {
    std::unique_lock<std::mutex> lock(mutex_);
    entered_ = true;
    changed_.notify_all();
    changed_.wait_for(lock, kWaitLimit, [this] { return released_; });
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  bool entered_ = false;
  bool released_ = false;
};

// A job callback made from a function; flags its own release.
class FunctionCallback : public JobCallback {
 public:
  using Function = std::function<void(const std::string&, JobStatus, JobV1&)>;
  explicit FunctionCallback(Function function, std::shared_ptr<std::atomic<bool>> released = {})
      : function_(std::move(function)), released_(std::move(released)) {}
  ~FunctionCallback() override {
    if (released_) *released_ = true;
  }
  void Call(const std::string& job_id, JobStatus status, JobV1& job) override {
    function_(job_id, status, job);
  }

 private:
  Function function_;
  std::shared_ptr<std::atomic<bool>> released_;
};

// Two qubits: h on 0, cx 0 -> 1, both measured into their own bits.
inline std::shared_ptr<QuantumCircuit> BellCircuit() {
  auto circuit = std::make_shared<QuantumCircuit>(2, 2);
  circuit->h(0);
  circuit->cx(0, 1);
  circuit->measure(0, 0);
  circuit->measure(1, 1);
  return circuit;
}

}  // namespace taviron

#endif
