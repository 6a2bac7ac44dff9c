#include "simulator/shot_thread_pool.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "simulator/testing/process_threads.h"

namespace taviron {

namespace {

constexpr std::chrono::seconds kWaitLimit{60};

// What the threads inside every work of one test have in common: how many
// are inside now, the most at one time, and a latch that holds each thread
// inside until `target` threads are in at once (or the limit passes).
struct Crowd {
  std::mutex mutex;
  std::condition_variable changed;
  int target = 0;
  int inside = 0;
  int peak = 0;
  bool released = false;
  int most_threads = 0;  // threads of the process, seen from inside

  void Enter() {
    std::unique_lock<std::mutex> lock(mutex);
    peak = std::max(peak, ++inside);
    most_threads = std::max(most_threads, ThreadCount());
    if (inside >= target) released = true;
    changed.notify_all();
    changed.wait_for(lock, kWaitLimit, [this] { return released; });
    --inside;
  }
};

// Work that wants `joins` threads, one after another or at once.
class CrowdWork : public PoolWork {
 public:
  CrowdWork(Crowd& crowd, int joins) : crowd_(crowd), left_(joins) {}
  bool WantsHelp() const override { return left_.load() > 0; }
  void Participate() noexcept override {
    if (left_.fetch_sub(1) <= 0) return;
    crowd_.Enter();
    done_.fetch_add(1);
  }
  void PoolStopping() noexcept override {}
  int done() const { return done_.load(); }

 private:
  Crowd& crowd_;
  std::atomic<int> left_;
  std::atomic<int> done_{0};
};

TEST(ShotThreadPoolTest, HasAThreadPerProcessorThisProcessMayUse) {
  cpu_set_t set;
  CPU_ZERO(&set);
  ASSERT_EQ(sched_getaffinity(0, sizeof(set), &set), 0);
  EXPECT_EQ(ShotThreadPool::ProcessorLimit(), CPU_COUNT(&set));
  EXPECT_EQ(ShotThreadPool::Instance().thread_count(), ShotThreadPool::ProcessorLimit());
  EXPECT_EQ(&ShotThreadPool::Instance(), &ShotThreadPool::Instance());
}

// Callers on several threads offer work at once, together wanting far more
// threads than the pool has: every pool thread is inside work at one time,
// never more, and no thread is made beyond the pool's and the callers'.
TEST(ShotThreadPoolTest, WorkOfManyCallersKeepsEveryThreadBusyWithoutMore) {
  ShotThreadPool& pool = ShotThreadPool::Instance();
  const int threads = pool.thread_count();
  const int callers = 3;
  const int before = ThreadCount();
  Crowd crowd;
  crowd.target = threads;
  std::vector<std::unique_ptr<CrowdWork>> works;
  for (int i = 0; i < callers; ++i) works.push_back(std::make_unique<CrowdWork>(crowd, 2 * threads));
  std::vector<std::thread> offering;
  for (int i = 0; i < callers; ++i) {
    offering.emplace_back([&pool, &works, i] {
      ASSERT_TRUE(pool.Offer(*works[static_cast<size_t>(i)]));
      while (works[static_cast<size_t>(i)]->WantsHelp()) std::this_thread::yield();
      pool.Withdraw(*works[static_cast<size_t>(i)]);
    });
  }
  for (std::thread& t : offering) t.join();
  EXPECT_EQ(crowd.peak, threads);
  EXPECT_LE(pool.peak_busy(), threads);
  EXPECT_LE(crowd.most_threads, before + callers);
  for (const auto& work : works) EXPECT_EQ(work->done(), 2 * threads);
  EXPECT_EQ(pool.busy(), 0);
}

// A child made by fork has none of its parent's threads: it starts a pool of
// its own, which runs its work.
TEST(ShotThreadPoolTest, AForkedChildStartsAPoolOfItsOwn) {
  ShotThreadPool& parent = ShotThreadPool::Instance();
  // Every parent thread has started and gone back to waiting before the
  // fork: a thread still starting may hold a lock of the allocator, which
  // the sanitizers' allocators do not take across fork as the C library's
  // does, and the child would wait for it for ever.
  {
    Crowd crowd;
    crowd.target = parent.thread_count();
    CrowdWork work(crowd, parent.thread_count());
    if (parent.Offer(work)) {
      while (work.WantsHelp()) std::this_thread::yield();
      parent.Withdraw(work);
    }
    while (parent.busy() > 0) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    alarm(30);  // a hang ends the child by a signal
    ShotThreadPool& own = ShotThreadPool::Instance();
    Crowd crowd;
    crowd.target = own.thread_count();
    CrowdWork work(crowd, own.thread_count());
    bool ran = &own != &parent && own.Offer(work);
    while (ran && work.WantsHelp()) std::this_thread::yield();
    if (ran) own.Withdraw(work);
    _exit(ran && work.done() == own.thread_count() && crowd.peak == own.thread_count() ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace

}  // namespace taviron
