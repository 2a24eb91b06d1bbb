// Figure IDs come from files: no choice of IDs may make the lookups by ID
// slow. IDs that are all multiples of a hash table's bucket count used to put
// every figure in one bucket.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>
#include <string>
#include <unordered_map>

#include "history/play.h"
#include "format/history_reader.h"
#include "support/scripted_dialogs.h"

namespace {

size_t LargestBucket(const std::unordered_map<int32_t, int, FigureIdHash>& table) {
  size_t largest = 0;
  for (size_t b = 0; b < table.bucket_count(); ++b) largest = std::max(largest, table.bucket_size(b));
  return largest;
}

// The bucket count a table of n IDs ends with, whatever its hash.
int32_t FinalBucketCount(int32_t n) {
  std::unordered_map<int32_t, int> probe;
  for (int32_t i = 1; i <= n; ++i) probe.emplace(i, i);
  return static_cast<int32_t>(probe.bucket_count());
}

TEST(FigIDHash, MultiplesOfTheBucketCountSpreadOverTheBuckets) {
  for (int32_t n : {100, 1000, 5000, 20000}) {
    const int32_t stride = FinalBucketCount(n);
    std::unordered_map<int32_t, int, FigureIdHash> table;
    for (int32_t i = 1; i <= n; ++i) table.emplace(i * stride, i);
    ASSERT_EQ(static_cast<int32_t>(table.bucket_count()), stride);
    // About one ID per bucket; a dozen in one would already be very unlikely.
    EXPECT_LE(LargestBucket(table), 12u) << n << " multiples of " << stride;
  }
  // Powers of two, the bucket counts of other tables.
  for (int32_t stride : {64, 1024, 65536}) {
    std::unordered_map<int32_t, int, FigureIdHash> table;
    for (int32_t i = 1; i <= 20000; ++i) table.emplace(i * stride, i);
    EXPECT_LE(LargestBucket(table), 12u) << "multiples of " << stride;
  }
}

TEST(FigIDHash, NegativeAndExtremeIDsSpreadToo) {
  std::unordered_map<int32_t, int, FigureIdHash> table;
  for (int32_t i = 0; i < 4096; ++i) table.emplace(INT32_MIN + i * 1048576, i);
  EXPECT_LE(LargestBucket(table), 12u);
}

// A drawing file of `n` rectangles with the given IDs, each moved once.
std::string Drawing(int32_t n, int32_t stride) {
  std::string text = "TAMLO FILE FORMAT 1.2\r\n";
  auto figure = [](const char* kind, int32_t id) {
    return std::string("begin ActionData\r\n01 02 03 04\r\n") + kind + "\r\n" + std::to_string(id) +
           "\r\nbegin FigData\r\ndtRectangle\r\n1\r\nclBlack\r\nclWhite\r\n12\r\nclBlack\r\n\r\n10 10\r\n20 20\r\n"
           "end FigData\r\nend ActionData\r\n";
  };
  for (int32_t i = 1; i <= n; ++i) text += figure("Create", i * stride);
  for (int32_t i = 1; i <= n; ++i) text += figure("Move", i * stride);
  return text;
}

// The figures of the file's last step, each as "x,y".
std::vector<std::string> LastStepFigures(const std::string& text) {
  AppState S;
  ScriptedDialogs dialogs;
  S.Dialogs = &dialogs;
  EXPECT_EQ(ReadHistory(S, text), 0);
  GoToStep(S, S.History().Count());
  std::vector<std::string> figures;
  for (const Figure& f : S.Figures()) figures.push_back(std::to_string(f.Start.X) + "," + std::to_string(f.Start.Y));
  return figures;
}

// Colliding IDs read and replay exactly as plain ones (their cost, once
// twenty times as high, is measured by BM_ReadCollidingIDs).
TEST(FigIDLookup, CollidingIDsReadAndReplayLikePlainOnes) {
  constexpr int32_t n = 20000;
  const int32_t stride = FinalBucketCount(n);
  ASSERT_LE(int64_t{stride} * n, int64_t{INT32_MAX});

  const std::vector<std::string> plain = LastStepFigures(Drawing(n, 1));
  ASSERT_EQ(plain.size(), size_t{n});
  EXPECT_EQ(LastStepFigures(Drawing(n, stride)), plain);
}

}  // namespace
