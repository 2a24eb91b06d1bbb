// How long each step of a drawing's history stays on the screen when the
// history is played as a film: a fixed number of steps per second, or the
// pace at which it was drawn (the recorded action times, long pauses
// shortened). The last step is held a while longer.
#pragma once

#include <cstdint>
#include <string_view>

#include "history/history.h"

enum class PaceKind : uint8_t { Fixed, AsDrawn };

struct ReplayPace {
  PaceKind Kind = PaceKind::Fixed;
  double StepsPerSecond = 4;  // PaceKind::Fixed only
  double HoldSeconds = 2;     // how long the last step stays
};

// A step is shown at least this long as drawn (records made in the same
// moment), and at most this long (a pause while drawing is cut short).
constexpr double kMinStepSeconds = 0.05;
constexpr double kMaxPauseSeconds = 2.0;
// Limits of what ParsePace and ParseHold accept (a GIF frame lasts at most
// 655.35 s).
constexpr double kMaxStepsPerSecond = 100;
constexpr double kMaxHoldSeconds = 600;

// Seconds since midnight of a recorded time (fields out of range, as in a
// damaged file, simply count as they are).
double SecondsOfDay(const TimeOfDay& t);

// Seconds from one recorded time to the next. A later time of day on the
// next day (the clock passed midnight) counts as such when the two are less
// than 12 hours apart; a time before `from` otherwise (a damaged file, the
// clock set back) gives -1: the gap is unknown.
double ActionGapSeconds(const TimeOfDay& from, const TimeOfDay& to);

// How long the step recorded at `time` is shown; `next` is the time of the
// following record, or null when this is the last step, which is shown
// max(HoldSeconds, its own step time). As drawn, the step lasts its gap to
// the next record within [kMinStepSeconds, kMaxPauseSeconds]; an unknown
// gap counts as the shortest step. The last step's own time as drawn is
// kMinStepSeconds.
double StepSeconds(const ReplayPace& pace, const TimeOfDay& time, const TimeOfDay* next);

// The same for the record of `step` in a history (1 ≤ step ≤ Count()).
double StepSeconds(const ReplayPace& pace, const HistoryList& history, int32_t step);

// Reads a pace as given on the command line: a number of steps per second
// (above 0, at most kMaxStepsPerSecond, e.g. "4" or "0.5"), or "drawn" for
// the recorded pace. The hold is left as it is. False on anything else.
bool ParsePace(std::string_view text, ReplayPace& pace);
// Reads a hold time in seconds (0 to kMaxHoldSeconds, e.g. "2" or "1.5").
bool ParseHold(std::string_view text, ReplayPace& pace);
