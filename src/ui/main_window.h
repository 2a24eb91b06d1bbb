// The main window: the canvas, the panels, the three working modes and
// every command of the program. The panels (ui/panels/) own their controls
// and ask for commands by signals; the window's handlers carry them out,
// spread over several files by subject (mouse tools, edit commands, text
// entry, stamp setting, play controls, menu commands). The window is put
// together in main_window_layout.cpp and each request connected to its
// handler in main_window_wiring.cpp.
//
// Outside code finds the controls by their object names (findChild), as
// screenshots and tests do, and reads the drawing through state().
#pragma once

#include <QMainWindow>
#include <QString>
#include <QProgressDialog>
#include <functional>
#include <vector>
#include <memory>

#include "format/journal.h"
#include "history/replay_pace.h"
#include "history/state.h"
#include "io/picture_store.h"
#include "render/paint.h"
#include "ui/auto_play.h"
#include "ui/panels/edit_panel.h"
#include "ui/tools/tool_box.h"
#include "history/undo_plan.h"

class QAction;
class QPrinter;
class QPrintPreviewDialog;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QWidget;
class CanvasView;
class DrawToolPanel;
class ModeButtons;
class PlayControls;
class ReplayControls;
class Settings;

class MainWindow : public QMainWindow, public ProcessDisplay {
  Q_OBJECT

 public:
  // `dialogs` replaces the real message boxes and file dialogs (tests);
  // null uses the real ones. The caller then calls createWidgets.
  explicit MainWindow(UserDialogs* dialogs = nullptr, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Caption, size, panels, WorkBitmap, then the file named on the command
  // line (empty: none).
  void createWidgets(const QString& commandLineFile = QString());
  // The size the window opens with on a screen whose free room (logical
  // pixels, without the taskbars) is `available`: the size it was built for
  // when that fits, else the largest that fits, never below MinimumWindowSize.
  QSize OpeningSize(QSize available) const;
  // `wanted` on such a screen: as it is when it fits, else as large as fits.
  QSize FittedSize(QSize wanted, QSize available) const;
  // ScreenRoom, or the free room of the window's screen.
  QSize AvailableRoom() const;
  // The smallest window the controls fit in (the right-hand panels folded in
  // two columns), with or without the process display.
  QSize MinimumWindowSize() const;
  // A right-hand panel folded in two columns: its controls whose top lies at
  // or below `split` move by `shift`, into a column right of the others.
  struct PanelFold {
    std::vector<std::pair<QWidget*, QRect>> parts;  // at the opening size
    int split = 0;
    QPoint shift;
    int height = 0;  // the least height of the folded panel
  };
  // Takes the settings (settings_hooks.cpp): the file dialogs' folders, the
  // force-quit item, printing, the play speed, the video pace and the kiosk
  // mode.
  // Without it the window keeps its built-in defaults. `settings` must
  // outlive the window; call it before createWidgets.
  void ApplySettings(Settings& settings);
  // Whether a file may be written at `path`: anywhere, but only inside the
  // configured folder in kiosk mode.
  bool MaySaveAt(const QString& path) const;
  // The settings applied, or null.
  const Settings* settings() const { return m_settings; }

  // The drawing, its history and the tool state, to read.
  const AppState& state() const { return S; }
  // The mouse tools (tests read what a drag has under way).
  ToolBox& Tools() { return *m_tools; }
  // The picture side: the composed canvas (WorkBitmap) and the background.
  const PictureStore& pictures() const { return Pictures; }

  // How the process ends (exit sequence, forced end, fatal errors). Tests
  // replace it to observe the exit code.
  std::function<void(int)> ExitProcess;
  // The free room of the screen the window opens and grows on, in logical
  // pixels; empty: that of the window's own screen. Tests give one that
  // holds the window, whatever screen and scale factor they run with.
  QSize ScreenRoom;
  // Runs at every step of a long export once its progress box shows it
  // (tests press Cancel there).
  std::function<void(QProgressDialog&, int n)> OnExportProgress;

  // Printing (the file menu's いんさつ, Ctrl+P, and its preview) can be
  // switched off, e.g. by a school's settings: its items are then hidden.
  bool printingAllowed() const { return m_printingAllowed; }
  void setPrintingAllowed(bool allowed);
  // The system print dialog (true: print) and the preview's run; tests
  // replace them.
  std::function<bool(QPrinter&)> AskPrinter;
  std::function<void(QPrintPreviewDialog&)> RunPrintPreview;
  // Prints the picture as vectors, fitted to the printer's page.
  void PrintTo(QPrinter& printer);

  // ---- Commands ----
  // Opens a dropped file or the command-line file: a drawing or a background
  // by its name or contents.
  void OpenFileByPath(const QString& path);
  // Returns true when the drawing was loaded.
  bool LoadDrawingFile(const QString& path);
  // Reads a drawing file's bytes into the emptied history and talks to the
  // user about it: where a damaged file stopped reading, or where the
  // pictures are that it names and that were not found. False when damaged
  // (the history is then empty).
  bool ReadDrawingText(const std::string& bytes);
  // The two saves; true only when the drawing is now in its file (the exit
  // sequence goes on only then).
  bool SaveDrawingAs();
  bool OverWriteDrawing();
  // The exit sequence (タムロをおわる, closing the window).
  void ExitMenuClick();
  // An empty drawing in the draw mode, as after start-up.
  void ResetDrawing();
  // Undo and redo (the curved arrows, Ctrl+Z, Ctrl+Y).
  void UndoStepBtnClick();
  void RedoStepBtnClick();
  // Recomposes the canvas and shows it (the one refresh routine).
  void PaintBoxPaint();

  // ---- The replay that plays by itself (auto_play.cpp) ----
  void StopPlaying();  // nothing when not playing
  bool IsPlaying() const { return m_playing; }
  PlaybackSpeed PlaySpeed() const;  // the checked speed button's
  // Replaces the timer the replay runs on (tests: a timer fired by hand).
  void SetPlayTimer(std::unique_ptr<PlaybackTimer> timer);
  PlaybackTimer* PlayTimer() const { return m_playTimer.get(); }

  // The chosen colour (the palette's ConfirmPanel).
  ColorRef ChosenColor() const;
  // Width in pixels of `text` at `size` points in the font of text figures.
  int32_t FigureTextWidth(const std::string& text, int32_t size) const;

  // ProcessDisplay: lines go to the Memo panel.
  void AddLine(const std::string& line) override;
  void Clear() override;

 protected:
  void closeEvent(QCloseEvent* event) override;  // runs the exit sequence
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Lets the test fixture rig what no control reaches (clock, dialogs).
  friend struct MainWindowTestAccess;

  // The program state and the picture side.
  AppState S;
  PictureStore Pictures{S};
  // Every recorded action goes to it (S.Journal) while the window runs.
  ActionJournal Journal;
  // The drawing's file (S.DataFileName()) as last read or written here, or
  // as the restored journal began from it: an overwrite of a file replaced
  // since asks first.
  FileStamp m_dataFileStamp;
  std::unique_ptr<UserDialogs> m_ownDialogs;
  friend class WindowToolHost;
  static std::unique_ptr<ToolBox> NewToolBox(MainWindow& window);
  std::unique_ptr<ToolBox> m_tools = NewToolBox(*this);

  // ---- Building and connecting (main_window_layout.cpp, _wiring.cpp) ----
  void BuildMenu();
  void BuildWindow();
  void BuildUndoRedoButtons();
  void ConnectMenu();
  void ConnectControls();
  void ConnectShortcuts();
  // What a screen reader says for each control (accessibility.cpp).
  void NameControls();
  // The menu bar's keys, the file shortcuts, the focus ring (keyboard.cpp).
  void ConnectKeyboard();
  // Opens the first menu of the menu bar that can be opened (F10, Alt).
  void OpenMenuBar();

  // ---- Start-up, modes (main_window.cpp) ----
  void DrawingBtnClick(ToolKind tool);
  void HideInputEdit();
  void SelectDrawBtnClick();
  void SelectEditBtnClick();
  void SelectPlayBtnClick();
  void DrawMenuClick();
  // Blanks the stamp preview and disables StampBtn.
  void BlankStampImage();
  // Enables or disables a menu bar entry together with its menu.
  static void SetMenuEnabled(QMenu* menu, bool enabled);
  // Leaves the view mode for the draw or edit mode; false when the user
  // chose to stay (Cancel).
  bool LeaveViewMode();
  // The common start of the three mode buttons; false: stay in the draw mode.
  bool BeginModeChange();
  // Shows the panels of a mode: the tool panel, the edit area or the play area.
  void ShowModePanels(WindowMode mode);
  WindowMode m_shownMode = WindowMode::Draw;
  // Undo and redo where the mode's panels leave room for them.
  void PlaceUndoRedoButtons(WindowMode mode);

  // ---- The window at any size (window_layout.cpp) ----
  // Notes where each control stands at the opening size and how it follows
  // the canvas; adds full screen to the ひょうじ menu and F11.
  void BuildWindowLayout();
  // The canvas (4:3) for a client area of `client`, never below 480 × 360;
  // `compact`, if given, tells whether the right-hand panels fold in two
  // columns (they do when the canvas is shorter than 480).
  QSize CanvasSizeFor(QSize client, bool* compact = nullptr) const;
  // Sizes the canvas to the client area and places the controls round it.
  void LayOutControls();
  void ToggleFullScreen();
  struct LayoutItem {
    QWidget* widget;
    QRect base;  // at the opening size
    unsigned follow;
    PanelFold fold;  // for a panel that folds
  };
  std::vector<LayoutItem> m_layoutItems;
  QPoint m_canvasGrowth;  // the canvas's size beyond 640 × 480
  bool m_compact = false;  // the right-hand panels are folded
  int m_secondColumn = 0;  // how much further right the folded panels reach
  PanelFold m_toolFold;    // the tool panel's, for undo and redo in its room
  bool m_maximizedBeforeFullScreen = false;

  // ---- Mouse tools (tool_host.cpp, ui/tools/) ----
  void PaintBoxMouseDown(int X, int Y);
  void PaintBoxMouseMove(int X, int Y);
  void PaintBoxMouseUp(int X, int Y);

  // ---- Stamp setting (stamp_setting.cpp) ----
  void MakeStamp(Point A, Point B);

  // ---- Play controls (play_controls.cpp) ----
  void StopBtnClick();
  void ForwardBtnClick();
  void ReverseBtnClick();
  void TimeTrackBarChange();

  // ---- The replay that plays by itself (auto_play.cpp) ----
  void PlayBtnClick();  // ▶ starts (from the start at the last step), ⏸ stops
  void SpeedBtnClick();
  void PlayTimerTick();
  void ShowPlayState();
  std::unique_ptr<PlaybackTimer> m_playTimer;
  bool m_playing = false;
  bool m_playStepping = false;  // the slider moved by the replay itself
  UndoPlanner m_undoPlanner;     // what undo and redo do, kept up to date with the history

  // ---- Undo and redo (undo_redo.cpp): both append a branch record ----
  bool CanUndoNow() const;
  void BranchForUndo(bool undo);
  // Enables the two buttons as the history allows.
  void UpdateUndoRedoButtons();

  // ---- Edit commands (edit.cpp) ----
  void DupBtnClick();
  void DeleteBtnClick();
  void UndoBtnClick();
  void FrontBackBtnClick(bool toFront);
  void AttrChangeBtnClick(AttrChange change);
  void ChangeTextBtnClick();

  // ---- Text entry (text_entry.cpp) ----
  // Handles Enter (13) and Escape (27); returns true when it handled the key.
  bool InputEditKeyPress(int key);
  // The text figure the box was opened on by ChangeTextBtnClick; Enter in
  // the edit mode changes only this figure, and only while it is selected.
  Figure* TextEditFig = nullptr;
  // The canvas pixel the text box was opened at (its place on the widget
  // depends on the canvas's size).
  Point TextBoxAt;
  // The box's width in canvas pixels.
  int TextBoxWidth = 169;
  // Opens the box at canvas pixel `at`, or places it again after the canvas
  // changed size: its place, size and letters grow and shrink with the
  // canvas, so the child types at the size the text will be drawn.
  void OpenTextBox(Point at);
  void PlaceTextBox();

  // ---- Resizing (size_sliders.cpp) ----
  void TrackBarChange(bool horizontal, int value);

  // ---- Files (file_commands.cpp) ----
  void ReadDataMenuClick();
  void OverWriteDataMenuClick();
  void WriteDataMenuClick();

  // ---- The journal (journal_recovery.cpp) ----
  // At start: asks about each drawing a crashed window left behind (newest
  // first) and brings back the one answered Yes, else starts a new journal.
  void StartJournal();
  // The drawing of a left-behind journal on the canvas, and the journal goes
  // on; false when it does not read (nothing is then changed but the canvas).
  bool RestoreJournal(LeftJournal& journal);
  // After a load or a save: the journal holds nothing unsaved. Given the
  // file's bytes as read or written (taken), it begins from the file.
  void RestartJournal(std::string* fileBytes = nullptr);
  // Tells the journal the step on the screen (after every step of the view
  // mode, and as the view mode begins).
  void NoteShownStep();
  // The exit sequence: the journal is deleted.
  void EndJournal();

  // ---- Background and exports (export_commands.cpp) ----
  void ReadBGMenuClick();
  // Clears the background (ActionKind::ClearBG), the figures (ActionKind::ClearDrawing) or both
  // (ActionKind::ClearAll), and records it.
  void ClearMenuClick(ActionKind clearing);
  void CaptureMenuClick();
  void SaveScreenBmpMenuClick();
  void SaveScreenJpegMenuClick();
  void SaveAllProcessMenuClick();
  void SaveVideoMenuClick();
  // The start of every export: a pending resize is recorded, `dialog` runs
  // and, on OK, the selection frame leaves the canvas. False on Cancel.
  bool ChooseExportFile(FileDialog& dialog);
  // Runs a long export with the window disabled and a progress box whose
  // Cancel button stays live; `work` gets the progress callback: what is
  // being done (its words shown with "n / count"), false from it: cancelled.
  using ExportProgress = std::function<bool(const QString& doing, int n, int count)>;
  void RunWithProgress(const std::function<void(const ExportProgress&)>& work);
  // The last video's pace: the settings' (the command line's default first).
  ReplayPace m_videoPace;

  // ---- The help window (help_window.cpp) ----
  void HowToUseMenuClick();

  // ---- Exit by force (open_and_exit.cpp), process display (process_display.cpp) ----
  void ExitByForceClick();
  void ShowDataMenuClick();
  void ClearMemoBtnClick();

  // ---- Settings (settings_hooks.cpp) ----
  Settings* m_settings = nullptr;
  std::unique_ptr<UserDialogs> m_folderDialogs;  // wraps the dialogs S had

  // ---- Controls (object names as their member names) ----
  QWidget* Client = nullptr;  // the client area under the menu bar
  QWidget* DrawField = nullptr;
  QLabel* BGImage = nullptr;
  CanvasView* PaintBox = nullptr;
  QLineEdit* InputEdit = nullptr;

  // The panels (ui/panels/): each owns its controls and asks for commands
  // by its signals.
  DrawToolPanel* DrawPanel = nullptr;    // the tools and the stamp preview
  EditArea* EditPanel = nullptr;         // size bars, edit buttons (OpPanel), palette (ColorBasePanel)
  PlayControls* PlayPanel = nullptr;     // the step buttons, slider and counter of the view mode
  ReplayControls* ReplayPanel = nullptr; // ▶/⏸ and the speed, where the tool panel is otherwise

  // Undo and redo of the draw and edit modes: in the tool panel's free room
  // in the draw mode, beside the canvas's top right corner in the edit mode.
  QToolButton* UndoStepBtn = nullptr;
  QToolButton* RedoStepBtn = nullptr;

  ModeButtons* SelectBtnPanel = nullptr;  // かく, なおす, みる

  QPlainTextEdit* Memo = nullptr;
  QPushButton* ClearMemoBtn = nullptr;

  QMenu* FileMenu = nullptr;
  QAction* ReadDataMenu = nullptr;
  QAction* OverWriteDataMenu = nullptr;
  QAction* WriteDataMenu = nullptr;
  QAction* ExitMenu = nullptr;
  QMenu* DrawMenu = nullptr;
  QAction* ReadBGMenu = nullptr;
  QAction* ClearBGMenu = nullptr;
  QAction* ClearImageMenu = nullptr;
  QAction* ClearAllMenu = nullptr;
  QAction* FullScreenMenu = nullptr;
  QMenu* HelpMenu = nullptr;
  QAction* HowToUseMenu = nullptr;
  QMenu* ToolMenu = nullptr;
  QAction* ShowDataMenu = nullptr;
  QAction* CaptureMenu = nullptr;
  QAction* SaveScreenBmpMenu = nullptr;
  QAction* SaveScreenJpegMenu = nullptr;
  QAction* SaveAllProcessMenu = nullptr;
  QAction* SaveVideoMenu = nullptr;
  QAction* ExitByForce = nullptr;

  // The vector outputs and printing (vector_commands.cpp).
  enum class VectorOutput { Svg, Pdf, Png };
  void BuildVectorCommands();
  void SaveVectorMenuClick(VectorOutput output);
  void PrintMenuClick();
  void PrintPreviewMenuClick();
  QAction* SaveSvgMenu = nullptr;
  QAction* SavePdfMenu = nullptr;
  QAction* SaveLargePngMenu = nullptr;
  QAction* PrintMenu = nullptr;
  QAction* PrintPreviewMenu = nullptr;
  bool m_printingAllowed = true;
  FileDialog m_saveSvgDialog{DialogKind::SaveBG, "SVGファイル（*.svg）|*.svg", "svg", "", 1};
  FileDialog m_savePdfDialog{DialogKind::SaveBG, "PDFファイル（*.pdf）|*.pdf", "pdf", "", 1};
  FileDialog m_savePngDialog{DialogKind::SaveBG,
                             "PNG 2ばい（1280×960）|*.png|PNG 4ばい（2560×1920）|*.png|PNG 8ばい（5120×3840）|*.png|"
                             "PNG（640×480）|*.png",
                             "png", "", 1};
};
