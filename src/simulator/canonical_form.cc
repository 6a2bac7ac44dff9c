#include "simulator/canonical_form.h"

#include <algorithm>

namespace taviron {

CanonicalForm::CanonicalForm(int64_t site_count) { Reset(site_count); }

void CanonicalForm::Reset(int64_t site_count) {
  site_count_ = site_count;
  left_frontier_ = site_count;
  right_frontier_ = -1;
  broken_.assign(static_cast<size_t>(site_count), 0);
}

void CanonicalForm::Collapse(int64_t site) {
  broken_[static_cast<size_t>(site)] = kLeftBroken | kRightBroken;
  left_frontier_ = std::min(left_frontier_, site);
  right_frontier_ = std::max(right_frontier_, site);
}

void CanonicalForm::RepairLeft(bool passed_on) {
  const int64_t site = left_frontier_;
  broken_[static_cast<size_t>(site)] &= static_cast<uint8_t>(~kLeftBroken);
  if (passed_on) {
    broken_[static_cast<size_t>(site + 1)] |= kLeftBroken;
    left_frontier_ = site + 1;
  } else {
    left_frontier_ = NextLeftBroken(site + 1);
  }
}

void CanonicalForm::RepairRight(bool passed_on) {
  const int64_t site = right_frontier_;
  broken_[static_cast<size_t>(site)] &= static_cast<uint8_t>(~kRightBroken);
  if (passed_on) {
    broken_[static_cast<size_t>(site - 1)] |= kRightBroken;
    right_frontier_ = site - 1;
  } else {
    right_frontier_ = PreviousRightBroken(site - 1);
  }
}

void CanonicalForm::SplitPair(int64_t a) {
  uint8_t& left = broken_[static_cast<size_t>(a)];
  uint8_t& right = broken_[static_cast<size_t>(a + 1)];
  const uint8_t left_broken = (left | right) & kLeftBroken;
  const uint8_t right_broken = (left | right) & kRightBroken;
  left = right_broken;
  right = left_broken;
  if (left_broken) left_frontier_ = a + 1;
  if (right_broken) right_frontier_ = a;
}

int64_t CanonicalForm::NextLeftBroken(int64_t from) const {
  for (int64_t k = from; k < site_count_; ++k) {
    if (broken_[static_cast<size_t>(k)] & kLeftBroken) return k;
  }
  return site_count_;
}

int64_t CanonicalForm::PreviousRightBroken(int64_t from) const {
  for (int64_t k = from; k >= 0; --k) {
    if (broken_[static_cast<size_t>(k)] & kRightBroken) return k;
  }
  return -1;
}

}  // namespace taviron
