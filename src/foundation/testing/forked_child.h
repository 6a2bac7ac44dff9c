#ifndef TAVIRON_FOUNDATION_TESTING_FORKED_CHILD_H
#define TAVIRON_FOUNDATION_TESTING_FORKED_CHILD_H

// Test-only: runs a piece of a test in a forked child process, whose exit
// status the test checks, so that a child that hangs or crashes fails the
// test instead of ending the test program.

#include <chrono>
#include <functional>
#include <thread>

#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace taviron {

// True when the program runs under ThreadSanitizer, which ends a child
// that starts a thread after a fork of a process with threads.
constexpr bool kUnderThreadSanitizer =
#if defined(__SANITIZE_THREAD__)
    true;
#else
    false;
#endif

// The exit status of a child forked to run body (its return value; a
// thrown exception counts as 100), or -1 when it crashed or did not end
// within limit (it is then killed). The child leaves through _exit, running
// no destructor of the test program.
inline int ExitStatusOfForkedChild(const std::function<int()>& body,
                                   std::chrono::seconds limit = std::chrono::seconds(60)) {
  const pid_t child = ::fork();
  if (child == 0) {
    int status = 100;
    try {
      status = body();
    } catch (...) {
    }
    ::_exit(status);
  }
  if (child < 0) return -1;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (::waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace taviron

#endif
