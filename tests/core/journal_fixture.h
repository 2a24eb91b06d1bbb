// The journal tests' shared set-up: a journal folder of its own per test,
// scripted dialogs, and small file helpers.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "format/codepage.h"
#include "format/history_reader.h"
#include "format/history_writer.h"
#include "format/journal.h"
#include "history/actions.h"
#include "support/builders.h"
#include "support/random_actions.h"
#include "support/scripted_dialogs.h"


namespace fs = std::filesystem;

inline std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

inline std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

inline void SetModified(const std::string& path, time_t seconds) {
  struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

struct Journal : ::testing::Test {
  std::string Folder;
  ScriptedDialogs Dialogs;

  Journal() {
    std::random_device rd;
    Folder = (fs::temp_directory_path() / ("tamlo-journal-" + std::to_string(rd()))).string() + "/tamlo";
  }
  ~Journal() override {
    std::error_code ec;
    fs::remove_all(fs::path(Folder).parent_path(), ec);
  }

  // A state recording into `journal` (started empty in Folder).
  void Begin(AppState& S, ActionJournal& journal) {
    S.Dialogs = &Dialogs;
    ASSERT_TRUE(journal.Start(Folder, S.History(), ""));
    S.Journal = &journal;
  }

  // The records of a drawing file's text, read quietly.
  static std::string Reread(const std::string& text) {
    AppState R;
    EXPECT_EQ(ReadHistory(R, text), 0);
    return HistoryFileText(R.History());
  }
};
