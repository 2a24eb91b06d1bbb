// The pages of a class portfolio: an offline web site for parents and
// teachers. The index has one card per drawing; every drawing has a page of
// its own in a folder of its own, with the final picture, the making-of
// video, a strip of pictures along its steps and the drawing file itself.
// Everything a page uses is in the portfolio's folder (no script, font or
// style from the network), so the folder can be copied, zipped or put on a
// stick and opened in any browser.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// The files in a drawing's folder (besides the drawing under its own name).
inline constexpr const char* kPortfolioPage = "index.html";
inline constexpr const char* kPortfolioPicture = "picture.png";     // the final picture at 2×
inline constexpr const char* kPortfolioPoster = "poster.png";       // the final picture at 1×, the video's poster
inline constexpr const char* kPortfolioThumbnail = "thumbnail.png"; // the index card's picture
inline constexpr const char* kPortfolioVideo = "video.mp4";

// Size of the index card's picture and of the strip's pictures (half the
// canvas: shown at half of that on the page, so crisp at 2×).
constexpr int kPortfolioThumbWidth = 320;
constexpr int kPortfolioThumbHeight = 240;

// The steps the strip shows for a drawing of `count` steps: every tenth of
// them, the last step last; fewer for a drawing of fewer than ten steps
// (each step once). Empty for no steps.
std::vector<int> PortfolioStripSteps(int count);
// The file of the strip's picture of step n: "step-0042.png".
QString PortfolioStripPicture(int step);

struct PortfolioDrawing {
  QString Name;    // shown: the file name without its extension
  QString Folder;  // the drawing's folder in the portfolio (a file name)
  bool Made = false;  // false: only the card, saying why in Problem
  QString Problem;
  QString DrawingFile;  // the copy of the drawing in its folder (a file name)
  int Steps = 0;
  QString LastChange;  // the day of the drawing file's last change, "2026-12-08"
  int Width = 640, Height = 480;  // of the canvas, at 1×
};

// Text for HTML's content and attribute values: & < > " ' escaped.
QString HtmlText(const QString& text);
// One part of a relative address: every byte that is not unreserved
// percent-encoded (UTF-8), so that any file name links right.
QString UrlPart(const QString& name);

// The index: a card per drawing (its picture, name, steps, day of the last
// change; a card without a page says the drawing could not be made).
QByteArray PortfolioIndexPage(const QString& title, const std::vector<PortfolioDrawing>& drawings);
// A drawing's page (only for a drawing that was made).
QByteArray PortfolioDrawingPage(const QString& title, const PortfolioDrawing& drawing);
