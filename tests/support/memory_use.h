// The process's resident memory as Linux reports it, for the tests that
// bound what a large picture or a long video costs.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

// A line of /proc/self/status in kB ("VmRSS:" now, "VmHWM:" the peak);
// -1 when it cannot be read.
inline long StatusKb(const char* key) {
  std::ifstream f("/proc/self/status");
  std::string line;
  while (std::getline(f, line))
    if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::string(key).size());
  return -1;
}

// The peak so far, in MB; 0 when unknown.
inline double PeakResidentMB() {
  const long kb = StatusKb("VmHWM:");
  return kb < 0 ? 0 : double(kb) / 1024.0;
}

// Peak resident growth while `work` runs, in MB; -1 when it cannot be told.
template <typename F>
double PeakGrowthMB(F&& work) {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";  // starts the peak again from now
  clear.flush();
  if (!clear) return -1;
  const long before = StatusKb("VmRSS:");
  work();
  const long peak = StatusKb("VmHWM:");
  if (before < 0 || peak < 0) return -1;
  return double(peak - before) / 1024.0;
}
