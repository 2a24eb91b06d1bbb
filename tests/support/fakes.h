// Stand-ins for the ports the tests watch: a clock they set or let tick, a
// process display that keeps what it is shown, and a picture side that
// keeps what it was asked.
#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "history/ports.h"

// The time of day `hour`:`min`:`sec`.`hund`.
inline TimeOfDay At(int hour, int min, int sec = 0, int hund = 0) {
  TimeOfDay t;
  t.Hour = static_cast<uint8_t>(hour);
  t.Min = static_cast<uint8_t>(min);
  t.Sec = static_cast<uint8_t>(sec);
  t.Hund = static_cast<uint8_t>(hund);
  return t;
}

// Reads `Time`; with a `Tick`, moves on by that many hundredths of a second
// after every reading, round past midnight.
class FakeClock : public ClockSource {
 public:
  TimeOfDay Time;
  int Tick = 0;

  FakeClock() = default;
  explicit FakeClock(TimeOfDay time, int tick = 0) : Time(time), Tick(tick) {}
  // 10:00:00.00, moving on by 1/100 s at every reading.
  static FakeClock Ticking() { return FakeClock(At(10, 0), 1); }

  TimeOfDay Now() override {
    const TimeOfDay now = Time;
    if (Tick != 0) {
      const long day = 24L * 60 * 60 * 100;
      long t = ((Time.Hour * 60L + Time.Min) * 60 + Time.Sec) * 100 + Time.Hund;
      t = ((t + Tick) % day + day) % day;
      Time = At(static_cast<int>(t / 360000), static_cast<int>(t / 6000 % 60), static_cast<int>(t / 100 % 60), static_cast<int>(t % 100));
    }
    return now;
  }
};

// A process display that keeps its lines.
class MemoLog : public ProcessDisplay {
 public:
  std::vector<std::string> Lines;
  void AddLine(const std::string& line) override { Lines.push_back(line); }
  void Clear() override { Lines.clear(); }
};

// Keeps every call, in order: "load NAME", "blank", "paint", and counts the
// repaints. A picture loads when it is one of `Existing` (or any, with
// `EveryPictureExists`); others are missing.
class PictureLog : public PictureSide {
 public:
  std::set<std::string> Existing;
  bool EveryPictureExists = false;
  std::vector<std::string> Calls;
  int Repaints = 0;

  int LoadBGPicture(const std::string& name) override {
    Calls.push_back("load " + name);
    return EveryPictureExists || Existing.count(name) ? 0 : 1;
  }
  void BlankBGImage() override { Calls.push_back("blank"); }
  void PaintBoxPaint() override {
    Calls.push_back("paint");
    ++Repaints;
  }
  // The calls since the last Take.
  std::vector<std::string> Take() { return std::exchange(Calls, {}); }
};
