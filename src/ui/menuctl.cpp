// Dropped files, the command-line file and the ways the program ends.
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>

#include "ui/Unit1.h"

void TTamloForm::OpenFileByPath(const QString&) {}
void TTamloForm::ExitMenuClick() {}
void TTamloForm::ExitByForceClick() {}
void TTamloForm::closeEvent(QCloseEvent* event) { event->ignore(); }
void TTamloForm::dragEnterEvent(QDragEnterEvent* event) { event->ignore(); }
void TTamloForm::dropEvent(QDropEvent* event) { event->ignore(); }
