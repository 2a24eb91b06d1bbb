// The program state: one object instead of loose globals, owned by the
// window (or by the batch mode when there is no window), so that every test
// can start from a fresh one. Field names follow the program's vocabulary.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "document/figlist.h"
#include "history/history.h"
#include "history/ports.h"

enum TWorkMode : uint8_t { wmDraw = 0, wmEdit = 1, wmPlay = 2 };

struct TTamloState {
  std::string VersionText = "Tamlo Ver.1.23";
  std::string DataFileName;  // drawing last loaded or saved; empty = never

  THistoryList History;  // History.NextFigID hands out figure IDs
  TFigList DrawingFigs;  // figures on the canvas, back to front
  TFigList DeletedFigs;  // deleted figures, oldest first (the undo store)

  // Mouse-tool state.
  bool PolyDrawing = false;
  bool VertexAdded = false;
  bool Dragging = false;
  bool MovingFig = false;
  TFigItem* SelectedFig = nullptr;  // selection in edit mode
  TFigItem* MarkedFig = nullptr;    // whose selection frame is on screen

  // Trackbar resize not yet recorded.
  bool PendingResize = false;
  TFigData* ResizeFig = nullptr;
  TFigData* StampReference = nullptr;

  // Background picture asked for by the records applied so far, and the one
  // the background now shows (empty = plain).
  std::string BGFileName;
  std::string ShownBGFileName;

  bool ShowProcess = false;  // internal process display on

  TActionItem* CurrentStep = nullptr;  // replay position; History.Head = step 0
  TWorkMode WorkMode = wmDraw;
  TDrawingTool CurrentTool = dtNone;

  std::unique_ptr<TFigList> CurrentStamp;  // relative to StampTopLeft
  TPoint StampTopLeft, StampBottomRight;
  TPoint AnchorPoint, LastPoint, PressPoint;

  // The selected figure's geometry when it was last released (resize reference).
  TPoint ResizeStart, ResizeEnd;
  int32_t ResizeTextSize = 0;
  std::array<TPoint, MaxPoints> ResizePoints{};

  TFigData FigTemplate;  // the figure being built by the drawing tools
  TPointData PointBuffer{MaxPoints};

  // File dialogs keep their file name and filter index between runs.
  TFileDialog OpenDataDialog{dkOpenData, "Tamloファイル（*.tlo）|*.tlo", "", "", 1};
  TFileDialog SaveDataDialog{dkSaveData, "Tamloファイル（*.tlo）|*.tlo", "tlo", "", 1};
  TFileDialog OpenBGDialog{dkOpenBG, "ビットマップ（*.bmp）|*.bmp|JPEGファイル（*.jpg）|*.jpg;*.bmp", "", "", 1};
  TFileDialog SaveBGDialog{dkSaveBG, "ビットマップ（*.bmp）|*.bmp", "bmp", "", 1};
  TFileDialog SaveJPEGBGDialog{dkSaveJPEGBG, "JPEGファイル（*.jpg）|*.jpg", "jpg", "", 1};
  TFileDialog SaveVideoDialog{dkSaveVideo, "MP4どうが（*.mp4）|*.mp4|GIFアニメ（*.gif）|*.gif", "mp4", "", 1};

  // The world outside. Never null: quiet stand-ins until someone plugs in.
  TDialogs* Dialogs = &FQuietDialogs;
  TClock* Clock = &FSystemClock;
  TMemo* Memo = &FNoMemo;
  TPictureSide* Pictures = &FNoPictures;
  // Where every recorded action is made durable (the window's journal,
  // format/journal.h); null: nowhere (batch mode).
  TActionLog* Journal = nullptr;

  TTamloState() { CurrentStep = History.Head; }
  TTamloState(const TTamloState&) = delete;
  TTamloState& operator=(const TTamloState&) = delete;

 private:
  TQuietDialogs FQuietDialogs;
  TSystemClock FSystemClock;
  TNoMemo FNoMemo;
  TNoPictures FNoPictures;
};
