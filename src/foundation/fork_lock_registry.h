#ifndef TAVIRON_FOUNDATION_FORK_LOCK_REGISTRY_H
#define TAVIRON_FOUNDATION_FORK_LOCK_REGISTRY_H

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace taviron {

// A process that forks while other threads run hands its child a copy of
// memory in which those threads may be in the middle of anything, and no
// threads but the one that called fork. A mutex held by another thread
// stays locked for ever in the child; a condition variable that another
// thread waits on keeps a waiter that never wakes, and signalling it may
// wait for that waiter for ever.
//
// The mutexes that a child may need are registered here, with the
// condition variable that waits on each. The process's fork handlers then
// take them before the fork and give them back after it in both
// processes, and make the condition variables new in the child.

// How a child receives a registered mutex.
enum class ForkLockRule {
  // Locked before the fork and unlocked after it: no thread is inside it
  // when the process is copied, so what it guards is whole in the child.
  // For a mutex held only briefly, never while its holder waits for
  // another thread (the fork waits for its holder to let it go).
  kHeldAcrossFork,
  // Made new in the child, not waited for: for a mutex that a thread may
  // hold while it waits for another (a join). What it guards may be in the
  // middle of a change in the child.
  kRenewedInChild,
};

// The order in which the handlers take the mutexes held across a fork: the
// order in which the code nests them (a backend's own mutex, then its queue
// mutex, then a job's mutex; a result's mutex and the last rank are taken
// alone).
enum class ForkLockRank { kBackend = 0, kQueue = 1, kJob = 2, kResult = 3, kLeaf = 4 };

// Registers a mutex, for the lifetime of this object, with the process's
// fork handlers (installed when the code loads). Declare it after
// the mutex and condition variable it names, so that it goes first.
// `in_child`, when given, runs in the child while the handlers still hold
// the mutex (kHeldAcrossFork) or after it was made new: it may change what
// the mutex guards, and must neither lock nor register anything.
class ForkLockRegistration {
 public:
  ForkLockRegistration(std::mutex& mutex, std::condition_variable* waits_on_it,
                       ForkLockRule rule, ForkLockRank rank = ForkLockRank::kLeaf,
                       std::function<void()> in_child = {});
  ~ForkLockRegistration();
  ForkLockRegistration(const ForkLockRegistration&) = delete;
  ForkLockRegistration& operator=(const ForkLockRegistration&) = delete;

 private:
  friend struct ForkLockRegistryAccess;
  std::mutex& mutex_;
  std::condition_variable* const waits_on_it_;
  const ForkLockRule rule_;
  const ForkLockRank rank_;
  const std::function<void()> in_child_;
  ForkLockRegistration* previous_ = nullptr;
  ForkLockRegistration* next_ = nullptr;
};

// The number of forks between the process that loaded this code and the
// calling process: 0 there, one more in each child. An object that owns a
// thread records it when it starts the thread, and knows from a different
// value that the thread exists only in an ancestor process.
uint64_t ForkGeneration();

}  // namespace taviron

#endif
