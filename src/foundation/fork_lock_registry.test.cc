// Registered mutexes and condition variables in a forked child: free,
// whole, and without the waiters of threads that only the parent has.
#include "foundation/fork_lock_registry.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/testing/forked_child.h"

namespace taviron {

namespace {

using std::chrono::milliseconds;

// A thread that takes `mutex` and holds it until told to let it go.
class Holder {
 public:
  explicit Holder(std::mutex& mutex)
      : thread_([this, &mutex] {
          std::lock_guard<std::mutex> lock(mutex);
          holding_ = true;
          while (!let_go_) std::this_thread::sleep_for(milliseconds(1));
        }) {
    while (!holding_) std::this_thread::sleep_for(milliseconds(1));
  }
  ~Holder() {
    let_go_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> holding_{false};
  std::atomic<bool> let_go_{false};
  std::thread thread_;
};

TEST(ForkLockRegistryTest, AMutexHeldAcrossForkIsFreeAndWholeInTheChild) {
  std::mutex mutex;
  std::vector<int> guarded;
  ForkLockRegistration registration(mutex, nullptr, ForkLockRule::kHeldAcrossFork);
  std::atomic<bool> inside{false};
  std::thread writer([&] {
    std::lock_guard<std::mutex> lock(mutex);
    inside = true;
    guarded.push_back(1);
    std::this_thread::sleep_for(milliseconds(50));  // the fork comes meanwhile, and waits
    guarded.push_back(2);
  });
  while (!inside) std::this_thread::sleep_for(milliseconds(1));
  const int status = ExitStatusOfForkedChild([&] {
    std::lock_guard<std::mutex> lock(mutex);
    return guarded.size() == 2 ? 0 : 1;
  });
  writer.join();
  EXPECT_EQ(status, 0);
}

TEST(ForkLockRegistryTest, AMutexRenewedInChildIsFreeThereWhileTheParentHoldsIt) {
  std::mutex mutex;
  ForkLockRegistration registration(mutex, nullptr, ForkLockRule::kRenewedInChild);
  Holder holder(mutex);  // holds it across the fork, which does not wait
  const int status = ExitStatusOfForkedChild([&] {
    std::lock_guard<std::mutex> lock(mutex);
    return 0;
  });
  EXPECT_EQ(status, 0);
}

TEST(ForkLockRegistryTest, AConditionVariableLosesTheParentsWaitersInTheChild) {
  std::mutex mutex;
  std::condition_variable changed;
  bool done = false;
  ForkLockRegistration registration(mutex, &changed, ForkLockRule::kHeldAcrossFork,
                                    ForkLockRank::kJob);
  std::atomic<bool> waiting{false};
  std::thread waiter([&] {
    std::unique_lock<std::mutex> lock(mutex);
    waiting = true;
    changed.wait(lock, [&] { return done; });
  });
  while (!waiting) std::this_thread::sleep_for(milliseconds(1));
  std::this_thread::sleep_for(milliseconds(20));  // asleep inside the wait
  const int status = ExitStatusOfForkedChild([&] {
    {
      std::lock_guard<std::mutex> lock(mutex);
      done = true;
    }
    changed.notify_all();
    // A wait of the child's own, and the wake-up that ends it: with the
    // parent's waiter still counted, that wake-up waits for it for ever.
    bool again = false;
    std::thread child_waiter([&] {
      std::unique_lock<std::mutex> lock(mutex);
      changed.wait(lock, [&] { return again; });
    });
    std::this_thread::sleep_for(milliseconds(20));
    {
      std::lock_guard<std::mutex> lock(mutex);
      again = true;
    }
    changed.notify_all();
    child_waiter.join();
    return 0;
  });
  EXPECT_EQ(status, 0);
  {
    std::lock_guard<std::mutex> lock(mutex);
    done = true;
  }
  changed.notify_all();
  waiter.join();
}

TEST(ForkLockRegistryTest, TheChildRunsItsStepAndCountsOneMoreFork) {
  std::mutex mutex;
  int resets = 0;
  ForkLockRegistration registration(mutex, nullptr, ForkLockRule::kHeldAcrossFork,
                                    ForkLockRank::kLeaf, [&resets] { ++resets; });
  const uint64_t generation = ForkGeneration();
  const int status = ExitStatusOfForkedChild([&] {
    const bool nested_ok = ExitStatusOfForkedChild([&] {
                             return ForkGeneration() == generation + 2 && resets == 2 ? 0 : 1;
                           }) == 0;
    return nested_ok && ForkGeneration() == generation + 1 && resets == 1 ? 0 : 1;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ForkGeneration(), generation);
  EXPECT_EQ(resets, 0);
}

}  // namespace

}  // namespace taviron
