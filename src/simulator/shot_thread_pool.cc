#include "simulator/shot_thread_pool.h"

#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "foundation/fork_lock_registry.h"
#include "foundation/never_destroyed.h"

namespace taviron {

namespace {

// The pool of this process image and the mutex that guards its creation,
// made when the module is loaded and never destroyed: a thread of a job that
// outlives the statics at exit still finds them, and a fork can never copy
// them half made. The fork handlers hold the mutex across a fork; the child
// forgets the parent's pool, whose threads exist only in the parent.
struct PoolRegistry {
  std::mutex creation;
  ShotThreadPool* pool = nullptr;  // immortal: its destructor is deleted
  bool stop_registered = false;
  ForkLockRegistration fork_registration{creation, nullptr, ForkLockRule::kHeldAcrossFork,
                                         ForkLockRank::kLeaf, [this] { pool = nullptr; }};
};

NeverDestroyed<PoolRegistry> pool_registry;

PoolRegistry& Registry() { return pool_registry.get(); }

}  // namespace

ShotThreadPool& ShotThreadPool::Instance() {
  PoolRegistry& registry = Registry();
  std::lock_guard<std::mutex> lock(registry.creation);
  if (!registry.pool) {
    registry.pool = new ShotThreadPool(ProcessorLimit());
    // Registered once per process; a child made by fork inherits it.
    if (!registry.stop_registered) {
      registry.stop_registered = std::atexit(&ShotThreadPool::StopAtExit) == 0;
    }
  }
  return *registry.pool;
}

int ShotThreadPool::ProcessorLimit() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof(set), &set) == 0) {
    const int count = CPU_COUNT(&set);
    if (count > 0) return count;
  }
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

ShotThreadPool::ShotThreadPool(int threads) : owner_(getpid()) {
  threads_.reserve(static_cast<size_t>(threads));
  for (int i = 0; i < threads; ++i) {
    try {
      threads_.emplace_back(&ShotThreadPool::ThreadLoop, this);
    } catch (const std::system_error&) {
      break;  // fewer threads; with none, callers run their shots themselves
    }
  }
}

void ShotThreadPool::StopAtExit() {
  PoolRegistry& registry = Registry();
  ShotThreadPool* pool;
  {
    std::lock_guard<std::mutex> lock(registry.creation);
    pool = registry.pool;
  }
  if (pool && pool->owner_ == getpid()) pool->Stop();
}

void ShotThreadPool::Stop() {
  std::vector<std::thread> threads;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stop_) return;
    stop_ = true;
    for (Offered& offered : offered_) {
      if (!offered.withdrawn) offered.work->PoolStopping();
    }
    threads.swap(threads_);
    wake_.notify_all();
  }
  for (std::thread& thread : threads) thread.join();
}

bool ShotThreadPool::Offer(PoolWork& work) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (stop_ || threads_.empty()) return false;
  offered_.push_back(Offered{&work});
  wake_.notify_all();
  return true;
}

void ShotThreadPool::Withdraw(PoolWork& work) {
  std::unique_lock<std::mutex> lock(mutex_);
  const auto found = std::find_if(offered_.begin(), offered_.end(),
                                  [&work](const Offered& offered) { return offered.work == &work; });
  if (found == offered_.end()) return;
  found->withdrawn = true;
  left_.wait(lock, [&found] { return found->inside == 0; });
  offered_.erase(found);
}

int ShotThreadPool::thread_count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<int>(threads_.size());
}

int ShotThreadPool::peak_busy() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return peak_busy_;
}

int ShotThreadPool::busy() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return busy_;
}

ShotThreadPool::Offered* ShotThreadPool::Choose() {
  Offered* chosen = nullptr;
  for (Offered& offered : offered_) {
    if (offered.withdrawn || !offered.work->WantsHelp()) continue;
    if (!chosen || offered.inside < chosen->inside) chosen = &offered;
  }
  return chosen;
}

void ShotThreadPool::ThreadLoop() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    Offered* chosen = nullptr;
    wake_.wait(lock, [&] { return stop_ || (chosen = Choose()) != nullptr; });
    if (stop_) return;
    ++chosen->inside;
    peak_busy_ = std::max(peak_busy_, ++busy_);
    lock.unlock();
    chosen->work->Participate();
    lock.lock();
    --busy_;
    if (--chosen->inside == 0 && chosen->withdrawn) left_.notify_all();
  }
}

}  // namespace taviron
