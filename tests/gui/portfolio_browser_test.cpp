// The portfolio in a real browser: headless Chromium loads the index and
// every drawing's page from the disk, with no network, and a check script
// put into a copy of each page reports every picture decoded, every video's
// length, size and frames as played, and every error the page had. Skipped
// where no Chromium is installed (the set-up script installs it).
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include "batch_run.h"
#include "support/file_fixture.h"

namespace {

const char* const kChromium = "/usr/bin/chromium";

// Runs before anything else of the page: notes every error (a file that
// does not load, a script error, a console error); once the page has loaded,
// decodes every picture and the video's poster, plays every video through
// (fast, muted) and counts its frames, then logs one console line per
// finding, "tamlo-check …", the last one "tamlo-check end".
const char* const kCheckScript = R"js(<script>
(function () {
  const problems = [];
  window.addEventListener('error', e => {
    const t = e.target;
    problems.push('problem ' + (t && t !== window ? (t.currentSrc || t.src || t.tagName) : e.message));
  }, true);
  const consoleError = console.error;
  console.error = (...a) => { problems.push('problem console ' + a.join(' ')); consoleError.apply(console, a); };
  const decode = async (src, what) => {
    const img = new Image();
    img.src = src;
    try { await img.decode(); return what + ' ' + src.split('/').slice(-2).join('/') + ' ' + img.naturalWidth + 'x' + img.naturalHeight; }
    catch (e) { return 'broken ' + what + ' ' + src; }
  };
  window.addEventListener('load', async () => {
    const lines = [];
    for (const img of Array.from(document.images)) lines.push(await decode(img.currentSrc || img.src, 'image'));
    for (const v of Array.from(document.querySelectorAll('video'))) {
      if (v.poster) lines.push(await decode(v.poster, 'poster'));
      if (v.readyState < 1)
        await new Promise(r => { v.addEventListener('loadedmetadata', r, {once: true}); v.addEventListener('error', r, {once: true}); });
      lines.push('video ' + v.videoWidth + 'x' + v.videoHeight + ' duration ' + v.duration);
      v.muted = true;
      v.playbackRate = 8;
      await new Promise(r => {
        v.addEventListener('ended', r, {once: true});
        v.addEventListener('error', r, {once: true});
        v.play().catch(e => { lines.push('problem play ' + e); r(); });
      });
      const q = v.getVideoPlaybackQuality();
      lines.push('frames ' + q.totalVideoFrames + ' ended ' + v.ended);
    }
    for (const line of lines.concat(problems, ['end'])) console.log('tamlo-check ' + line);
  });
})();
</script>)js";

struct PageCheck {
  bool Ran = false;
  QStringList Lines;  // what the check script found
  QString Log;        // Chromium's output
};

class PortfolioBrowserTest : public BatchFolderTest {
 protected:
  void SetUp() override {
    if (!QFileInfo(kChromium).isExecutable()) GTEST_SKIP() << "no Chromium at " << kChromium;
  }
  void WriteRects(const QString& name, int rects) {
    QStringList lines{"TAMLO FILE FORMAT 1.2"};
    for (int i = 1; i <= rects; ++i) lines += RectRecord(i, 20 * i, 60 + 15 * i, 40 + 20 * i, 110 + 15 * i);
    WriteFile(name, (lines.join("\r\n") + "\r\n").toUtf8());
  }

  // Loads a copy of `page` with the check script in Chromium.
  PageCheck Check(const QString& page) {
    PageCheck result;
    QString html = QString::fromUtf8(ReadFile(page));
    const qsizetype head = html.indexOf("<head>");
    if (head < 0) return result;
    html.insert(head + 6, QString::fromUtf8(kCheckScript));
    const QString copy = QFileInfo(Path(page)).absolutePath() + "/tamlo-check.html";
    QFile f(copy);
    if (!f.open(QIODevice::WriteOnly) || f.write(html.toUtf8()) < 0) return result;
    f.close();

    // The page is played in real time (no virtual time: a video would not
    // wait for it) and Chromium is ended once the page has said all.
    QTemporaryDir profile;
    QProcess chromium;
    chromium.setProcessChannelMode(QProcess::MergedChannels);
    chromium.start(kChromium, {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                               "--disable-background-networking", "--disable-component-update", "--disable-sync",
                               "--user-data-dir=" + profile.path(), "--autoplay-policy=no-user-gesture-required",
                               "--enable-logging=stderr", "--v=0",
                               QUrl::fromLocalFile(copy).toString(QUrl::FullyEncoded)});
    const QDeadlineTimer limit(100000);
    QByteArray log;
    while (!log.contains("\"tamlo-check end\"") && !limit.hasExpired() && chromium.state() != QProcess::NotRunning) {
      chromium.waitForReadyRead(1000);
      log += chromium.readAll();
    }
    chromium.terminate();
    if (!chromium.waitForFinished(20000)) chromium.kill(), chromium.waitForFinished();
    log += chromium.readAll();
    QFile::remove(copy);
    result.Log = QString::fromUtf8(log);
    static const QRegularExpression line(QStringLiteral("\"tamlo-check ([^\"]*)\""));
    for (const QRegularExpressionMatch& m : line.globalMatch(result.Log)) result.Lines += m.captured(1);
    result.Ran = result.Lines.contains(QStringLiteral("end"));
    result.Lines.removeAll(QStringLiteral("end"));
    return result;
  }
  // Every console message Chromium logged but the check script's: the
  // pages have no script, so any message is an error (an uncaught one, a
  // file not found, …).
  static QStringList ConsoleMessages(const QString& log) {
    QStringList messages;
    for (const QString& line : log.split('\n'))
      if (line.contains(":CONSOLE") && !line.contains("\"tamlo-check ")) messages += line;
    return messages;
  }
};

TEST_F(PortfolioBrowserTest, EveryPictureDecodesAndEveryVideoPlaysItsFrames) {
  WriteRects("class/はなこ.tlo", 7);
  WriteRects("class/taro #1.tlo", 3);
  WriteFile("class/こわれた.tlo", "damaged");
  const BatchRun r = Run({"--portfolio", "site/", "--pace", "8", "--hold", "1", "class"});
  ASSERT_EQ(r.Status, 1) << r.Err.toStdString();

  const PageCheck index = Check("site/index.html");
  ASSERT_TRUE(index.Ran) << index.Log.toStdString();
  EXPECT_EQ(index.Lines.filter(QRegularExpression("^image .*/thumbnail.png 320x240$")).size(), 2) << index.Lines.join('\n').toStdString();
  EXPECT_TRUE(index.Lines.filter("problem").isEmpty()) << index.Lines.join('\n').toStdString();
  EXPECT_TRUE(index.Lines.filter("broken").isEmpty()) << index.Lines.join('\n').toStdString();
  EXPECT_EQ(ConsoleMessages(index.Log), QStringList());

  const struct {
    const char* Folder;
    int Steps;
  } drawings[] = {{"site/はなこ", 7}, {"site/taro #1", 3}};
  for (const auto& d : drawings) {
    SCOPED_TRACE(d.Folder);
    const PageCheck page = Check(QString::fromUtf8(d.Folder) + "/index.html");
    ASSERT_TRUE(page.Ran) << page.Log.toStdString();
    const std::string lines = page.Lines.join('\n').toStdString();
    EXPECT_TRUE(page.Lines.filter("problem").isEmpty()) << lines;
    EXPECT_TRUE(page.Lines.filter("broken").isEmpty()) << lines;
    EXPECT_EQ(page.Lines.filter(QRegularExpression("^image .*/picture.png 1280x960$")).size(), 1) << lines;
    EXPECT_EQ(page.Lines.filter(QRegularExpression("^image .*/step-\\d{4}.png 320x240$")).size(), d.Steps) << lines;
    EXPECT_EQ(page.Lines.filter(QRegularExpression("^poster .*/poster.png 640x480$")).size(), 1) << lines;
    // The video: its size, its length (a step an eighth of a second, the
    // last one held a second) and a frame a step.
    const QStringList video = page.Lines.filter(QRegularExpression("^video "));
    ASSERT_EQ(video.size(), 1) << lines;
    const QStringList words = video[0].split(' ');
    EXPECT_EQ(words.value(1), "640x480");
    EXPECT_NEAR(words.value(3).toDouble(), (d.Steps - 1) / 8.0 + 1.0, 0.05) << lines;
    EXPECT_EQ(page.Lines.filter(QRegularExpression("^frames ")).value(0), QStringLiteral("frames %1 ended true").arg(d.Steps));
    EXPECT_EQ(ConsoleMessages(page.Log), QStringList());
  }
}

// HTML Tidy (installed by the set-up script) reads every page as HTML5:
// no error and no warning. Its version 5.6 predates "playsinline" (part of
// HTML since 2016), which phones need to play the video in the page: that
// one warning is let through.
TEST_F(PortfolioBrowserTest, EveryPageIsValidHTML5ForTidy) {
  if (!QFileInfo("/usr/bin/tidy").isExecutable()) GTEST_SKIP() << "no /usr/bin/tidy";
  WriteRects("はなこ.tlo", 4);
  WriteFile("こわれた.tlo", "damaged");
  WriteFile("empty.tlo", DrawingFileText({}));
  ASSERT_EQ(Run({"--portfolio", "site/", "--title", "<1ねん> & \"2くみ\"", "はなこ.tlo", "こわれた.tlo", "empty.tlo"}).Status, 1);
  for (const QString page : {"site/index.html", "site/はなこ/index.html", "site/empty/index.html"}) {
    SCOPED_TRACE(page.toStdString());
    QProcess tidy;
    tidy.start("/usr/bin/tidy", {"-q", "-e", "-utf8", Path(page)});
    ASSERT_TRUE(tidy.waitForFinished(60000));
    QStringList complaints;
    for (const QString& line : QString::fromUtf8(tidy.readAllStandardError()).split('\n', Qt::SkipEmptyParts))
      if (!line.contains("proprietary attribute \"playsinline\"")) complaints += line;
    EXPECT_EQ(complaints, QStringList());
  }
}

}  // namespace
