// The real file dialogs behind the file commands: the filter texts the child
// sees, both letter cases of an extension, the default extension and the
// working folder after a choice.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "history/state.h"
#include "ui/qtdialogs.h"

namespace {

struct SeenSteps {
  QStringList Shown;     // the texts of the filter list
  QString Current;       // the filter chosen when the dialog opened
  QStringList Patterns;  // the patterns behind every filter
};

// Runs `dialog` through the real dialog; `act` gets the open dialog, may
// choose a file and must accept or reject it.
bool RunDialog(FileDialog& dialog, SeenSteps& seen, const std::function<void(QFileDialog&)>& act) {
  QtDialogs dialogs(nullptr);
  QTimer::singleShot(0, [&] {
    auto* fd = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(fd, nullptr);
    auto* combo = fd->findChild<QComboBox*>("fileTypeCombo");
    EXPECT_NE(combo, nullptr);
    if (combo == nullptr) {
      fd->reject();
      return;
    }
    for (int i = 0; i < combo->count(); ++i) seen.Shown << combo->itemText(i);
    seen.Current = combo->currentText();
    seen.Patterns = fd->nameFilters();
    act(*fd);
  });
  return dialogs.Execute(dialog);
}

class QtFileDialogs : public ::testing::Test {
 protected:
  QTemporaryDir Dir;
  QString Before = QDir::currentPath();
  void SetUp() override { ASSERT_TRUE(Dir.isValid()); }
  void TearDown() override { QDir::setCurrent(Before); }
  QString At(const QString& name) const { return Dir.path() + "/" + name; }
};

TEST_F(QtFileDialogs, DrawingDialogsShowTheirFilterTextAndTakeBothCases) {
  AppState S;
  QFile upper(At("A.TLO"));
  ASSERT_TRUE(upper.open(QIODevice::WriteOnly));
  upper.close();

  SeenSteps seen;
  S.OpenDataDialog.FileName = At("A.TLO").toStdString();
  ASSERT_TRUE(RunDialog(S.OpenDataDialog, seen, [&](QFileDialog& fd) { static_cast<QDialog&>(fd).accept(); }));
  EXPECT_EQ(seen.Shown, QStringList{QString::fromUtf8("Tamloファイル（*.tlo）")});
  ASSERT_EQ(seen.Patterns.size(), 1);
  EXPECT_TRUE(seen.Patterns[0].contains("*.tlo"));
  EXPECT_TRUE(seen.Patterns[0].contains("*.TLO"));
  EXPECT_EQ(QString::fromStdString(S.OpenDataDialog.FileName), At("A.TLO"));
  EXPECT_EQ(QDir::currentPath(), QDir(Dir.path()).canonicalPath());
}

TEST_F(QtFileDialogs, SaveDialogAddsTheDefaultExtensionOnlyWhenThereIsNone) {
  AppState S;
  SeenSteps seen;
  S.SaveDataDialog.FileName = At("pic").toStdString();
  ASSERT_TRUE(RunDialog(S.SaveDataDialog, seen, [&](QFileDialog& fd) { static_cast<QDialog&>(fd).accept(); }));
  EXPECT_EQ(QString::fromStdString(S.SaveDataDialog.FileName), At("pic.tlo"));

  S.SaveDataDialog.FileName = At("pic.TLO").toStdString();
  ASSERT_TRUE(RunDialog(S.SaveDataDialog, seen, [&](QFileDialog& fd) { static_cast<QDialog&>(fd).accept(); }));
  EXPECT_EQ(QString::fromStdString(S.SaveDataDialog.FileName), At("pic.TLO"));

  S.SaveDataDialog.FileName = At("none").toStdString();
  EXPECT_FALSE(RunDialog(S.SaveDataDialog, seen, [&](QFileDialog& fd) { fd.reject(); }));
}

TEST_F(QtFileDialogs, PictureDialogsKeepTheirFilterIndex) {
  AppState S;
  QFile jpeg(At("bg.JPG"));
  ASSERT_TRUE(jpeg.open(QIODevice::WriteOnly));
  jpeg.close();

  SeenSteps seen;
  S.OpenBGDialog.FileName = At("bg.JPG").toStdString();
  S.OpenBGDialog.FilterIndex = 2;
  ASSERT_TRUE(RunDialog(S.OpenBGDialog, seen, [&](QFileDialog& fd) { static_cast<QDialog&>(fd).accept(); }));
  EXPECT_EQ(seen.Shown, (QStringList{QString::fromUtf8("ビットマップ（*.bmp）"), QString::fromUtf8("JPEGファイル（*.jpg）")}));
  EXPECT_EQ(seen.Current, QString::fromUtf8("JPEGファイル（*.jpg）"));
  EXPECT_EQ(S.OpenBGDialog.FilterIndex, 2);

  S.SaveJPEGBGDialog.FileName = At("out").toStdString();
  ASSERT_TRUE(RunDialog(S.SaveJPEGBGDialog, seen, [&](QFileDialog& fd) { static_cast<QDialog&>(fd).accept(); }));
  EXPECT_EQ(QString::fromStdString(S.SaveJPEGBGDialog.FileName), At("out.jpg"));
  S.SaveBGDialog.FileName = At("out").toStdString();
  ASSERT_TRUE(RunDialog(S.SaveBGDialog, seen, [&](QFileDialog& fd) { static_cast<QDialog&>(fd).accept(); }));
  EXPECT_EQ(QString::fromStdString(S.SaveBGDialog.FileName), At("out.bmp"));
}

}  // namespace
