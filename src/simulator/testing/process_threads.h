#ifndef TAVIRON_SIMULATOR_TESTING_PROCESS_THREADS_H
#define TAVIRON_SIMULATOR_TESTING_PROCESS_THREADS_H

// Test-only: how many threads this process has now.

#include <dirent.h>

namespace taviron {

inline int ThreadCount() {
  int count = 0;
  if (DIR* tasks = ::opendir("/proc/self/task")) {
    while (const dirent* entry = ::readdir(tasks)) {
      if (entry->d_name[0] != '.') ++count;
    }
    ::closedir(tasks);
  }
  return count;
}

}  // namespace taviron

#endif
