#include "batch/batch_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace batch {
namespace {

volatile std::sig_atomic_t g_signal = 0;
// The pipe that wakes a waiting parent (written by its own handler only:
// a child's signal is the child's).
int g_wake[2] = {-1, -1};
pid_t g_owner = 0;

void OnStopSignal(int signal) {
  g_signal = signal;
  if (::getpid() == g_owner && g_wake[1] >= 0) {
    const int saved = errno;
    const char byte = 1;
    (void)!::write(g_wake[1], &byte, 1);
    errno = saved;
  }
}

}  // namespace

void CatchStopSignals() {
  if (g_wake[0] < 0 && ::pipe2(g_wake, O_CLOEXEC | O_NONBLOCK) != 0) g_wake[0] = g_wake[1] = -1;
  g_owner = ::getpid();
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no restart: a waiting poll returns at once
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
}

int StopSignal() { return g_signal; }

int StopSignalFd() { return g_wake[0]; }

const char* StopSignalName(int signal) {
  switch (signal) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    default: return "a signal";
  }
}

}  // namespace batch
