#include "history/replay_pace.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr double kDaySeconds = 24 * 3600;

// A plain decimal number filling the whole text ("4", "0.5"); no sign,
// exponent, infinity or NaN.
bool ParseNumber(std::string_view text, double& value) {
  if (text.empty()) return false;
  for (char c : text)
    if (!(c >= '0' && c <= '9') && c != '.') return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

// The fixed step time; a rate out of range falls back to the usual one.
double FixedStepSeconds(const ReplayPace& pace) {
  const double rate = pace.StepsPerSecond;
  if (!(rate > 0) || !(rate <= kMaxStepsPerSecond)) return 1.0 / ReplayPace{}.StepsPerSecond;
  return 1.0 / rate;
}

}  // namespace

double SecondsOfDay(const TimeOfDay& t) {
  return t.Hour * 3600.0 + t.Min * 60.0 + t.Sec + t.Hund / 100.0;
}

double ActionGapSeconds(const TimeOfDay& from, const TimeOfDay& to) {
  const double gap = SecondsOfDay(to) - SecondsOfDay(from);
  if (gap >= 0) return gap;
  const double overMidnight = gap + kDaySeconds;
  return overMidnight > 0 && overMidnight < kDaySeconds / 2 ? overMidnight : -1;
}

double StepSeconds(const ReplayPace& pace, const TimeOfDay& time, const TimeOfDay* next) {
  double step = kMinStepSeconds;
  if (pace.Kind == PaceKind::Fixed) {
    step = FixedStepSeconds(pace);
  } else if (next != nullptr) {
    const double gap = ActionGapSeconds(time, *next);
    step = gap < 0 ? kMinStepSeconds : std::clamp(gap, kMinStepSeconds, kMaxPauseSeconds);
  }
  if (next != nullptr) return step;
  const double hold = std::isfinite(pace.HoldSeconds) ? std::min(pace.HoldSeconds, kMaxHoldSeconds) : 0;
  return std::max(hold, step);
}

double StepSeconds(const ReplayPace& pace, const HistoryList& history, int32_t step) {
  const TimeOfDay* next = step < history.Count() ? &history.At(step + 1).ActionTime : nullptr;
  return StepSeconds(pace, history.At(step).ActionTime, next);
}

bool ParsePace(std::string_view text, ReplayPace& pace) {
  if (text == "drawn") {
    pace.Kind = PaceKind::AsDrawn;
    return true;
  }
  double rate = 0;
  if (!ParseNumber(text, rate) || !(rate > 0) || rate > kMaxStepsPerSecond) return false;
  pace.Kind = PaceKind::Fixed;
  pace.StepsPerSecond = rate;
  return true;
}

bool ParseHold(std::string_view text, ReplayPace& pace) {
  double hold = 0;
  if (!ParseNumber(text, hold) || hold > kMaxHoldSeconds) return false;
  pace.HoldSeconds = hold;
  return true;
}
