#include "io/portfolio_page.h"

#include <QStringList>

namespace {

// One style for every page, inside the page: a grid of cards that becomes
// one column on a phone; on paper, every drawing on a page of its own.
const char* const kStyle = R"css(
*{box-sizing:border-box}
body{margin:0;padding:1rem;font-family:sans-serif;background:#f4f1ea;color:#222;line-height:1.5}
h1{margin:0 0 1rem;font-size:1.6rem}
h2{font-size:1.2rem;margin:1.5rem 0 .5rem}
a{color:#1a55a8}
img,video{display:block;max-width:100%;height:auto;background:#fff}
.cards{list-style:none;margin:0;padding:0;display:grid;gap:1rem;grid-template-columns:repeat(auto-fill,minmax(min(100%,240px),1fr))}
.card{background:#fff;border-radius:.5rem;box-shadow:0 1px 3px #0003;overflow:hidden}
.card a{text-decoration:none;color:inherit;display:block}
.card img{width:100%}
.card .about{padding:.5rem .75rem}
.card .name{font-weight:bold;font-size:1.1rem;overflow-wrap:anywhere}
.card .facts{color:#555;font-size:.9rem}
.card.damaged .about{padding:1rem .75rem}
.card.damaged .problem{color:#a00;font-weight:bold}
.card.damaged .why{color:#555;font-size:.85rem;overflow-wrap:anywhere}
.back{display:inline-block;margin-bottom:.5rem}
.final{width:100%;max-width:640px}
.strip{list-style:none;margin:0;padding:0;display:grid;gap:.5rem;grid-template-columns:repeat(auto-fill,minmax(min(100%,120px),1fr))}
.strip figure{margin:0}
.strip img{width:100%}
.strip figcaption{text-align:center;font-size:.85rem;color:#555}
.download{display:inline-block;margin-top:1rem;padding:.5rem 1rem;background:#1a55a8;color:#fff;border-radius:.5rem;text-decoration:none}
@media (max-width:480px){body{padding:.5rem}h1{font-size:1.3rem}}
@media print{
body{background:#fff;padding:0}
.back,.download,video,.making-of{display:none}
.cards{display:block}
.card{box-shadow:none;break-after:page;page-break-after:always;break-inside:avoid}
.card img{max-width:100%}
.drawing{break-after:page;page-break-after:always}
.strip{grid-template-columns:repeat(5,1fr)}
}
)css";

QString Head(const QString& title) {
  return "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
         HtmlText(title) + "</title>\n<style>" + QString::fromUtf8(kStyle) + "</style>\n</head>\n";
}

QString Facts(const PortfolioDrawing& d) {
  QString text = QStringLiteral("%1 ステップ").arg(d.Steps);
  if (!d.LastChange.isEmpty())
    text += " ・ さいごに かいた ひ <time datetime=\"" + HtmlText(d.LastChange) + "\">" + HtmlText(d.LastChange) + "</time>";
  return text;
}

}  // namespace

std::vector<int> PortfolioStripSteps(int count) {
  std::vector<int> steps;
  for (int k = 1; k <= 10 && count > 0; ++k) {
    const int step = int((int64_t(k) * count + 9) / 10);
    if (steps.empty() || steps.back() != step) steps.push_back(step);
  }
  return steps;
}

QString PortfolioStripPicture(int step) { return QStringLiteral("step-%1.png").arg(step, 4, 10, QChar(u'0')); }

QString HtmlText(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (const QChar c : text) {
    switch (c.unicode()) {
      case u'&': out += QStringLiteral("&amp;"); break;
      case u'<': out += QStringLiteral("&lt;"); break;
      case u'>': out += QStringLiteral("&gt;"); break;
      case u'"': out += QStringLiteral("&quot;"); break;
      case u'\'': out += QStringLiteral("&#39;"); break;
      default: out += c;
    }
  }
  return out;
}

QString UrlPart(const QString& name) { return QString::fromLatin1(name.toUtf8().toPercentEncoding()); }

QByteArray PortfolioIndexPage(const QString& title, const std::vector<PortfolioDrawing>& drawings) {
  // Names and addresses are put in by concatenation, never by arg(): a name
  // such as "50%1" or an address's "%20" must stay as it is.
  QString html = Head(title);
  html += "<body>\n<h1>" + HtmlText(title) + "</h1>\n<ul class=\"cards\">\n";
  for (const PortfolioDrawing& d : drawings) {
    const QString name = HtmlText(d.Name);
    if (!d.Made) {
      html += "<li class=\"card damaged\"><div class=\"about\"><div class=\"name\">" + name +
              "</div><p class=\"problem\">この えは よみこめませんでした</p>";
      if (!d.Problem.isEmpty()) html += "<p class=\"why\">" + HtmlText(d.Problem) + "</p>";
      html += "</div></li>\n";
      continue;
    }
    const QString folder = UrlPart(d.Folder) + u'/';
    html += "<li class=\"card\"><a href=\"" + folder + kPortfolioPage + "\"><img src=\"" + folder + kPortfolioThumbnail +
            "\" srcset=\"" + folder + kPortfolioThumbnail + " 1x, " + folder + kPortfolioPoster + " 2x\" width=\"" +
            QString::number(kPortfolioThumbWidth) + "\" height=\"" + QString::number(kPortfolioThumbHeight) +
            "\" alt=\"" + name + "\"><div class=\"about\"><div class=\"name\">" + name +
            "</div><div class=\"facts\">" + Facts(d) + "</div></div></a></li>\n";
  }
  html += "</ul>\n</body>\n</html>\n";
  return html.toUtf8();
}

QByteArray PortfolioDrawingPage(const QString& title, const PortfolioDrawing& d) {
  const QString name = HtmlText(d.Name);
  const QString size = "width=\"" + QString::number(d.Width) + "\" height=\"" + QString::number(d.Height) + "\"";
  QString html = Head(d.Name + " - " + title);
  html += "<body>\n<a class=\"back\" href=\"../" + QString::fromLatin1(kPortfolioPage) + "\">← " + HtmlText(title) +
          "</a>\n<article class=\"drawing\">\n<h1>" + name + "</h1>\n";
  html += "<p class=\"facts\">" + Facts(d) + "</p>\n";
  // The final picture is stored at twice the canvas and shown at its size.
  html += "<h2>できあがり</h2>\n<img class=\"final\" src=\"" + QString::fromLatin1(kPortfolioPicture) + "\" " + size +
          " alt=\"" + name + "\">\n";
  if (d.Steps > 0) {
    const QString video = QString::fromLatin1(kPortfolioVideo);
    html += "<section class=\"making-of\">\n<h2>かいていく ようす</h2>\n<video class=\"final\" controls playsinline "
            "preload=\"metadata\" poster=\"" + QString::fromLatin1(kPortfolioPoster) + "\" " + size + "><source src=\"" +
            video + "\" type=\"video/mp4\"><a href=\"" + video + "\">" + video + "</a></video>\n</section>\n";
    html += "<h2>とちゅうの え</h2>\n<ol class=\"strip\">\n";
    for (const int step : PortfolioStripSteps(d.Steps)) {
      const QString n = QString::number(step);
      html += "<li><figure><img src=\"" + PortfolioStripPicture(step) + "\" width=\"" +
              QString::number(kPortfolioThumbWidth / 2) + "\" height=\"" + QString::number(kPortfolioThumbHeight / 2) +
              "\" alt=\"" + n + " ステップ め\"><figcaption>" + n + " / " + QString::number(d.Steps) +
              "</figcaption></figure></li>\n";
    }
    html += "</ol>\n";
  }
  html += "<a class=\"download\" href=\"" + UrlPart(d.DrawingFile) + "\" download=\"" + HtmlText(d.DrawingFile) +
          "\">えの ファイルを ダウンロード（" + HtmlText(d.DrawingFile) + "）</a>\n";
  html += "</article>\n</body>\n</html>\n";
  return html.toUtf8();
}
