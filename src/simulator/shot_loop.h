#ifndef TAVIRON_SIMULATOR_SHOT_LOOP_H
#define TAVIRON_SIMULATOR_SHOT_LOOP_H

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/gate_record.h"
#include "simulator/mps_state.h"
#include "simulator/shot_thread_pool.h"

namespace taviron {

// Receives the shots' bit strings, one call per shot in shot order.
using ShotSink = std::function<void(std::string bits)>;

// Quiet shots that all start from one state and run the same records. The
// shots are cut into chunks of consecutive shots; a thread claims a chunk
// at a time and runs its shots on its own copy of the starting state, with
// a generator of its own that is seeded afresh for each chunk from the
// job's seed and the chunk's number, so that the outcomes of a seed do not
// depend on which thread runs which chunk. A thread of the pool runs its
// shots on a private copy of the records, so that no thread writes a
// timestamp where another reads or writes one; the thread that runs the
// last shot keeps the state it leaves, and the records get the times of
// that shot once every thread has left.
class ShotLoop final : public PoolWork {
 public:
  // start and records must outlive the loop; start has no draw source.
  ShotLoop(const MpsState& start, const GateRecordList& records, int32_t shots, uint64_t seed);
  ShotLoop(const ShotLoop&) = delete;
  ShotLoop& operator=(const ShotLoop&) = delete;

  // Runs every shot (at least one): on the shot threads when the process
  // may use more than one processor, else on this thread. Hands each bit
  // string to append in shot order on this thread, and returns the state
  // that the last shot left. A failure of a shot or of append is raised
  // here once no thread works on the loop any more.
  std::unique_ptr<MpsState> Run(const ShotSink& append);

  bool WantsHelp() const override;
  void Participate() noexcept override;
  void PoolStopping() noexcept override;

 private:
  // Claims and runs chunks until none is left (or, on a pool thread, the
  // pool stops; or a shot failed). Bit strings go to direct when given,
  // else to their slots.
  void RunChunks(bool pool_thread, const ShotSink* direct) noexcept;
  // Hands on the bit strings in shot order as they are done, until all
  // are, a shot failed, or the pool stops with the next one not done.
  void HandOn(const ShotSink& append);
  // Hands on the consecutive bit strings that are done; false when none.
  bool HandOnReady(const ShotSink& append);
  void Deliver(int32_t shot, std::string bits, const ShotSink* direct);
  // Mutex held: whether the next shot to hand on is done; moves the
  // consecutive done ones into batch.
  bool NextIsDone() const;
  void TakeDone(std::vector<std::string>& batch);
  void Fail(std::exception_ptr error) noexcept;
  void RethrowFailure();

  const MpsState& start_;
  const GateRecordList& records_;
  const int32_t shots_;
  const int32_t chunk_size_;
  const int32_t chunk_count_;
  const uint64_t seed_;
  std::atomic<int32_t> next_chunk_{0};
  std::atomic<bool> stopping_{false};
  std::atomic<bool> failed_{false};

  std::mutex mutex_;              // guards what follows
  std::condition_variable ready_;  // a shot is done, a shot failed, or the pool stops
  // The bit strings of the shots done but not yet handed on, by shot: as
  // many as the threads finish while an earlier chunk is still running,
  // usually a few chunks' worth, however many shots the job has.
  std::map<int32_t, std::string> done_;
  int32_t handed_ = 0;  // shots handed on so far
  std::exception_ptr failure_;
  std::unique_ptr<MpsState> kept_;
  GateRecordList kept_records_;  // the copies the last shot ran on, if any
};

}  // namespace taviron

#endif
