// Stopping the batch mode with SIGINT (Ctrl+C) or SIGTERM: the signal is
// only noted; the exports see it between two steps, give up what they have
// not finished (their temporary files go), and the run ends with the status
// kStopped after saying what was finished.
#pragma once

namespace batch {

// Exit status of a run stopped by SIGINT or SIGTERM.
constexpr int kStopped = 4;

// Catches SIGINT and SIGTERM from now on, in this process and in the child
// processes it forks.
void CatchStopSignals();

// The signal that asked this process to stop, or 0.
int StopSignal();
inline bool StopRequested() { return StopSignal() != 0; }

// A descriptor that becomes readable when this process is asked to stop,
// to wait on beside others (poll); -1 before CatchStopSignals.
int StopSignalFd();

// "SIGINT", "SIGTERM".
const char* StopSignalName(int signal);

}  // namespace batch
