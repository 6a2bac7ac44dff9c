#include "simulator/lapack_svd.h"

#include <dlfcn.h>
#include <link.h>
#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <complex>
#include <cstddef>
#include <map>
#include <string>
#include <tuple>
#include <vector>

// OpenBLAS's LAPACK, whose symbols carry the prefix scipy_. Only the
// declarations are used: the library is opened when the first
// decomposition needs it.
#define lapack_complex_float std::complex<float>
#define lapack_complex_double std::complex<double>
#define LAPACK_GLOBAL(lcname, UCNAME) scipy_##lcname##_
#include <lapack.h>

namespace taviron {

extern "C" void scipy_openblas_set_num_threads(int num_threads);

namespace {

using Complex = std::complex<double>;

#define TAVIRON_SYMBOL_TEXT(name) TAVIRON_SYMBOL_TEXT_OF(name)
#define TAVIRON_SYMBOL_TEXT_OF(name) #name

// The routines of the library; none when it cannot be opened.
struct Routines {
  decltype(&LAPACK_zgesdd_base) zgesdd = nullptr;
  decltype(&LAPACK_zgesvd_base) zgesvd = nullptr;
};

// Opens `file` from the directories in which the loader looks for the
// libraries of the object that holds this code (its run path first). A
// plain dlopen searches the run path of its caller, which is not this
// object when a sanitizer's run time stands in for dlopen.
void* OpenFromOwnSearchPath(const char* file) {
  Dl_info info;
  link_map* self_map = nullptr;
  if (dladdr1(reinterpret_cast<void*>(&OpenFromOwnSearchPath), &info,
              reinterpret_cast<void**>(&self_map), RTLD_DL_LINKMAP) == 0 ||
      self_map == nullptr) {
    return nullptr;
  }
  // The program itself has an empty name in the loader's list.
  void* self = self_map->l_name[0] == '\0' ? dlopen(nullptr, RTLD_NOW)
                                            : dlopen(self_map->l_name, RTLD_NOW | RTLD_NOLOAD);
  if (self == nullptr) return nullptr;
  void* library = nullptr;
  Dl_serinfo size;
  if (dlinfo(self, RTLD_DI_SERINFOSIZE, &size) == 0) {
    std::vector<std::max_align_t> storage((size.dls_size + sizeof(std::max_align_t) - 1) /
                                          sizeof(std::max_align_t));
    Dl_serinfo* paths = reinterpret_cast<Dl_serinfo*>(storage.data());
    if (dlinfo(self, RTLD_DI_SERINFOSIZE, paths) == 0 && dlinfo(self, RTLD_DI_SERINFO, paths) == 0) {
      for (unsigned i = 0; i < paths->dls_cnt && library == nullptr; ++i) {
        const std::string path = std::string(paths->dls_serpath[i].dls_name) + "/" + file;
        library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
      }
    }
  }
  dlclose(self);
  return library;
}

// Opens the library. OpenBLAS starts a pool of threads when it is loaded,
// one for each further processor that the loading thread may run on, and
// those threads spin a while before they sleep. The decompositions here are
// small and many, and each job already runs on a thread of its own, so they
// run in the calling thread: the library is loaded while this thread is
// kept to one processor (its own set of processors is given back right
// after), which leaves OpenBLAS without a pool. The library is found beside
// the module through the module's run path (cmake/TavironLapack.cmake).
Routines OpenLibrary() {
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  bool narrowed = false;
  if (pthread_getaffinity_np(pthread_self(), sizeof allowed, &allowed) == 0) {
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
      if (!CPU_ISSET(cpu, &allowed)) continue;
      cpu_set_t one;
      CPU_ZERO(&one);
      CPU_SET(cpu, &one);
      narrowed = pthread_setaffinity_np(pthread_self(), sizeof one, &one) == 0;
      break;
    }
  }
  void* library = dlopen(TAVIRON_OPENBLAS_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) library = OpenFromOwnSearchPath(TAVIRON_OPENBLAS_LIBRARY);
  if (narrowed) pthread_setaffinity_np(pthread_self(), sizeof allowed, &allowed);
  if (library == nullptr) return Routines();
  Routines routines;
  const auto set_threads = reinterpret_cast<decltype(&scipy_openblas_set_num_threads)>(
      dlsym(library, TAVIRON_SYMBOL_TEXT(scipy_openblas_set_num_threads)));
  routines.zgesdd = reinterpret_cast<decltype(routines.zgesdd)>(
      dlsym(library, TAVIRON_SYMBOL_TEXT(LAPACK_zgesdd_base)));
  routines.zgesvd = reinterpret_cast<decltype(routines.zgesvd)>(
      dlsym(library, TAVIRON_SYMBOL_TEXT(LAPACK_zgesvd_base)));
  if (set_threads == nullptr || routines.zgesdd == nullptr || routines.zgesvd == nullptr) {
    return Routines();
  }
  // A library that the process had loaded before keeps its pool, but runs
  // these decompositions in the calling thread all the same.
  set_threads(1);
  return routines;
}

#undef TAVIRON_SYMBOL_TEXT
#undef TAVIRON_SYMBOL_TEXT_OF

// The routines, opened by the first call from any thread.
const Routines& Library() {
  static const Routines routines = OpenLibrary();
  return routines;
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
  const auto zgesdd = Library().zgesdd;
  if (zgesdd == nullptr) return false;
  Workspace& ws = ThreadWorkspace();
  const Shape d = Prepare(m, ws, u, s, vt);
  Reserve(ws.rwork, std::max(5 * d.mn * d.mn + 5 * d.mn, 2 * d.mx * d.mn + 2 * d.mn * d.mn + d.mn));
  Reserve(ws.iwork, 8 * d.mn);
  const char jobz = 'S';
  const auto call = [&](Complex* work, lapack_int lwork, lapack_int& info) {
    zgesdd(&jobz, &d.rows, &d.cols, ws.a.data(), &d.ldu, s.data(), u.data(), &d.ldu, vt.data(),
           &d.ldvt, work, &lwork, ws.rwork.data(), ws.iwork.data(), &info, 1);
  };
  return RunWithQuery(ws, 'd', d.rows, d.cols, call);
}

bool QrIterationSvd(const MatrixXcd& m, MatrixXcd& u, std::vector<double>& s, MatrixXcd& vt) {
  const auto zgesvd = Library().zgesvd;
  if (zgesvd == nullptr) return false;
  Workspace& ws = ThreadWorkspace();
  const Shape d = Prepare(m, ws, u, s, vt);
  Reserve(ws.rwork, 5 * d.mn);
  const char job = 'S';
  const auto call = [&](Complex* work, lapack_int lwork, lapack_int& info) {
    zgesvd(&job, &job, &d.rows, &d.cols, ws.a.data(), &d.ldu, s.data(), u.data(), &d.ldu,
           vt.data(), &d.ldvt, work, &lwork, ws.rwork.data(), &info, 1, 1);
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
