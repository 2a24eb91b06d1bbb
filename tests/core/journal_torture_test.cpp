// The journal against SIGKILL: a child process records a random session,
// telling the parent after each recorded action, and is killed at a random
// moment; the journal it leaves must give back every action whose recording
// had returned (the one being recorded at the kill may or may not be there),
// never more, never a damaged history. After each action the child notes
// it as the step shown, which must come back as well. Every 25 actions the
// child saves to a drawing file, so kills also land while the journal
// begins anew from it (its base a second name of the file, or every other
// time a copy being made).
//
// TAMLO_TORTURE_SEED repeats a run (the seed is printed); TAMLO_TORTURE_ROUNDS
// changes the number of kills.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "format/codepage.h"
#include "format/history_reader.h"
#include "format/history_writer.h"
#include "format/journal.h"
#include "support/random_actions.h"
#include "support/sanitizers.h"

namespace fs = std::filesystem;

namespace {

constexpr int kSaveEvery = 25;
constexpr int kMaxActions = 160;

uint32_t EnvNumber(const char* name, uint32_t fallback) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0' ? static_cast<uint32_t>(std::strtoul(v, nullptr, 10)) : fallback;
}

// The child: records, says 'a' after each action and 's' after each save,
// then waits to be killed.
[[noreturn]] void RunChild(const std::string& folder, uint32_t seed, int tell) {
  AppState S;
  ActionJournal journal;
  if (!journal.Start(folder, S.History(), "")) ::_exit(3);
  S.Journal = &journal;
  RandomSession session(S, seed);
  for (int i = 1; i <= kMaxActions; ++i) {
    session.Step();
    // Told only once the action is in the journal for good.
    if (!journal.Active() || journal.Count() != i) ::_exit(6);
    journal.ShowStep(true, i);
    if (::write(tell, "a", 1) != 1) ::_exit(4);
    if (i % kSaveEvery == 0) {
      // As a save does: a new file under the name.
      const std::string file = folder + ".tlo";
      // As a save does: the base's copy has its name before the file it
      // was copied from is replaced.
      journal.WaitForBase();
      const std::string text = HistoryFileText(S.History());
      {
        std::FILE* f = std::fopen((file + ".new").c_str(), "wb");
        if (f == nullptr || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0)
          ::_exit(5);
        if (std::rename((file + ".new").c_str(), file.c_str()) != 0) ::_exit(5);
      }
      FileStamp stamp = StampOfFile(file);
      if (i % (2 * kSaveEvery) == 0) stamp.Inode ^= 1;  // no second name: a copy
      // As the window does: bytes in CP932 may read back with look-alikes,
      // and then the journal holds every record itself.
      std::string bytes = text;
      if (!journal.Restart(S.History(), file, stamp, IsValidUtf8(text) ? &bytes : nullptr)) ::_exit(5);
      if (::write(tell, "s", 1) != 1) ::_exit(4);
    }
  }
  for (;;) ::pause();
}

// The history text of the first `n` actions of a session.
std::string ExpectedText(uint32_t seed, int32_t n) {
  AppState E;
  RandomSession session(E, seed);
  for (int32_t i = 0; i < n; ++i) session.Step();
  return HistoryFileText(E.History());
}

TEST(JournalTorture, EveryKillRestoresExactlyTheRecordedActions) {
  const uint32_t master = EnvNumber("TAMLO_TORTURE_SEED", std::random_device{}());
  // Every kill restarts a child: under the sanitizers fewer rounds keep the
  // run inside its time limit.
  const uint32_t rounds = EnvNumber("TAMLO_TORTURE_ROUNDS", kSanitized ? 80 : 300);
  std::printf("journal torture: TAMLO_TORTURE_SEED=%u, %u rounds\n", master, rounds);
  std::mt19937 rng(master);
  const fs::path root = fs::temp_directory_path() / ("tamlo-torture-" + std::to_string(master));
  int found = 0, torn = 0;

  for (uint32_t round = 0; round < rounds; ++round) {
    const uint32_t seed = master + round;
    SCOPED_TRACE("round " + std::to_string(round) + ", session seed " + std::to_string(seed));
    const std::string folder = (root / std::to_string(round)).string();
    const int target = static_cast<int>(rng() % 110);
    const int spinMicros = static_cast<int>(rng() % 3000);

    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(fds[0]);
      RunChild(folder, seed, fds[1]);
    }
    ::close(fds[1]);

    // Wait for `target` actions, let the child go on a random while, kill.
    int acked = 0;
    char c;
    while (acked < target && ::read(fds[0], &c, 1) == 1)
      if (c == 'a') ++acked;
    const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(spinMicros);
    while (std::chrono::steady_clock::now() < until) {
    }
    ::kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "child ended by itself: " << status;
    while (::read(fds[0], &c, 1) == 1)
      if (c == 'a') ++acked;
    ::close(fds[0]);

    std::vector<LeftJournal> left = FindLeftJournals(folder);
    if (left.empty()) {
      // Nothing unsaved: the child had just saved (or not begun).
      EXPECT_EQ(acked % kSaveEvery, 0) << "acked " << acked;
    } else {
      ASSERT_EQ(left.size(), 1u);
      ++found;
      const LeftJournal& j = left[0];
      EXPECT_GE(j.Count, acked);
      EXPECT_LE(j.Count, acked + 1);
      EXPECT_EQ(j.Info.BaseCount % kSaveEvery, 0);
      EXPECT_LE(j.Info.BaseCount, j.Count);
      // The step noted last: that of the last action told, or of the next.
      EXPECT_TRUE(j.Info.ViewMode);
      EXPECT_GE(j.Info.ShownStep, acked);
      EXPECT_LE(j.Info.ShownStep, j.Count);
      if (j.Info.FromBase == 0 && fs::file_size(j.Path) != j.Text.size()) ++torn;
      AppState R;
      ASSERT_EQ(ReadHistory(R, j.Text), 0);
      EXPECT_EQ(R.History().Count(), j.Count);
      EXPECT_EQ(HistoryFileText(R.History()), ExpectedText(seed, j.Count));
      left[0].Remove();
    }
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::remove(folder + ".tlo", ec);
    if (HasFailure()) break;
  }
  std::printf("journal torture: %d journals restored, %d with a torn last block\n", found, torn);
  std::error_code ec;
  fs::remove_all(root, ec);
}

}  // namespace
