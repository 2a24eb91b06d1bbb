// The settings in the window: the file dialogs' first folder and the folder
// remembered, printing, the force-quit item, the play speed kept per user,
// and the kiosk mode (no way out but the adult's keys, saves only into the
// folder).
#include <QCloseEvent>
#include <QSettings>
#include <QShortcut>

#include "io/settings.h"
#include "support/file_fixture.h"
#include "ui/folder_dialogs.h"

namespace {

class SettingsWindowTest : public FileTest {
 protected:
  QTemporaryDir Config;
  QString UserFile() const { return Config.filePath("user/tamlo/tamlo.conf"); }
  QString SystemFile() const { return Config.filePath("etc/tamlo/tamlo.conf"); }
  QString Folder() const { return Dir.filePath("class"); }
  std::unique_ptr<Settings> Set;

  // The school's file (the folder inside the test's folder, plus `more`),
  // then the settings applied to the window.
  void Apply(const QByteArray& more = {}, bool kiosk = false) {
    QDir().mkpath(Config.filePath("etc/tamlo"));
    QFile f(SystemFile());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[files]\nfolder=" + Folder().toUtf8() + "\n" + more);
    f.close();
    Set = std::make_unique<Settings>(UserFile(), QStringList{SystemFile()});
    if (kiosk) Set->ForceKiosk();
    Window->ApplySettings(*Set);
  }
  QVariant UserValue(const char* key) const { return QSettings(UserFile(), QSettings::IniFormat).value(key); }
};

TEST_F(SettingsWindowTest, DialogsOpenInTheFolderAndTheFolderChosenIsKept) {
  Apply();
  DrawRects(1);
  QDir().mkpath(Path("mine"));
  Choose("mine/a.tlo");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "WriteDataMenu")));
  // The first dialog opened in the school's folder, made for it.
  ASSERT_EQ(Dialogs.DialogsRun.size(), 1u);
  EXPECT_EQ(QString::fromStdString(Dialogs.DialogsRun[0].FileName), Folder() + "/");
  EXPECT_TRUE(QDir(Folder()).exists());
  EXPECT_TRUE(Exists("mine/a.tlo"));
  EXPECT_EQ(UserValue(settings_keys::kLastFolder).toString(), Path("mine"));
  EXPECT_EQ(Settings(UserFile(), {SystemFile()}).StartFolder(), Path("mine"));

  // A cancelled dialog keeps the name it had.
  CancelDialog();
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveScreenBmpMenu")));
  ASSERT_EQ(Dialogs.DialogsRun.size(), 2u);
  EXPECT_EQ(QString::fromStdString(Dialogs.DialogsRun[1].FileName), Path("mine") + "/");
  EXPECT_TRUE(MutableState(*Window).SaveBGDialog.FileName.empty());
}

TEST_F(SettingsWindowTest, ForceQuitItemAndPlaySpeedFollowTheSettings) {
  Apply("[menu]\nforceQuit=false\n[play]\nspeed=drawn\n[print]\nallowed=false\n");
  EXPECT_FALSE(Window->printingAllowed());
  EXPECT_FALSE(MenuAction(*Window, "PrintMenu")->isVisible());
  EXPECT_FALSE(MenuAction(*Window, "ExitByForce")->isVisible());
  EXPECT_FALSE(TriggerMenu(MenuAction(*Window, "ExitByForce")));
  EXPECT_EQ(Window->PlaySpeed(), PlaybackSpeed::AsDrawn);
  EXPECT_TRUE(Button(*Window, "AsDrawnBtn")->isChecked());

  DrawRects(2);
  ASSERT_TRUE(ClickButton(Button(*Window, "SelectPlayBtn")));
  ASSERT_TRUE(ClickButton(Button(*Window, "SpeedTwoBtn")));
  EXPECT_EQ(Window->PlaySpeed(), PlaybackSpeed::Two);
  EXPECT_EQ(UserValue(settings_keys::kPlaySpeed).toString(), "2");
  EXPECT_EQ(Settings(UserFile(), {SystemFile()}).PlaySpeed(), PlaySpeedSetting::Two);
}

TEST_F(SettingsWindowTest, KioskSavesOnlyInsideTheFolder) {
  Apply({}, true);
  DrawRects(1);
  // Outside: refused with a message, nothing written, the drawing unnamed.
  Choose("outside.tlo");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "WriteDataMenu")));
  EXPECT_FALSE(Exists("outside.tlo"));
  EXPECT_EQ(Dialogs.LastText(), FolderDialogs::OutsideFolderText(Folder()));
  EXPECT_TRUE(S().DataFileName().empty());
  // The dialog opened inside the folder.
  EXPECT_EQ(QString::fromStdString(Dialogs.DialogsRun.back().FileName), Folder() + "/");

  // Through a link in the folder that leads out: refused as well.
  QDir().mkpath(Path("elsewhere"));
  ASSERT_TRUE(QFile::link(Path("elsewhere"), Folder() + "/door"));
  Choose("class/door/x.bmp");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "SaveScreenBmpMenu")));
  EXPECT_FALSE(Exists("elsewhere/x.bmp"));

  // Inside: saved; the last folder is not kept in kiosk mode.
  Choose("class/mine.tlo");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "WriteDataMenu")));
  EXPECT_TRUE(Exists("class/mine.tlo"));
  EXPECT_FALSE(UserValue(settings_keys::kLastFolder).isValid());
  // A drawing opened from outside is not overwritten there: the dialog
  // offers its name inside the folder.
  const QByteArray oldText = DrawingFileText({RectRecord(1, 5, 5, 40, 40)});
  WriteFile("old.tlo", oldText);
  Answer(ModalResult::Yes);
  Window->OpenFileByPath(Path("old.tlo"));
  ASSERT_EQ(S().DataFileName(), Path("old.tlo").toStdString());
  DrawRects(1);
  CancelDialog();
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "OverWriteDataMenu")));
  EXPECT_EQ(QString::fromStdString(Dialogs.DialogsRun.back().FileName), Folder() + "/old.tlo");
  Choose("class/old.tlo");
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "OverWriteDataMenu")));
  EXPECT_EQ(ReadFile("old.tlo"), oldText);
  EXPECT_TRUE(Exists("class/old.tlo"));
  EXPECT_EQ(S().DataFileName(), Path("class/old.tlo").toStdString());
}

TEST_F(SettingsWindowTest, KioskLeavesOnlyByTheAdultsKeys) {
  Apply("[kiosk]\nenabled=true\nexitKeys=Ctrl+Alt+Shift+F12\n");
  EXPECT_FALSE(MenuAction(*Window, "ExitByForce")->isVisible());
  EXPECT_FALSE(TriggerMenu(MenuAction(*Window, "ExitByForce")));
  EXPECT_FALSE(TriggerMenu(MenuAction(*Window, "ExitMenu")));
  // Taken out of full screen, the window goes back to it.
  Window->showFullScreen();
  Window->showNormal();
  QCoreApplication::processEvents();
  EXPECT_TRUE(Window->isFullScreen());
  DrawRects(1);
  // Closing the window does nothing at all: no question, no end.
  EXPECT_FALSE(Window->close());
  EXPECT_TRUE(Window->isVisible());
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_TRUE(ExitCodes.empty());
  // Other keys do nothing either; the adult's keys run the usual exit
  // sequence with its save question.
  QTest::keyClick(Canvas(*Window), Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_TRUE(ExitCodes.empty());
  Answer(ModalResult::No);
  QTest::keyClick(Canvas(*Window), Qt::Key_F12, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
  ASSERT_EQ(Dialogs.Shown.size(), 1u);
  EXPECT_EQ(Dialogs.Shown[0].text, "Tamloをおわる前にえをほぞんしますか？");
  EXPECT_EQ(ExitCodes, std::vector<int>{0});
}

}  // namespace
