#include "simulator/shot_loop.h"

#include <algorithm>
#include <random>
#include <utility>

namespace taviron {

namespace {

// Shots per chunk: enough that seeding a generator per chunk costs little,
// few enough that the threads finish close together.
int32_t ChunkSize(int32_t shots) { return std::clamp(shots / 128, 1, 8); }

int32_t ChunkCount(int32_t shots) {
  const int64_t size = ChunkSize(shots);
  return static_cast<int32_t>((std::max<int64_t>(shots, 0) + size - 1) / size);
}

void SeedChunk(std::mt19937& generator, uint64_t seed, int32_t chunk) {
  std::seed_seq sequence{static_cast<uint32_t>(seed), static_cast<uint32_t>(seed >> 32),
                         static_cast<uint32_t>(chunk)};
  generator.seed(sequence);
}

UniformDrawSource DrawFrom(std::shared_ptr<std::mt19937> generator) {
  return [generator = std::move(generator)] {
    return std::uniform_real_distribution<double>(0.0, 1.0)(*generator);
  };
}

// A copy of every record, composite bodies included; a condition's register
// is shared, since the engine only reads it.
GateRecordList CopyRecords(const GateRecordList& records) {
  GateRecordList copies;
  copies.reserve(records.size());
  for (const GateRecordPtr& record : records) {
    GateRecordPtr copy = record->Clone();
    if (!record->body.empty()) copy->body = CopyRecords(record->body);
    copies.push_back(std::move(copy));
  }
  return copies;
}

// Gives each record the times of its copy.
void CopyTimes(const GateRecordList& from, const GateRecordList& to) {
  for (size_t i = 0; i < from.size() && i < to.size(); ++i) {
    to[i]->start_time = from[i]->start_time;
    to[i]->end_time = from[i]->end_time;
    CopyTimes(from[i]->body, to[i]->body);
  }
}

}  // namespace

ShotLoop::ShotLoop(const MpsState& start, const GateRecordList& records, int32_t shots,
                   uint64_t seed)
    : start_(start),
      records_(records),
      shots_(std::max(shots, 0)),
      chunk_size_(ChunkSize(shots)),
      chunk_count_(ChunkCount(shots)),
      seed_(seed) {}

std::unique_ptr<MpsState> ShotLoop::Run(const ShotSink& append) {
  ShotThreadPool* pool = nullptr;
  if (chunk_count_ > 1 && ShotThreadPool::ProcessorLimit() > 1 &&
      ShotThreadPool::Instance().thread_count() > 1) {
    pool = &ShotThreadPool::Instance();
    if (!pool->Offer(*this)) pool = nullptr;
  }
  if (pool) {
    // Taken off offer however HandOn ends: the threads inside use this loop.
    struct Withdrawal {
      ShotThreadPool& pool;
      ShotLoop& loop;
      ~Withdrawal() { pool.Withdraw(loop); }
    } withdrawal{*pool, *this};
    try {
      HandOn(append);
    } catch (...) {
      Fail(std::current_exception());
      throw;
    }
  }
  // Every chunk claimed so far is done: hand those shots on, then run the
  // chunks that no thread claimed (all of them without the pool; the rest
  // when the pool stopped) here.
  while (HandOnReady(append)) {
  }
  RethrowFailure();
  RunChunks(false, &append);
  RethrowFailure();
  if (!kept_records_.empty()) CopyTimes(kept_records_, records_);
  return std::move(kept_);
}

bool ShotLoop::WantsHelp() const {
  return !failed_ && !stopping_ && next_chunk_.load() < chunk_count_;
}

void ShotLoop::Participate() noexcept { RunChunks(true, nullptr); }

void ShotLoop::PoolStopping() noexcept {
  stopping_ = true;
  std::lock_guard<std::mutex> lock(mutex_);
  ready_.notify_all();
}

void ShotLoop::RunChunks(bool pool_thread, const ShotSink* direct) noexcept {
  try {
    std::unique_ptr<MpsState> work;
    std::shared_ptr<std::mt19937> generator;
    GateRecordList own_records;
    bool pristine = false;  // work is a copy of start_ that no shot has run on
    for (;;) {
      if (failed_ || (pool_thread && stopping_)) return;
      const int32_t chunk = next_chunk_.fetch_add(1);
      if (chunk >= chunk_count_) return;
      if (!work) {
        work = std::make_unique<MpsState>(start_);
        generator = std::make_shared<std::mt19937>();
        work->SetUniformDraw(DrawFrom(generator));
        if (pool_thread) own_records = CopyRecords(records_);
        pristine = true;
      }
      SeedChunk(*generator, seed_, chunk);
      const int64_t first = int64_t{chunk} * chunk_size_;
      const int64_t end = std::min<int64_t>(shots_, first + chunk_size_);
      for (int64_t shot = first; shot < end; ++shot) {
        if (failed_) return;
        if (!pristine) {
          UniformDrawSource draw = work->TakeUniformDraw();
          *work = start_;
          work->SetUniformDraw(std::move(draw));
        }
        pristine = false;
        work->ExecuteInstructions(true, pool_thread ? own_records : records_);
        Deliver(static_cast<int32_t>(shot), work->GetShotBits(), direct);
        if (shot + 1 == shots_) {
          std::lock_guard<std::mutex> lock(mutex_);
          kept_ = std::move(work);
          kept_records_ = std::move(own_records);
          return;
        }
      }
    }
  } catch (...) {
    Fail(std::current_exception());
  }
}

void ShotLoop::HandOn(const ShotSink& append) {
  std::vector<std::string> batch;
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    ready_.wait(lock, [this] { return handed_ == shots_ || NextIsDone() || failed_ || stopping_; });
    TakeDone(batch);
    if (batch.empty()) return;
    lock.unlock();
    for (std::string& bits : batch) append(std::move(bits));
    batch.clear();
    lock.lock();
  }
}

bool ShotLoop::HandOnReady(const ShotSink& append) {
  std::vector<std::string> batch;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    TakeDone(batch);
  }
  for (std::string& bits : batch) append(std::move(bits));
  return !batch.empty();
}

void ShotLoop::Deliver(int32_t shot, std::string bits, const ShotSink* direct) {
  if (direct) {
    (*direct)(std::move(bits));
    return;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  done_.emplace(shot, std::move(bits));
  if (shot == handed_) ready_.notify_one();
}

bool ShotLoop::NextIsDone() const { return !done_.empty() && done_.begin()->first == handed_; }

void ShotLoop::TakeDone(std::vector<std::string>& batch) {
  while (NextIsDone()) {
    batch.push_back(std::move(done_.begin()->second));
    done_.erase(done_.begin());
    ++handed_;
  }
}

void ShotLoop::Fail(std::exception_ptr error) noexcept {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!failure_) failure_ = std::move(error);
  failed_ = true;
  ready_.notify_all();
}

void ShotLoop::RethrowFailure() {
  std::exception_ptr failure;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    failure = failure_;
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace taviron
