#ifndef TAVIRON_SIMULATOR_SHOT_THREAD_POOL_H
#define TAVIRON_SIMULATOR_SHOT_THREAD_POOL_H

#include <sys/types.h>

#include <condition_variable>
#include <list>
#include <mutex>
#include <thread>
#include <vector>

namespace taviron {

// Work that the threads of the pool share. Each thread that joins calls
// Participate once; it returns when the work holds nothing more for that
// thread.
class PoolWork {
 public:
  virtual ~PoolWork() = default;
  // Whether a thread that joined now would find something to do. Called
  // with the pool's mutex held: it must not block or call into the pool.
  virtual bool WantsHelp() const = 0;
  // Runs part of the work on the calling thread.
  virtual void Participate() noexcept = 0;
  // The pool is stopping: threads inside should leave soon, and no thread
  // joins again. Called with the pool's mutex held.
  virtual void PoolStopping() noexcept = 0;
};

// The threads that run the shots of every job of the process: as many as
// the processors this process may run on, however many jobs run at once. A
// free thread joins, of the work on offer that wants help, the one that the
// fewest threads share, so that jobs running side by side share the
// threads. The threads never touch Python.
//
// The pool of a process starts at the first call of Instance. It stops when
// the process exits (std::atexit): each thread finishes the piece of work
// it is in and ends, and is joined; work still on offer is told through
// PoolStopping. A child made by fork never touches its parent's pool (whose
// threads it does not have) and starts a pool of its own when it needs one.
class ShotThreadPool {
 public:
  // The pool of this process, started on first use.
  static ShotThreadPool& Instance();
  // The number of processors this process may run on (its affinity mask),
  // at least 1.
  static int ProcessorLimit();

  ShotThreadPool(const ShotThreadPool&) = delete;
  ShotThreadPool& operator=(const ShotThreadPool&) = delete;

  // Puts work on offer; false, and nothing offered, when the pool has no
  // threads or has stopped. Work offered must be withdrawn before it is
  // destroyed.
  bool Offer(PoolWork& work);
  // Takes work off offer: no thread joins it any more. Returns once every
  // thread inside it has left.
  void Withdraw(PoolWork& work);

  int thread_count() const;
  // The most threads that were inside work at one time since the pool
  // started, and the number inside now.
  int peak_busy() const;
  int busy() const;

 private:
  struct Offered {
    PoolWork* work;
    int inside = 0;
    bool withdrawn = false;
  };

  explicit ShotThreadPool(int threads);
  ~ShotThreadPool() = delete;  // a pool is never destroyed, see Instance

  void ThreadLoop();
  // The work a free thread should join, or nullptr. Mutex held.
  Offered* Choose();
  // Stops the pool of this process, if it has one, at exit.
  static void StopAtExit();
  void Stop();

  const pid_t owner_;  // the process whose threads these are
  mutable std::mutex mutex_;
  std::condition_variable wake_;  // threads: work offered, or stop
  std::condition_variable left_;  // Withdraw: a thread left some work
  std::list<Offered> offered_;
  std::vector<std::thread> threads_;
  bool stop_ = false;
  int busy_ = 0;
  int peak_busy_ = 0;
};

}  // namespace taviron

#endif
