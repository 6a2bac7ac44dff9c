#include "simulator/lapack_svd.h"

#include <algorithm>
#include <complex>
#include <cstddef>
#include <map>
#include <tuple>

// OpenBLAS's LAPACK, whose symbols carry the prefix scipy_.
#define lapack_complex_float std::complex<float>
#define lapack_complex_double std::complex<double>
#define LAPACK_GLOBAL(lcname, UCNAME) scipy_##lcname##_
#include <lapack.h>

namespace taviron {

extern "C" void scipy_openblas_set_num_threads(int num_threads);

namespace {

using Complex = std::complex<double>;

// The decompositions here are small and many, and each job already runs on
// a thread of its own: OpenBLAS runs them in the calling thread.
void UseCallingThreadOnly() {
  static const bool done = [] {
    scipy_openblas_set_num_threads(1);
    return true;
  }();
  (void)done;
}

// Work arrays of one thread, grown as needed and never shrunk, and the
// optimal complex work size of each routine and shape met so far.
struct Workspace {
  MatrixXcd a;  // the routines overwrite their input
  std::vector<Complex> work;
  std::vector<double> rwork;
  std::vector<lapack_int> iwork;
  std::map<std::tuple<char, lapack_int, lapack_int>, size_t> work_sizes;
};

Workspace& ThreadWorkspace() {
  thread_local Workspace workspace;
  return workspace;
}

template <typename T>
void Reserve(std::vector<T>& v, size_t size) {
  if (v.size() < size) v.resize(size);
}

// Runs a routine: a workspace query the first time this thread meets the
// routine and shape, then the decomposition.
template <typename Call>
bool RunWithQuery(Workspace& ws, char routine, lapack_int rows, lapack_int cols, Call&& call) {
  lapack_int info = 0;
  size_t& lwork = ws.work_sizes[std::make_tuple(routine, rows, cols)];
  if (lwork == 0) {
    Complex query = 0.0;
    call(&query, lapack_int{-1}, info);
    if (info != 0) return false;
    lwork = std::max<size_t>(1, static_cast<size_t>(query.real()));
  }
  Reserve(ws.work, lwork);
  call(ws.work.data(), static_cast<lapack_int>(ws.work.size()), info);
  return info == 0;
}

// The sizes the two routines are called with.
struct Shape {
  lapack_int rows, cols, ldu, ldvt;
  size_t mn, mx;
};

// Sizes the outputs, copies m into the workspace and gives the shape.
Shape Prepare(const MatrixXcd& m, Workspace& ws, MatrixXcd& u, std::vector<double>& s,
              MatrixXcd& vt) {
  const Eigen::Index k = std::min(m.rows(), m.cols());
  ws.a = m;
  u.resize(m.rows(), k);
  vt.resize(k, m.cols());
  s.resize(static_cast<size_t>(k));
  Shape shape;
  shape.rows = static_cast<lapack_int>(m.rows());
  shape.cols = static_cast<lapack_int>(m.cols());
  shape.ldu = std::max<lapack_int>(1, shape.rows);
  shape.ldvt = std::max<lapack_int>(1, static_cast<lapack_int>(k));
  shape.mn = static_cast<size_t>(k);
  shape.mx = static_cast<size_t>(std::max(m.rows(), m.cols()));
  return shape;
}

}  // namespace

bool DivideAndConquerSvd(const MatrixXcd& m, MatrixXcd& u, std::vector<double>& s, MatrixXcd& vt) {
  UseCallingThreadOnly();
  Workspace& ws = ThreadWorkspace();
  const Shape d = Prepare(m, ws, u, s, vt);
  Reserve(ws.rwork, std::max(5 * d.mn * d.mn + 5 * d.mn, 2 * d.mx * d.mn + 2 * d.mn * d.mn + d.mn));
  Reserve(ws.iwork, 8 * d.mn);
  const char jobz = 'S';
  const auto call = [&](Complex* work, lapack_int lwork, lapack_int& info) {
    LAPACK_zgesdd_base(&jobz, &d.rows, &d.cols, ws.a.data(), &d.ldu, s.data(), u.data(), &d.ldu,
                       vt.data(), &d.ldvt, work, &lwork, ws.rwork.data(), ws.iwork.data(), &info,
                       1);
  };
  return RunWithQuery(ws, 'd', d.rows, d.cols, call);
}

bool QrIterationSvd(const MatrixXcd& m, MatrixXcd& u, std::vector<double>& s, MatrixXcd& vt) {
  UseCallingThreadOnly();
  Workspace& ws = ThreadWorkspace();
  const Shape d = Prepare(m, ws, u, s, vt);
  Reserve(ws.rwork, 5 * d.mn);
  const char job = 'S';
  const auto call = [&](Complex* work, lapack_int lwork, lapack_int& info) {
    LAPACK_zgesvd_base(&job, &job, &d.rows, &d.cols, ws.a.data(), &d.ldu, s.data(), u.data(),
                       &d.ldu, vt.data(), &d.ldvt, work, &lwork, ws.rwork.data(), &info, 1, 1);
  };
  return RunWithQuery(ws, 'v', d.rows, d.cols, call);
}

bool LapackThinSvd(const MatrixXcd& m, MatrixXcd& u, std::vector<double>& s, MatrixXcd& vt) {
  // LAPACK refuses a matrix holding no numbers with a message on stdout;
  // such a matrix is left to the caller.
  if (!m.allFinite()) return false;
  return DivideAndConquerSvd(m, u, s, vt) || QrIterationSvd(m, u, s, vt);
}

}  // namespace taviron
