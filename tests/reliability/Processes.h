// Child processes for tests of stale temporary files: one that has surely ended, one that runs
// until the test lets it go.
#pragma once

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

// A process id that is surely not running: a child that has ended and been waited for.
inline pid_t endedProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

// A child process that runs until the object goes.
class LiveProcess {
 public:
  LiveProcess() : pid_(::fork()) {
    if (pid_ == 0) {
      ::pause();
      ::_exit(0);
    }
  }
  ~LiveProcess() {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  LiveProcess(const LiveProcess&) = delete;
  LiveProcess& operator=(const LiveProcess&) = delete;
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_;
};
