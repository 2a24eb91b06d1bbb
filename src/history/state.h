// The program state, one object per window (or per batch run, where there is
// no window), so that every test can start from a fresh one. It is made of
// three parts with different owners: the drawing (saved, replayed), the edit
// session (the person at the window) and the settings (the program's), plus
// the ports through which the core reaches the world.
#pragma once

#include "history/app_settings.h"
#include "history/drawing.h"
#include "history/edit_session.h"
#include "history/ports.h"

struct AppState : Drawing, EditSession, AppSettings {
  // The world outside. Never null: quiet stand-ins until someone plugs in.
  UserDialogs* Dialogs = &m_quietDialogs;
  ClockSource* Clock = &m_systemClock;
  ProcessDisplay* Memo = &m_noMemo;
  PictureSide* Pictures = &m_noPictures;
  // Where every recorded action is made durable (the window's journal,
  // format/journal.h); null: nowhere (batch mode).
  ActionLog* Journal = nullptr;

  AppState() = default;
  AppState(const AppState&) = delete;
  AppState& operator=(const AppState&) = delete;

 private:
  QuietDialogs m_quietDialogs;
  SystemClock m_systemClock;
  NoMemo m_noMemo;
  NoPictures m_noPictures;
};
