// The program state: one object instead of loose globals, owned by the
// window (or by the batch mode when there is no window), so that every test
// can start from a fresh one. Field names follow the program's vocabulary.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/figlist.h"
#include "history/history.h"
#include "history/ports.h"

enum class WindowMode : uint8_t { Draw = 0, Edit = 1, Play = 2 };

struct AppState {
  std::string VersionText = "Tamlo Ver." TAMLO_VERSION;  // the version of project() in CMake
  std::string DataFileName;  // drawing last loaded or saved; empty = never

  HistoryList History;  // History.NextFigID hands out figure IDs
  FigureList DrawingFigs;  // figures on the canvas, back to front
  FigureList DeletedFigs;  // deleted figures, oldest first (the undo store)

  // The edit session (the mouse tools keep their own drag state).
  FigureItem* SelectedFig = nullptr;  // selection in edit mode
  FigureItem* MarkedFig = nullptr;    // whose selection frame is on screen

  // Trackbar resize not yet recorded.
  bool PendingResize = false;
  Figure* ResizeFig = nullptr;
  Figure* StampReference = nullptr;

  // Background picture asked for by the records applied so far, and the one
  // the background now shows (empty = plain).
  std::string BGFileName;
  std::string ShownBGFileName;

  bool ShowProcess = false;  // internal process display on

  HistoryItem* CurrentStep = nullptr;  // replay position; History.Head = step 0
  WindowMode WorkMode = WindowMode::Draw;
  ToolKind CurrentTool = ToolKind::None;

  std::optional<std::vector<Figure>> CurrentStamp;  // relative to StampTopLeft; none until one is set
  Point StampTopLeft, StampBottomRight;

  // The selected figure's geometry when it was last released (resize reference).
  Point ResizeStart, ResizeEnd;
  int32_t ResizeTextSize = 0;
  std::array<Point, MaxPoints> ResizePoints{};

  // File dialogs keep their file name and filter index between runs.
  FileDialog OpenDataDialog{DialogKind::OpenData, "Tamloファイル（*.tlo）|*.tlo", "", "", 1};
  FileDialog SaveDataDialog{DialogKind::SaveData, "Tamloファイル（*.tlo）|*.tlo", "tlo", "", 1};
  FileDialog OpenBGDialog{DialogKind::OpenBG, "ビットマップ（*.bmp）|*.bmp|JPEGファイル（*.jpg）|*.jpg;*.bmp", "", "", 1};
  FileDialog SaveBGDialog{DialogKind::SaveBG, "ビットマップ（*.bmp）|*.bmp", "bmp", "", 1};
  FileDialog SaveJPEGBGDialog{DialogKind::SaveJPEGBG, "JPEGファイル（*.jpg）|*.jpg", "jpg", "", 1};
  FileDialog SaveVideoDialog{DialogKind::SaveVideo, "MP4どうが（*.mp4）|*.mp4|GIFアニメ（*.gif）|*.gif", "mp4", "", 1};

  // The world outside. Never null: quiet stand-ins until someone plugs in.
  UserDialogs* Dialogs = &m_quietDialogs;
  ClockSource* Clock = &m_systemClock;
  ProcessDisplay* Memo = &m_noMemo;
  PictureSide* Pictures = &m_noPictures;
  // Where every recorded action is made durable (the window's journal,
  // format/journal.h); null: nowhere (batch mode).
  ActionLog* Journal = nullptr;

  AppState() { CurrentStep = History.Head; }
  AppState(const AppState&) = delete;
  AppState& operator=(const AppState&) = delete;

 private:
  QuietDialogs m_quietDialogs;
  SystemClock m_systemClock;
  NoMemo m_noMemo;
  NoPictures m_noPictures;
};
