#include "simulator/small_svd.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <numeric>

#include "simulator/hot_kernel.h"

namespace taviron {

namespace {

using Complex = std::complex<double>;

// Rows of R whose trailing block is below this, relative to the Frobenius
// norm of the matrix, are left out: the values they could add are far
// below the split's cut, and leaving them out changes the matrix by less.
constexpr double kRankTolerance = 1e-14;
// A pair of columns counts as orthogonal when |x_p^H x_q| is at most this
// times sqrt(column length) times |x_p| |x_q|.
constexpr double kOrthogonalityTolerance = std::numeric_limits<double>::epsilon();
constexpr int kMaxSweeps = 60;
// A column norm that the pivoted QR lowers row by row is computed anew once
// it has fallen to this fraction of its last computed value, before the
// cancellation costs it more than half of its digits.
constexpr double kNormRecomputation = 1e-8;

// The kernels below work on complex vectors two numbers at a time, as
// vectors of four doubles (real and imaginary parts in turn) that the
// compiler maps onto the processor's vector registers; the library's
// complex product would guard every multiplication against infinities,
// which costs more than the product itself here.
typedef double Quad __attribute__((vector_size(32)));
// Read and written in place of std::complex<double> pairs: alignment of
// one double, and allowed to alias them.
typedef double UnalignedQuad __attribute__((vector_size(32), aligned(8), may_alias));
typedef long long QuadIndex __attribute__((vector_size(32)));

// The two numbers of a Quad at p; (re, im) -> (im, re) in both halves. Written
// as macros, not functions: a function that passes a Quad by value would
// take another calling convention with and without the wide registers.
#define TAVIRON_QUAD_AT(p) (*reinterpret_cast<UnalignedQuad*>(p))
#define TAVIRON_CONST_QUAD_AT(p) (*reinterpret_cast<const UnalignedQuad*>(p))
#if defined(__clang__)
#define TAVIRON_SWAP_PARTS(v) __builtin_shufflevector(v, v, 1, 0, 3, 2)
#else
#define TAVIRON_SWAP_PARTS(v) __builtin_shuffle(v, QuadIndex{1, 0, 3, 2})
#endif

// The kernels are inlined into their callers, which are compiled for both
// instruction sets (TAVIRON_HOT_KERNEL): a call per column pair would cost
// as much as the work on columns this short.
#define TAVIRON_INLINE_KERNEL inline __attribute__((always_inline))

// x^H y.
TAVIRON_INLINE_KERNEL Complex Dot(const Complex* x, const Complex* y, Eigen::Index n) {
  Quad same = {0.0, 0.0, 0.0, 0.0};   // xr yr, xi yi, ...
  Quad cross = {0.0, 0.0, 0.0, 0.0};  // xr yi, xi yr, ...
  Eigen::Index i = 0;
  for (; i + 2 <= n; i += 2) {
    const Quad a = TAVIRON_CONST_QUAD_AT(x + i);
    const Quad b = TAVIRON_CONST_QUAD_AT(y + i);
    same += a * b;
    cross += a * TAVIRON_SWAP_PARTS(b);
  }
  double re = (same[0] + same[2]) + (same[1] + same[3]);
  double im = (cross[0] + cross[2]) - (cross[1] + cross[3]);
  if (i < n) {
    re += x[i].real() * y[i].real() + x[i].imag() * y[i].imag();
    im += x[i].real() * y[i].imag() - x[i].imag() * y[i].real();
  }
  return {re, im};
}

TAVIRON_INLINE_KERNEL double SquaredNorm(const Complex* x, Eigen::Index n) {
  Quad sum = {0.0, 0.0, 0.0, 0.0};
  Eigen::Index i = 0;
  for (; i + 2 <= n; i += 2) {
    const Quad a = TAVIRON_CONST_QUAD_AT(x + i);
    sum += a * a;
  }
  double total = (sum[0] + sum[2]) + (sum[1] + sum[3]);
  if (i < n) total += x[i].real() * x[i].real() + x[i].imag() * x[i].imag();
  return total;
}

// y := y + f w.
TAVIRON_INLINE_KERNEL void AddScaled(Complex* y, const Complex* w, Complex f, Eigen::Index n) {
  const Quad re = {f.real(), f.real(), f.real(), f.real()};
  const Quad signed_im = {-f.imag(), f.imag(), -f.imag(), f.imag()};
  Eigen::Index i = 0;
  for (; i + 2 <= n; i += 2) {
    const Quad b = TAVIRON_CONST_QUAD_AT(w + i);
    TAVIRON_QUAD_AT(y + i) += re * b + signed_im * TAVIRON_SWAP_PARTS(b);
  }
  if (i < n) {
    y[i] = Complex(y[i].real() + f.real() * w[i].real() - f.imag() * w[i].imag(),
                   y[i].imag() + f.real() * w[i].imag() + f.imag() * w[i].real());
  }
}

// [x, y] := [x, y] [[c, s], [-s e, c e]] (e of modulus 1): a unitary
// combination of two columns.
TAVIRON_INLINE_KERNEL void Rotate(Complex* x, Complex* y, Eigen::Index n, double c, double s, Complex e) {
  const Quad re = {e.real(), e.real(), e.real(), e.real()};
  const Quad signed_im = {-e.imag(), e.imag(), -e.imag(), e.imag()};
  const Quad cq = {c, c, c, c};
  const Quad sq = {s, s, s, s};
  Eigen::Index i = 0;
  for (; i + 2 <= n; i += 2) {
    const Quad a = TAVIRON_CONST_QUAD_AT(x + i);
    const Quad y_in = TAVIRON_CONST_QUAD_AT(y + i);
    const Quad b = re * y_in + signed_im * TAVIRON_SWAP_PARTS(y_in);  // e y
    TAVIRON_QUAD_AT(x + i) = cq * a - sq * b;
    TAVIRON_QUAD_AT(y + i) = sq * a + cq * b;
  }
  if (i < n) {
    const double xr = x[i].real(), xi = x[i].imag();
    const double yr = e.real() * y[i].real() - e.imag() * y[i].imag();
    const double yi = e.real() * y[i].imag() + e.imag() * y[i].real();
    x[i] = Complex(c * xr - s * yr, c * xi - s * yi);
    y[i] = Complex(s * xr + c * yr, s * xi + c * yi);
  }
}

#undef TAVIRON_QUAD_AT
#undef TAVIRON_CONST_QUAD_AT
#undef TAVIRON_SWAP_PARTS

using MatrixMap = Eigen::Map<MatrixXcd>;

// Storage of one thread, grown as needed and never shrunk, so that
// decompositions of changing shapes allocate nothing once the largest has
// been met.
struct Workspace {
  std::vector<Complex> a;     // the tall matrix; R on and above the diagonal as it is reduced
  std::vector<Complex> w;     // the unit Householder vectors, column j on rows j..
  std::vector<Complex> x;     // the adjoint of the kept rows of R, orthogonalised
  std::vector<Complex> j;     // the accumulated rotations
  std::vector<Complex> left;  // the thin left factor of the tall matrix
  std::vector<double> norms;
  std::vector<double> exact;
  std::vector<double> values;
  std::vector<Eigen::Index> perm;
  std::vector<Eigen::Index> order;

  static MatrixMap View(std::vector<Complex>& storage, Eigen::Index rows, Eigen::Index cols) {
    const size_t size = static_cast<size_t>(rows * cols);
    if (storage.size() < size) storage.resize(size);
    return MatrixMap(storage.data(), rows, cols);
  }
};

Workspace& ThreadWorkspace() {
  thread_local Workspace workspace;
  return workspace;
}

// Householder QR with column pivoting of a (rows >= cols), in place: a
// holds R, w the reflectors H_j = I - 2 w_j w_j^H, ws.perm the columns'
// original places. Stops once the columns left have a squared norm of at
// most `negligible`; returns the number of reflectors (the rank).
TAVIRON_HOT_KERNEL Eigen::Index PivotedQr(MatrixMap& a, MatrixMap& w, Workspace& ws, double negligible) {
  const Eigen::Index rows = a.rows();
  const Eigen::Index cols = a.cols();
  // The squared norm of each column below the rows done, lowered by the
  // square of each row as it is done, and computed anew (and kept in
  // `exact`) when that has cancelled most of it.
  ws.norms.resize(static_cast<size_t>(cols));
  ws.exact.resize(static_cast<size_t>(cols));
  for (Eigen::Index c = 0; c < cols; ++c) {
    ws.norms[static_cast<size_t>(c)] = ws.exact[static_cast<size_t>(c)] = SquaredNorm(&a(0, c), rows);
  }
  ws.perm.resize(static_cast<size_t>(cols));
  std::iota(ws.perm.begin(), ws.perm.end(), 0);
  Eigen::Index rank = 0;
  for (Eigen::Index j = 0; j < cols; ++j) {
    const Eigen::Index len = rows - j;
    double rest = 0.0;
    Eigen::Index best = j;
    for (Eigen::Index c = j; c < cols; ++c) {
      double& n2 = ws.norms[static_cast<size_t>(c)];
      double& exact = ws.exact[static_cast<size_t>(c)];
      if (j > 0) n2 -= std::norm(a(j - 1, c));
      if (n2 <= kNormRecomputation * exact) n2 = exact = SquaredNorm(&a(j, c), len);
      rest += n2;
      if (n2 > ws.norms[static_cast<size_t>(best)]) best = c;
    }
    if (rest <= negligible) break;
    if (best != j) {
      a.col(j).swap(a.col(best));
      std::swap(ws.perm[static_cast<size_t>(j)], ws.perm[static_cast<size_t>(best)]);
      std::swap(ws.norms[static_cast<size_t>(j)], ws.norms[static_cast<size_t>(best)]);
      std::swap(ws.exact[static_cast<size_t>(j)], ws.exact[static_cast<size_t>(best)]);
      best = j;
    }
    // v = x + phase |x| e_1, so that H x = -phase |x| e_1.
    Complex* x = &a(j, j);
    Complex* v = &w(j, j);
    const double x_norm = std::sqrt(SquaredNorm(x, len));
    const double alpha_abs = std::sqrt(x[0].real() * x[0].real() + x[0].imag() * x[0].imag());
    const Complex phase = alpha_abs > 0.0 ? x[0] / alpha_abs : Complex(1.0);
    std::copy(x, x + len, v);
    v[0] += phase * x_norm;
    const double v_scale = 1.0 / std::sqrt(2.0 * x_norm * (x_norm + alpha_abs));
    for (Eigen::Index i = 0; i < len; ++i) v[i] *= v_scale;
    x[0] = -phase * x_norm;
    for (Eigen::Index c = j + 1; c < cols; ++c) {
      Complex* y = &a(j, c);
      AddScaled(y, v, -2.0 * Dot(v, y, len), len);
    }
    rank = j + 1;
  }
  return rank;
}

// The one-sided Jacobi method on the columns of x, the same rotations
// gathered in j (set to the identity first). False when the columns are
// not orthogonal after the most sweeps allowed.
TAVIRON_HOT_KERNEL bool OrthogonaliseColumns(MatrixMap& x, MatrixMap& j, std::vector<double>& norms) {
  const Eigen::Index length = x.rows();
  const Eigen::Index k = x.cols();
  j.setIdentity();
  norms.resize(static_cast<size_t>(k));
  const double tolerance2 = kOrthogonalityTolerance * kOrthogonalityTolerance * static_cast<double>(length);
  for (int sweep = 0; sweep < kMaxSweeps; ++sweep) {
    for (Eigen::Index i = 0; i < k; ++i) norms[static_cast<size_t>(i)] = SquaredNorm(&x(0, i), length);
    bool rotated = false;
    for (Eigen::Index p = 0; p + 1 < k; ++p) {
      for (Eigen::Index q = p + 1; q < k; ++q) {
        double& np = norms[static_cast<size_t>(p)];
        double& nq = norms[static_cast<size_t>(q)];
        if (np == 0.0 || nq == 0.0) continue;
        const Complex g = Dot(&x(0, p), &x(0, q), length);
        const double g_norm = g.real() * g.real() + g.imag() * g.imag();
        if (g_norm <= tolerance2 * np * nq) continue;
        rotated = true;
        const double g_abs = std::sqrt(g_norm);
        // The rotation that makes the pair orthogonal, by the smaller of
        // the two angles that do: t = tan of that angle, written so that
        // its two roots need not wait for each other.
        const double gap = nq - np;
        const double t = std::copysign(2.0 * g_abs, gap) / (std::abs(gap) + std::sqrt(gap * gap + 4.0 * g_norm));
        const double c = 1.0 / std::sqrt(1.0 + t * t);
        const double s = c * t;
        const Complex e(g.real() / g_abs, -g.imag() / g_abs);
        Rotate(&x(0, p), &x(0, q), length, c, s, e);
        Rotate(&j(0, p), &j(0, q), k, c, s, e);
        np = std::max(0.0, np - t * g_abs);
        nq += t * g_abs;
      }
    }
    if (!rotated) return true;
  }
  return false;
}

// y := H_0 H_1 ... H_{k-1} y for every column y of `left`.
TAVIRON_HOT_KERNEL void ApplyReflectors(const MatrixMap& w, Eigen::Index k, MatrixMap& left) {
  const Eigen::Index rows = left.rows();
  for (Eigen::Index r = k; r-- > 0;) {
    const Complex* v = &w(r, r);
    for (Eigen::Index i = 0; i < left.cols(); ++i) {
      Complex* y = &left(r, i);
      AddScaled(y, v, -2.0 * Dot(v, y, rows - r), rows - r);
    }
  }
}

// The thin SVD of the tall matrix a (rows >= cols), which it overwrites:
// the values in ws.values (descending), the left factor (rows x k) in
// ws.left, and the right factor V (cols x k) handed to `right`(c, i,
// value) element by element. Returns k, or 0 when the Jacobi method does
// not converge.
template <typename Right>
Eigen::Index TallSvd(MatrixMap& a, Workspace& ws, Right&& right) {
  const Eigen::Index rows = a.rows();
  const Eigen::Index cols = a.cols();
  MatrixMap w = Workspace::View(ws.w, rows, cols);
  const double total = a.squaredNorm();
  const Eigen::Index k = PivotedQr(a, w, ws, kRankTolerance * kRankTolerance * total);
  if (k == 0) {
    // Nothing but zeros: one value 0 with any unit vectors.
    ws.values.assign(1, 0.0);
    MatrixMap left = Workspace::View(ws.left, rows, 1);
    left.setZero();
    left(0, 0) = 1.0;
    for (Eigen::Index c = 0; c < cols; ++c) right(c, 0, Complex(c == 0 ? 1.0 : 0.0));
    return 1;
  }
  // X = (the first k rows of R)^H; R is upper trapezoidal.
  MatrixMap x = Workspace::View(ws.x, cols, k);
  for (Eigen::Index i = 0; i < k; ++i) {
    for (Eigen::Index c = 0; c < cols; ++c) x(c, i) = c < i ? Complex(0.0) : std::conj(a(i, c));
  }
  MatrixMap j = Workspace::View(ws.j, k, k);
  if (!OrthogonaliseColumns(x, j, ws.norms)) return 0;

  // X J = W diag(values): the values are the column norms, W the
  // normalised columns. R_k = J diag(values) W^H, so with M P = Q R the
  // left factor is Q J and the right one P W.
  ws.norms.resize(static_cast<size_t>(k));
  for (Eigen::Index i = 0; i < k; ++i) ws.norms[static_cast<size_t>(i)] = std::sqrt(SquaredNorm(&x(0, i), cols));
  ws.order.resize(static_cast<size_t>(k));
  std::iota(ws.order.begin(), ws.order.end(), 0);
  // Insertion sort, descending, equal values in their order: k is small.
  for (size_t i = 1; i < ws.order.size(); ++i) {
    const Eigen::Index moving = ws.order[i];
    size_t to = i;
    for (; to > 0 && ws.norms[static_cast<size_t>(ws.order[to - 1])] < ws.norms[static_cast<size_t>(moving)]; --to) {
      ws.order[to] = ws.order[to - 1];
    }
    ws.order[to] = moving;
  }
  ws.values.resize(static_cast<size_t>(k));
  MatrixMap left = Workspace::View(ws.left, rows, k);
  left.setZero();
  for (Eigen::Index i = 0; i < k; ++i) {
    const Eigen::Index from = ws.order[static_cast<size_t>(i)];
    const double value = ws.norms[static_cast<size_t>(from)];
    ws.values[static_cast<size_t>(i)] = value;
    const double inverse = value > 0.0 ? 1.0 / value : 0.0;
    for (Eigen::Index c = 0; c < cols; ++c) right(ws.perm[static_cast<size_t>(c)], i, x(c, from) * inverse);
    left.block(0, i, k, 1) = j.col(from);
  }
  ApplyReflectors(w, k, left);
  return k;
}

}  // namespace

bool SmallThinSvd(const MatrixXcd& m, MatrixXcd& u, std::vector<double>& s, MatrixXcd& vt) {
  if (!m.allFinite()) return false;
  Workspace& ws = ThreadWorkspace();
  const Eigen::Index r = m.rows();
  const Eigen::Index c = m.cols();
  const Eigen::Index k_max = std::min(r, c);
  Eigen::Index k = 0;
  if (r >= c) {
    // m = L diag(s) V^H: vt gets V^H directly.
    MatrixMap a = Workspace::View(ws.a, r, c);
    a = m;
    vt.resize(k_max, c);
    k = TallSvd(a, ws, [&](Eigen::Index col, Eigen::Index i, Complex value) { vt(i, col) = std::conj(value); });
    if (k == 0) return false;
    u = Workspace::View(ws.left, r, k);
    vt.conservativeResize(k, Eigen::NoChange);
  } else {
    // m^H = L diag(s) V^H, so m = V diag(s) L^H: u gets V directly.
    MatrixMap a = Workspace::View(ws.a, c, r);
    a = m.adjoint();
    u.resize(r, k_max);
    k = TallSvd(a, ws, [&](Eigen::Index row, Eigen::Index i, Complex value) { u(row, i) = value; });
    if (k == 0) return false;
    u.conservativeResize(Eigen::NoChange, k);
    vt = Workspace::View(ws.left, c, k).adjoint();
  }
  s.assign(ws.values.begin(), ws.values.end());
  return true;
}

}  // namespace taviron
