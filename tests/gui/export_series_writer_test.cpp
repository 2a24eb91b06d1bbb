// The whole-process series is encoded and written beside the composition of
// the next steps: its files must be byte for byte those of writing each
// step's picture in turn, take their names in step order, and nothing may
// happen to any name after the first picture that fails.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

#include "history/play.h"
#include "io/exports.h"
#include "io/picture.h"
#include "io/picture_store.h"
#include "io/replay_walker.h"
#include "support/random_actions.h"
#include "support/scripted_dialogs.h"

namespace {

struct Drawing {
  AppState S;
  PictureStore Pictures{S};
  ScriptedDialogs Dialogs;
  std::unique_ptr<RandomSession> Session;
  Drawing(uint32_t seed, int records) {
    S.Pictures = &Pictures;
    S.Dialogs = &Dialogs;
    Session = std::make_unique<RandomSession>(S, seed, true);
    for (int k = 0; k < records; ++k) Session->Step();
    // Nothing selected, as the window's command leaves it before a series.
    S.SelectedFig = nullptr;
    S.MarkedFig = nullptr;
  }
  // The numbered series of the drawing, made on a copy of it as the window
  // and the batch mode make it.
  bool Series(const std::string& base, const std::function<bool(int, int)>& progress = {}) {
    ReplayWalker walker(S.History(), Dialogs);
    return ExportProcess(walker, Dialogs, base, progress);
  }
};

class SeriesWriterTest : public ::testing::Test {
 protected:
  QTemporaryDir Dir;

  QString Path(const QString& name) const { return Dir.filePath(name); }
  std::string Base(const QString& name) const { return Path(name).toStdString(); }
  static QString Name(const QString& base, int n) { return QStringLiteral("%1%2.jpg").arg(base).arg(n, 3, 10, QChar(u'0')); }
  QByteArray Read(const QString& name) const {
    QFile f(Path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  QStringList Entries() const {
    return QDir(Dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
  }

  // Each step's picture written on its own, one after the other, as
  // `prefix`001.jpg, …: what the series must equal.
  void WriteOneByOne(Drawing& d, const QString& prefix) {
    ShowBlankBackground(d.S);
    for (int n = 1; n <= d.S.History().Count(); ++n) {
      GoToStep(d.S, n);
      ASSERT_TRUE(WriteJPEG(Path(Name(prefix, n)).toStdString(), d.Pictures.WorkBitmap).Ok);
    }
    GoToStep(d.S, d.S.History().Count());
  }
};

TEST_F(SeriesWriterTest, EveryPictureEqualsTheOneWrittenAlone) {
  for (uint32_t seed : {3u, 17u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Drawing d(seed, 60);
    // Start from an earlier step, as after the view mode.
    GoToStep(d.S, 20);
    const QString series = QStringLiteral("s%1_").arg(seed), alone = QStringLiteral("a%1_").arg(seed);
    const QImage shown = d.Pictures.WorkBitmap.copy();
    ASSERT_TRUE(d.Series(Base(series)));
    EXPECT_TRUE(d.Dialogs.Shown.empty());
    // The series walked a copy: the drawing is as it was, at its step.
    EXPECT_EQ(d.S.CurrentStep(), 20);
    EXPECT_TRUE(shown == d.Pictures.WorkBitmap);
    WriteOneByOne(d, alone);
    for (int n = 1; n <= 60; ++n) {
      const QByteArray bytes = Read(Name(series, n));
      ASSERT_FALSE(bytes.isEmpty()) << "step " << n;
      EXPECT_TRUE(bytes == Read(Name(alone, n))) << "step " << n << " differs";
    }
    EXPECT_FALSE(QFile::exists(Path(Name(series, 61))));
  }
  for (const QString& name : Entries()) EXPECT_FALSE(name.endsWith(".tmp")) << name.toStdString();
}

// A picture that cannot take its name (a folder has it) ends the series with
// one error box naming it; the pictures before it are written, no name
// after it is touched, even those whose pictures were already encoded, and
// no temporary file stays.
TEST_F(SeriesWriterTest, TheFirstFailureEndsTheSeriesAndNothingAfterItIsTouched) {
  Drawing d(5, 40);
  ASSERT_TRUE(QDir(Dir.path()).mkdir("p007.jpg"));
  QFile later(Path("p009.jpg"));
  ASSERT_TRUE(later.open(QIODevice::WriteOnly));
  later.write("an older picture");
  later.close();
  ASSERT_TRUE(QDir(Dir.path()).mkdir("p012.jpg"));  // a second failure, never reached

  std::vector<int> asked;
  const bool done = d.Series(Base("p"), [&](int n, int) {
    asked.push_back(n);
    return true;
  });
  EXPECT_FALSE(done);
  ASSERT_EQ(d.Dialogs.Shown.size(), 1u);
  EXPECT_EQ(d.Dialogs.Shown[0].kind, ShownBox::Error);
  EXPECT_EQ(d.Dialogs.Shown[0].text, CannotCreateText(Path("p007.jpg").toStdString()));
  EXPECT_EQ(Entries(), (QStringList{"p001.jpg", "p002.jpg", "p003.jpg", "p004.jpg", "p005.jpg", "p006.jpg",
                                    "p007.jpg", "p009.jpg", "p012.jpg"}));
  EXPECT_EQ(Read("p009.jpg"), QByteArray("an older picture"));
  EXPECT_TRUE(QFileInfo(Path("p007.jpg")).isDir());
  // The steps asked for ran in order from the first, and stopped soon after
  // the failure.
  ASSERT_GE(asked.size(), 7u);
  for (size_t k = 0; k < asked.size(); ++k) EXPECT_EQ(asked[k], int(k) + 1);
  EXPECT_LT(asked.size(), 40u);
  EXPECT_EQ(d.S.CurrentStep(), d.S.History().Count());  // as it was
}

// Stopped at step n, the series holds exactly the pictures of the steps
// before it, each equal to the one written alone, even when the stop comes
// while several of them are still being encoded.
TEST_F(SeriesWriterTest, AStoppedSeriesHoldsEveryPictureShownBeforeTheStop) {
  Drawing d(9, 30);
  WriteOneByOne(d, "a");
  for (int stop : {1, 2, 5, 30}) {
    SCOPED_TRACE("stop at " + std::to_string(stop));
    const QString base = QStringLiteral("c%1_").arg(stop);
    const bool done = d.Series(Base(base), [&](int n, int) { return n < stop; });
    EXPECT_FALSE(done);
    EXPECT_TRUE(d.Dialogs.Shown.empty());
    for (int n = 1; n < stop; ++n) EXPECT_TRUE(Read(Name(base, n)) == Read(Name("a", n))) << "step " << n;
    EXPECT_FALSE(QFile::exists(Path(Name(base, stop))));
  }
  for (const QString& name : Entries()) EXPECT_FALSE(name.endsWith(".tmp")) << name.toStdString();
}

// The same drawing exported twice in a row over its own names: the second
// series replaces the first's files with the same bytes.
TEST_F(SeriesWriterTest, ASeriesWrittenAgainOverItselfIsUnchanged) {
  Drawing d(21, 25);
  ASSERT_TRUE(d.Series(Base("r")));
  std::vector<QByteArray> first;
  for (int n = 1; n <= 25; ++n) first.push_back(Read(Name("r", n)));
  ASSERT_TRUE(d.Series(Base("r")));
  for (int n = 1; n <= 25; ++n) EXPECT_TRUE(Read(Name("r", n)) == first[size_t(n - 1)]) << "step " << n;
  EXPECT_EQ(Entries().size(), 25u);
}

}  // namespace
