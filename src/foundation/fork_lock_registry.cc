#include "foundation/fork_lock_registry.h"

#include <atomic>
#include <new>
#include <utility>

#include <pthread.h>

#include "foundation/never_destroyed.h"

namespace taviron {

// The handlers' view of a registration.
struct ForkLockRegistryAccess {
  static ForkLockRegistration*& Previous(ForkLockRegistration& entry) { return entry.previous_; }
  static ForkLockRegistration*& Next(ForkLockRegistration& entry) { return entry.next_; }
  static std::mutex& Mutex(ForkLockRegistration& entry) { return entry.mutex_; }
  static std::condition_variable* WaitsOnIt(ForkLockRegistration& entry) {
    return entry.waits_on_it_;
  }
  static ForkLockRule Rule(const ForkLockRegistration& entry) { return entry.rule_; }
  static ForkLockRank Rank(const ForkLockRegistration& entry) { return entry.rank_; }
  static const std::function<void()>& InChild(const ForkLockRegistration& entry) {
    return entry.in_child_;
  }
};

namespace {

using Access = ForkLockRegistryAccess;

// Every registration, in a list through the registrations themselves.
// Never destroyed: registrations may go away while static destructors run.
struct Registry {
  std::mutex mutex;  // held by the handlers from before the fork to after it
  ForkLockRegistration* first = nullptr;
};

Registry& TheRegistry() {
  static NeverDestroyed<Registry> registry;
  return registry.get();
}

std::atomic<uint64_t> fork_generation{0};

template <typename Visit>
void ForEachRegistration(Visit visit) {
  for (ForkLockRegistration* entry = TheRegistry().first; entry != nullptr;
       entry = Access::Next(*entry)) {
    visit(*entry);
  }
}

bool HeldAcrossFork(const ForkLockRegistration& entry) {
  return Access::Rule(entry) == ForkLockRule::kHeldAcrossFork;
}

void BeforeFork() {
  TheRegistry().mutex.lock();
  for (int rank = 0; rank <= static_cast<int>(ForkLockRank::kLeaf); ++rank) {
    ForEachRegistration([rank](ForkLockRegistration& entry) {
      if (HeldAcrossFork(entry) && static_cast<int>(Access::Rank(entry)) == rank) {
        Access::Mutex(entry).lock();
      }
    });
  }
}

void AfterForkInParent() {
  ForEachRegistration([](ForkLockRegistration& entry) {
    if (HeldAcrossFork(entry)) Access::Mutex(entry).unlock();
  });
  TheRegistry().mutex.unlock();
}

void AfterForkInChild() {
  ForEachRegistration([](ForkLockRegistration& entry) {
    // Neither is destroyed first: destroying either could wait for a thread
    // that the child does not have.
    if (std::condition_variable* waits = Access::WaitsOnIt(entry)) {
      new (waits) std::condition_variable();
    }
    if (!HeldAcrossFork(entry)) new (&Access::Mutex(entry)) std::mutex();
    if (Access::InChild(entry)) Access::InChild(entry)();
    if (HeldAcrossFork(entry)) Access::Mutex(entry).unlock();
  });
  fork_generation.fetch_add(1);
  TheRegistry().mutex.unlock();
}

void InstallForkHandlers() {
  static std::once_flag installed;
  std::call_once(installed,
                 [] { pthread_atfork(&BeforeFork, &AfterForkInParent, &AfterForkInChild); });
}

// Installed when the code is loaded, by the loading thread: handlers that a
// thread installs while another thread forks are run by neither the fork's
// prepare step nor its child step.
const bool handlers_installed_at_load = (InstallForkHandlers(), true);

}  // namespace

ForkLockRegistration::ForkLockRegistration(std::mutex& mutex,
                                           std::condition_variable* waits_on_it,
                                           ForkLockRule rule, ForkLockRank rank,
                                           std::function<void()> in_child)
    : mutex_(mutex), waits_on_it_(waits_on_it), rule_(rule), rank_(rank),
      in_child_(std::move(in_child)) {
  InstallForkHandlers();
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> lock(registry.mutex);
  next_ = registry.first;
  if (next_ != nullptr) next_->previous_ = this;
  registry.first = this;
}

ForkLockRegistration::~ForkLockRegistration() {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> lock(registry.mutex);
  if (previous_ != nullptr) {
    previous_->next_ = next_;
  } else {
    registry.first = next_;
  }
  if (next_ != nullptr) next_->previous_ = previous_;
}

uint64_t ForkGeneration() { return fork_generation.load(); }

}  // namespace taviron
