// The portfolio's pages as text: the strip's steps, names and addresses
// that survive any file name, a card for every drawing (one that could not
// be made says so), and nothing that reaches outside the portfolio.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "io/portfolio_page.h"

namespace {

PortfolioDrawing Made(const QString& name, int steps) {
  PortfolioDrawing d;
  d.Name = name;
  d.Folder = name;
  d.Made = true;
  d.DrawingFile = name + ".tlo";
  d.Steps = steps;
  d.LastChange = "2026-12-08";
  return d;
}

// Every src and href of a page.
QStringList Addresses(const QString& html) {
  QStringList found;
  static const QRegularExpression attribute(QStringLiteral("(?:src|href|poster|srcset)=\"([^\"]*)\""));
  for (const QRegularExpressionMatch& m : attribute.globalMatch(html)) found += m.captured(1);
  return found;
}

TEST(PortfolioPage, TheStripShowsEveryTenthStepEndingWithTheLast) {
  EXPECT_EQ(PortfolioStripSteps(0), std::vector<int>{});
  EXPECT_EQ(PortfolioStripSteps(1), std::vector<int>{1});
  EXPECT_EQ(PortfolioStripSteps(4), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(PortfolioStripSteps(10), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(PortfolioStripSteps(300), (std::vector<int>{30, 60, 90, 120, 150, 180, 210, 240, 270, 300}));
  EXPECT_EQ(PortfolioStripSteps(25), (std::vector<int>{3, 5, 8, 10, 13, 15, 18, 20, 23, 25}));
  EXPECT_EQ(PortfolioStripPicture(42), "step-0042.png");
}

TEST(PortfolioPage, NamesAreEscapedAndAddressesEncodedWhateverTheFileName) {
  EXPECT_EQ(HtmlText("<a & \"b\" 'c'>"), "&lt;a &amp; &quot;b&quot; &#39;c&#39;&gt;");
  EXPECT_EQ(UrlPart("はな 50%#1?.tlo"), "%E3%81%AF%E3%81%AA%2050%25%231%3F.tlo");

  // A name with markup, a percent sign and an arg() marker stays as it is.
  const QString odd = QStringLiteral("<b>はなこ</b> 50%1 & %20");
  const QString index = QString::fromUtf8(PortfolioIndexPage("クラス", {Made(odd, 12)}));
  EXPECT_TRUE(index.contains("&lt;b&gt;はなこ&lt;/b&gt; 50%1 &amp; %20")) << index.toStdString();
  EXPECT_FALSE(index.contains("<b>"));
  EXPECT_TRUE(index.contains("href=\"%3Cb%3E%E3%81%AF%E3%81%AA%E3%81%93%3C%2Fb%3E%2050%251%20%26%20%2520/index.html\""))
      << index.toStdString();
  const QString page = QString::fromUtf8(PortfolioDrawingPage("クラス", Made(odd, 12)));
  EXPECT_TRUE(page.contains("<h1>&lt;b&gt;はなこ&lt;/b&gt; 50%1 &amp; %20</h1>"));
  EXPECT_TRUE(page.contains("<title>&lt;b&gt;はなこ&lt;/b&gt; 50%1 &amp; %20 - クラス</title>"));
}

TEST(PortfolioPage, EveryDrawingGetsACardAndADamagedOneSaysSo) {
  PortfolioDrawing broken;
  broken.Name = "こわれた";
  broken.Problem = "データ読み込みに失敗しました";
  const QString index = QString::fromUtf8(PortfolioIndexPage("1ねん2くみ", {Made("あ", 3), broken, Made("い", 0)}));
  EXPECT_TRUE(index.startsWith("<!DOCTYPE html>\n<html lang=\"ja\">"));
  EXPECT_TRUE(index.contains("<meta charset=\"utf-8\">"));
  EXPECT_TRUE(index.contains("name=\"viewport\""));
  EXPECT_TRUE(index.contains("@media print"));
  EXPECT_EQ(index.count("<li class=\"card"), 3);
  EXPECT_EQ(index.count("<li class=\"card damaged\">"), 1);
  EXPECT_TRUE(index.contains("この えは よみこめませんでした"));
  EXPECT_TRUE(index.contains("データ読み込みに失敗しました"));
  EXPECT_TRUE(index.contains("3 ステップ"));
  EXPECT_TRUE(index.contains("<time datetime=\"2026-12-08\">2026-12-08</time>"));
  // The damaged drawing links nowhere.
  EXPECT_FALSE(index.contains("%E3%81%93%E3%82%8F%E3%82%8C%E3%81%9F/"));
}

TEST(PortfolioPage, ADrawingsPageHasItsPictureVideoStripAndDownload) {
  const QString page = QString::fromUtf8(PortfolioDrawingPage("クラス", Made("はなこ", 25)));
  EXPECT_TRUE(page.contains("<img class=\"final\" src=\"picture.png\" width=\"640\" height=\"480\""));
  EXPECT_TRUE(page.contains("poster=\"poster.png\""));
  EXPECT_TRUE(page.contains("<source src=\"video.mp4\" type=\"video/mp4\">"));
  EXPECT_EQ(page.count("<figure>"), 10);
  EXPECT_TRUE(page.contains("src=\"step-0025.png\""));
  EXPECT_TRUE(page.contains("href=\"%E3%81%AF%E3%81%AA%E3%81%93.tlo\" download=\"はなこ.tlo\""));
  // Nothing but files of the portfolio: no scheme, no absolute path, and
  // only the index above the drawing's folder.
  for (const QString& page2 : {page, QString::fromUtf8(PortfolioIndexPage("クラス", {Made("はなこ", 25)}))})
    for (const QString& address : Addresses(page2)) {
      EXPECT_FALSE(address.contains(':')) << address.toStdString();
      EXPECT_FALSE(address.startsWith('/')) << address.toStdString();
      EXPECT_TRUE(!address.contains("..") || address == "../index.html") << address.toStdString();
    }
  EXPECT_FALSE(page.contains("<script"));
  EXPECT_FALSE(page.contains("@import"));
  EXPECT_FALSE(page.contains("url("));
  // A drawing without steps has no film and no strip.
  const QString empty = QString::fromUtf8(PortfolioDrawingPage("クラス", Made("から", 0)));
  EXPECT_FALSE(empty.contains("<video"));
  EXPECT_FALSE(empty.contains("<figure>"));
  EXPECT_TRUE(empty.contains("picture.png"));
}

}  // namespace
