#ifndef TAVIRON_SIMULATOR_CANONICAL_FORM_H
#define TAVIRON_SIMULATOR_CANONICAL_FORM_H

#include <cstdint>
#include <vector>

namespace taviron {

// Which sites of a chain in Vidal form (site tensors G_k, bond values L_k)
// still have the two orthonormality properties of the canonical form:
//   left:  L_{k-1} G_k, summed over the site's value, is an isometry
//          from the right bond (sum of A^H A is the identity);
//   right: G_k L_k likewise towards the left bond (sum of B B^H is the
//          identity).
// Both are properties of a site's tensor and its two bond vectors only. A
// state whose every site has both is canonical: each bond vector holds the
// Schmidt values of its bond. A measurement projects one site and breaks
// both properties there (and only there); moving the orthogonality centre
// repairs one site at a time and hands the break on to its neighbour.
//
// The sites left of left_frontier() are all left-orthonormal and those
// right of right_frontier() all right-orthonormal, and right_frontier() <=
// left_frontier(): any site between the two, both included, can serve as
// the orthogonality centre, where a site's probabilities are read from its
// own tensor and bond vectors, and any bond next to one of them can be
// split with the true Schmidt values.
class CanonicalForm {
 public:
  explicit CanonicalForm(int64_t site_count = 1);

  // Every site orthonormal both ways.
  void Reset(int64_t site_count);

  // The first site that is not left-orthonormal (the site count when every
  // site is) and the last site that is not right-orthonormal (-1 when every
  // site is).
  int64_t left_frontier() const { return left_frontier_; }
  int64_t right_frontier() const { return right_frontier_; }
  bool IsCanonical() const { return left_frontier_ == site_count_ && right_frontier_ == -1; }
  // Whether sites lo..hi together hold the orthogonality centre: every site
  // left of lo left-orthonormal, every site right of hi right-orthonormal.
  bool CentreWithin(int64_t lo, int64_t hi) const {
    return left_frontier_ >= lo && right_frontier_ <= hi;
  }

  // A site (between the frontiers) was projected onto a measurement
  // outcome: it is orthonormal neither way.
  void Collapse(int64_t site);
  // The left frontier site was made left-orthonormal; `passed_on` says that
  // the next site took the break over (the bond between them was
  // re-split), otherwise the break ended there (at a bond of dimension 1).
  void RepairLeft(bool passed_on);
  // The right frontier site was made right-orthonormal; `passed_on` says
  // that the site before took the break over.
  void RepairRight(bool passed_on);
  // Sites a and a + 1 (holding the centre between them) were contracted and
  // split again: the left one is left-orthonormal and the right one
  // right-orthonormal; the right one is left-orthonormal only when both
  // were before, the left one right-orthonormal only when both were.
  void SplitPair(int64_t a);

 private:
  static constexpr uint8_t kLeftBroken = 1;
  static constexpr uint8_t kRightBroken = 2;

  int64_t NextLeftBroken(int64_t from) const;
  int64_t PreviousRightBroken(int64_t from) const;

  int64_t site_count_ = 0;
  int64_t left_frontier_ = 0;
  int64_t right_frontier_ = -1;
  std::vector<uint8_t> broken_;  // per site: kLeftBroken | kRightBroken
};

}  // namespace taviron

#endif
