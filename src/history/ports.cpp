#include "history/ports.h"

#include <chrono>
#include <ctime>

TimeOfDay SystemClock::Now() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t t = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  TimeOfDay at;
  at.Hour = static_cast<uint8_t>(local.tm_hour);
  at.Min = static_cast<uint8_t>(local.tm_min);
  at.Sec = static_cast<uint8_t>(local.tm_sec > 59 ? 59 : local.tm_sec);
  at.Hund = static_cast<uint8_t>(ms / 10);
  return at;
}
