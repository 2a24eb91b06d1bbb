// The settings files: where they are, which one wins, the lock a school's
// system file puts on a key, values that do not read, and what is kept per
// user. Each test has its own XDG_CONFIG_HOME, XDG_CONFIG_DIRS and HOME in
// a temporary folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "batch/batch_args.h"
#include "io/settings.h"

namespace {

namespace k = settings_keys;

class SettingsTest : public ::testing::Test {
 protected:
  QTemporaryDir Root;
  QString Home, UserConfig, System1, System2;
  QByteArray savedHome, savedConfigHome, savedConfigDirs;

  void SetUp() override {
    savedHome = qgetenv("HOME");
    savedConfigHome = qgetenv("XDG_CONFIG_HOME");
    savedConfigDirs = qgetenv("XDG_CONFIG_DIRS");
    Home = Root.path() + "/home";
    UserConfig = Root.path() + "/config";
    System1 = Root.path() + "/etc1";
    System2 = Root.path() + "/etc2";
    QDir().mkpath(Home);
    qputenv("HOME", QFile::encodeName(Home));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(UserConfig));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(System1 + ":relative/ignored:" + System2));
  }
  void TearDown() override {
    auto restore = [](const char* name, const QByteArray& value) {
      if (value.isNull())
        qunsetenv(name);
      else
        qputenv(name, value);
    };
    restore("HOME", savedHome);
    restore("XDG_CONFIG_HOME", savedConfigHome);
    restore("XDG_CONFIG_DIRS", savedConfigDirs);
  }

  static void Write(const QString& folder, const QByteArray& text) {
    QDir().mkpath(folder + "/tamlo");
    QFile f(folder + "/tamlo/tamlo.conf");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
  }
  static QString Read(const QString& folder) {
    QFile f(folder + "/tamlo/tamlo.conf");
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
  }
};

TEST_F(SettingsTest, FilesFollowTheXdgVariables) {
  EXPECT_EQ(Settings::UserFilePath(), UserConfig + "/tamlo/tamlo.conf");
  // The first folder of XDG_CONFIG_DIRS first; relative entries are skipped.
  EXPECT_EQ(Settings::SystemFilePaths(), QStringList({System1 + "/tamlo/tamlo.conf", System2 + "/tamlo/tamlo.conf"}));

  qunsetenv("XDG_CONFIG_HOME");
  qunsetenv("XDG_CONFIG_DIRS");
  EXPECT_EQ(Settings::UserFilePath(), Home + "/.config/tamlo/tamlo.conf");
  EXPECT_EQ(Settings::SystemFilePaths(), QStringList({"/etc/xdg/tamlo/tamlo.conf"}));
  qputenv("XDG_CONFIG_HOME", "not/absolute");
  EXPECT_EQ(Settings::UserFilePath(), Home + "/.config/tamlo/tamlo.conf");
}

TEST_F(SettingsTest, DefaultsWithoutAnyFile) {
  Settings s;
  EXPECT_EQ(s.Folder(), Home + "/Pictures/Tamlo");
  EXPECT_TRUE(s.PrintingAllowed());
  EXPECT_TRUE(s.ForceQuitShown());
  EXPECT_FALSE(s.FullScreen());
  EXPECT_EQ(s.PlaySpeed(), PlaySpeedSetting::One);
  EXPECT_EQ(s.VideoPace().Kind, PaceKind::Fixed);
  EXPECT_EQ(s.VideoPace().StepsPerSecond, 4);
  EXPECT_EQ(s.InterfaceLanguage(), QString());
  EXPECT_FALSE(s.Kiosk());
  EXPECT_EQ(s.KioskExitKeys(), "Ctrl+Alt+Shift+Q");
  // Reading writes nothing; the folder is made on first use.
  EXPECT_FALSE(QFile::exists(Settings::UserFilePath()));
  EXPECT_FALSE(QDir(s.Folder()).exists());
  EXPECT_EQ(s.StartFolder(), Home + "/Pictures/Tamlo");
  EXPECT_TRUE(QDir(s.Folder()).exists());
}

TEST_F(SettingsTest, EveryKeyReadsFromTheFiles) {
  Write(System1,
        "[files]\nfolder=~/Bilder/Klasse 2\n[print]\nallowed=false\n[menu]\nforceQuit=no\n"
        "[window]\nfullScreen=true\n[play]\nspeed=drawn\n[video]\npace=0.5\n[ui]\nlanguage=EN\n"
        "[kiosk]\nexitKeys=Ctrl+Alt+F12\n");
  Settings s;
  EXPECT_EQ(s.Folder(), Home + "/Bilder/Klasse 2");
  EXPECT_FALSE(s.PrintingAllowed());
  EXPECT_FALSE(s.ForceQuitShown());
  EXPECT_TRUE(s.FullScreen());
  EXPECT_EQ(s.PlaySpeed(), PlaySpeedSetting::AsDrawn);
  EXPECT_EQ(s.VideoPace().StepsPerSecond, 0.5);
  EXPECT_EQ(s.InterfaceLanguage(), "en");
  EXPECT_EQ(s.KioskExitKeys(), "Ctrl+Alt+F12");

  Write(System1, "[files]\nfolder=Zeichnungen\n[video]\npace=drawn\n");
  Settings relative;
  EXPECT_EQ(relative.Folder(), Home + "/Zeichnungen");  // from the home folder
  EXPECT_EQ(relative.VideoPace().Kind, PaceKind::AsDrawn);
}

TEST_F(SettingsTest, UserWinsOverSystemUnlessTheKeyIsLocked) {
  Write(System2, "[print]\nallowed=false\n[window]\nfullScreen=true\n");
  Write(UserConfig, "[print]\nallowed=true\n[window]\nfullScreen=false\n");
  EXPECT_TRUE(Settings().PrintingAllowed());
  EXPECT_FALSE(Settings().FullScreen());

  // A lock in any system file holds, with the value of the most important
  // system file that gives one.
  Write(System1, "[print]\nallowed=false\n[locked]\nkeys=window/fullScreen, print/allowed\n");
  Settings s;
  EXPECT_TRUE(s.IsLocked(k::kPrinting));
  EXPECT_TRUE(s.IsLocked(k::kFullScreen));
  EXPECT_FALSE(s.IsLocked(k::kPlaySpeed));
  EXPECT_FALSE(s.PrintingAllowed());
  EXPECT_TRUE(s.FullScreen());

  // The user's file cannot change a locked key, nor is it written there.
  const QString before = Read(UserConfig);
  EXPECT_FALSE(s.SetUserValue(k::kPrinting, true));
  EXPECT_EQ(Read(UserConfig), before);
  EXPECT_FALSE(s.PrintingAllowed());
  EXPECT_TRUE(s.SetUserValue(k::kLanguage, "en"));
  EXPECT_EQ(Settings().InterfaceLanguage(), "en");
}

TEST_F(SettingsTest, LockWithoutValueMeansTheDefaultAndStarLocksAll) {
  Write(UserConfig, "[menu]\nforceQuit=false\n[play]\nspeed=4\n[locked]\nkeys=*\n");
  EXPECT_FALSE(Settings().ForceQuitShown());  // a lock in the user's file means nothing
  Write(System1, "[locked]\nkeys=menu/forceQuit\n");
  EXPECT_TRUE(Settings().ForceQuitShown());
  EXPECT_EQ(Settings().PlaySpeed(), PlaySpeedSetting::Four);
  Write(System1, "[locked]\nkeys=*\n");
  EXPECT_EQ(Settings().PlaySpeed(), PlaySpeedSetting::One);
  Write(System1, "[locked]\nkeys=\"play/speed,menu/forceQuit\"\n");  // quoted: one entry with a comma
  EXPECT_EQ(Settings().PlaySpeed(), PlaySpeedSetting::One);
}

TEST_F(SettingsTest, ValuesThatDoNotReadCountAsNotGiven) {
  Write(System1, "[play]\nspeed=2\n[print]\nallowed=false\n[ui]\nlanguage=ja\n");
  Write(UserConfig,
        "[play]\nspeed=7\n[print]\nallowed=maybe\n[video]\npace=fast\n[ui]\nlanguage=fr\n[files]\nfolder=\n"
        "[kiosk]\nenabled=sometimes\n");
  Settings s;
  EXPECT_EQ(s.PlaySpeed(), PlaySpeedSetting::Two);
  EXPECT_FALSE(s.PrintingAllowed());
  EXPECT_EQ(s.VideoPace().StepsPerSecond, 4);
  EXPECT_EQ(s.InterfaceLanguage(), "ja");
  EXPECT_EQ(s.Folder(), Home + "/Pictures/Tamlo");
  EXPECT_FALSE(s.Kiosk());
  Write(UserConfig, "[video]\npace=1000\n");
  EXPECT_EQ(Settings().VideoPace().StepsPerSecond, 4);  // beyond the limit
}

TEST_F(SettingsTest, PlaySpeedAndLastFolderAreKeptPerUser) {
  Write(System1, "[play]\nspeed=2\n");
  {
    Settings s;
    s.SetPlaySpeed(PlaySpeedSetting::Two);  // what the school gives: nothing written
    EXPECT_FALSE(QFile::exists(Settings::UserFilePath()));
    s.SetPlaySpeed(PlaySpeedSetting::AsDrawn);
    s.SetLastFolder(Root.path());
  }
  Settings next;
  EXPECT_EQ(next.PlaySpeed(), PlaySpeedSetting::AsDrawn);
  EXPECT_EQ(next.StartFolder(), Root.path());

  // A last folder that is gone: the configured folder, made.
  next.SetLastFolder(Root.path() + "/gone");
  EXPECT_EQ(Settings().StartFolder(), Home + "/Pictures/Tamlo");

  // The school's folder locked or kiosk mode: always the configured folder,
  // and the last folder is no longer written.
  next.SetLastFolder(Root.path());
  Write(System1, "[files]\nfolder=/tmp/../" + Root.path().toUtf8() + "/class\n[locked]\nkeys=files/folder\n");
  Settings locked;
  EXPECT_EQ(locked.StartFolder(), Root.path() + "/class");
  const QString before = Read(UserConfig);
  locked.SetLastFolder(Home);
  EXPECT_EQ(Read(UserConfig), before);
  Write(System1, "[kiosk]\nenabled=true\n");
  Settings kiosk;
  EXPECT_TRUE(kiosk.Kiosk());
  EXPECT_EQ(kiosk.StartFolder(), Home + "/Pictures/Tamlo");
}

TEST_F(SettingsTest, KioskModeRulesOverTheKeys) {
  Write(System1, "[menu]\nforceQuit=true\n[window]\nfullScreen=false\n");
  Settings s;
  EXPECT_FALSE(s.Kiosk());
  s.ForceKiosk();  // --kiosk
  EXPECT_TRUE(s.Kiosk());
  EXPECT_FALSE(s.ForceQuitShown());
  EXPECT_TRUE(s.FullScreen());
  // A school that locks kiosk mode off still lets --kiosk turn it on; a
  // child's file cannot turn it off when it is locked on.
  Write(System1, "[kiosk]\nenabled=true\n[locked]\nkeys=kiosk/enabled\n");
  Write(UserConfig, "[kiosk]\nenabled=false\n");
  EXPECT_TRUE(Settings().Kiosk());
}

TEST_F(SettingsTest, InFolderMeansInsideWithLinksResolved) {
  const QString folder = Root.path() + "/pics";
  Write(System1, ("[files]\nfolder=" + folder + "\n").toUtf8().constData());
  Settings s;
  ASSERT_EQ(s.EnsureFolder(), folder);
  EXPECT_TRUE(s.IsInFolder(folder + "/a.tlo"));
  EXPECT_TRUE(s.IsInFolder(folder + "/new/deeper/a.tlo"));  // folders not yet made
  EXPECT_FALSE(s.IsInFolder(folder));
  EXPECT_FALSE(s.IsInFolder(Root.path() + "/a.tlo"));
  EXPECT_FALSE(s.IsInFolder(folder + "2/a.tlo"));  // a name that merely starts alike
  EXPECT_FALSE(s.IsInFolder(folder + "/../a.tlo"));
  // A link inside that points outside is outside, and the other way round.
  QDir().mkpath(Root.path() + "/outside");
  ASSERT_TRUE(QFile::link(Root.path() + "/outside", folder + "/door"));
  ASSERT_TRUE(QFile::link(Root.path() + "/outside/x.tlo", folder + "/x.tlo"));
  EXPECT_FALSE(s.IsInFolder(folder + "/door/a.tlo"));
  EXPECT_FALSE(s.IsInFolder(folder + "/x.tlo"));
  ASSERT_TRUE(QFile::link(folder, Root.path() + "/shortcut"));
  EXPECT_TRUE(s.IsInFolder(Root.path() + "/shortcut/a.tlo"));
}

TEST(KioskOption, BelongsToTheWindowNotTheBatchMode) {
  EXPECT_FALSE(batch::IsBatchOption("--kiosk"));
  EXPECT_TRUE(batch::IsBatchOption("--export-png"));
  batch::BatchArgs args;
  const QString bad = batch::ParseArgs({"--kiosk", "--export-png", "out.png", "in.tlo"}, args);
  EXPECT_TRUE(bad.contains("--kiosk")) << bad.toStdString();
  EXPECT_TRUE(QString(batch::kUsage).contains("--kiosk"));
}

}  // namespace
