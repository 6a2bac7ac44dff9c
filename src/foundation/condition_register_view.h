#ifndef TAVIRON_FOUNDATION_CONDITION_REGISTER_VIEW_H
#define TAVIRON_FOUNDATION_CONDITION_REGISTER_VIEW_H

#include <cstdint>
#include <string>

namespace taviron {

// The classical register that a record's condition names, as the records,
// the engine and the writers see it: its name and the classical bits it
// spans, [FirstBitIndex(), FirstBitIndex() + BitCount()). A condition keeps
// the register object itself, so every read answers what the register is
// now. The circuit's classical register is one; a queued run reads
// ConditionRegisterSnapshot copies instead.
class ConditionRegisterView {
 public:
  virtual ~ConditionRegisterView() = default;

  virtual const std::string& RegisterName() const = 0;
  virtual int64_t FirstBitIndex() const = 0;
  virtual int64_t BitCount() const = 0;

 protected:
  ConditionRegisterView() = default;
  ConditionRegisterView(const ConditionRegisterView&) = default;
  ConditionRegisterView& operator=(const ConditionRegisterView&) = default;
};

// A register as it was when the snapshot was taken; later changes to the
// register never reach it.
class ConditionRegisterSnapshot final : public ConditionRegisterView {
 public:
  explicit ConditionRegisterSnapshot(const ConditionRegisterView& current)
      : name_(current.RegisterName()),
        first_bit_index_(current.FirstBitIndex()),
        bit_count_(current.BitCount()) {}

  const std::string& RegisterName() const override { return name_; }
  int64_t FirstBitIndex() const override { return first_bit_index_; }
  int64_t BitCount() const override { return bit_count_; }

 private:
  std::string name_;
  int64_t first_bit_index_;
  int64_t bit_count_;
};

}  // namespace taviron

#endif
