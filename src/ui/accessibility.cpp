// What a screen reader says for each control: a short name and a longer
// description, in kana a child can read. The controls are found by their
// object names, so this list stays apart from the code that builds them.
#include <QAbstractButton>
#include <QAbstractSlider>

#include "ui/main_window.h"
#include "ui/paintbox.h"

namespace {

struct ControlText {
  const char* object;
  const char* name;
  const char* description;
};

// The colours of ColorPanel01 … ColorPanel16 by name, in the palette's order.
const char* const kColorNames[16] = {
    QT_TRANSLATE_NOOP("MainWindow", "しろ"),         QT_TRANSLATE_NOOP("MainWindow", "ももいろ"),
    QT_TRANSLATE_NOOP("MainWindow", "あか"),         QT_TRANSLATE_NOOP("MainWindow", "こい あか"),
    QT_TRANSLATE_NOOP("MainWindow", "あずきいろ"),   QT_TRANSLATE_NOOP("MainWindow", "みずいろ"),
    QT_TRANSLATE_NOOP("MainWindow", "あお"),         QT_TRANSLATE_NOOP("MainWindow", "むらさき"),
    QT_TRANSLATE_NOOP("MainWindow", "きいろ"),       QT_TRANSLATE_NOOP("MainWindow", "だいだいいろ"),
    QT_TRANSLATE_NOOP("MainWindow", "きみどり"),     QT_TRANSLATE_NOOP("MainWindow", "みどり"),
    QT_TRANSLATE_NOOP("MainWindow", "あおみどり"),   QT_TRANSLATE_NOOP("MainWindow", "うすい はいいろ"),
    QT_TRANSLATE_NOOP("MainWindow", "はいいろ"),     QT_TRANSLATE_NOOP("MainWindow", "くろ"),
};

const ControlText kControlTexts[] = {
    // The canvas and the text box.
    {"PaintBox", QT_TRANSLATE_NOOP("MainWindow", "がようし"),
     QT_TRANSLATE_NOOP("MainWindow", "えを かく ところ。やじるしキーで ゆびさきを うごかし、スペースキーで おす・はなす。エンターキーで いちど おす。")},
    {"InputEdit", QT_TRANSLATE_NOOP("MainWindow", "もじを かく はこ"),
     QT_TRANSLATE_NOOP("MainWindow", "もじを うって エンターキーで きめる。エスケープキーで やめる。")},
    // The tools of the draw mode.
    {"SelectionBtn", QT_TRANSLATE_NOOP("MainWindow", "えらぶ"), QT_TRANSLATE_NOOP("MainWindow", "かえたい かたちを えらぶ")},
    {"TextBtn", QT_TRANSLATE_NOOP("MainWindow", "もじ"), QT_TRANSLATE_NOOP("MainWindow", "もじを かく")},
    {"LineBtn", QT_TRANSLATE_NOOP("MainWindow", "まっすぐな せん"), QT_TRANSLATE_NOOP("MainWindow", "まっすぐな せんを かく")},
    {"FreeBtn", QT_TRANSLATE_NOOP("MainWindow", "じゆうな せん"), QT_TRANSLATE_NOOP("MainWindow", "じゆうに せんを かく")},
    {"OvalBtn", QT_TRANSLATE_NOOP("MainWindow", "まる"), QT_TRANSLATE_NOOP("MainWindow", "まるを かく")},
    {"RectBtn", QT_TRANSLATE_NOOP("MainWindow", "しかく"), QT_TRANSLATE_NOOP("MainWindow", "しかくを かく")},
    {"PolylineBtn", QT_TRANSLATE_NOOP("MainWindow", "おれせん"), QT_TRANSLATE_NOOP("MainWindow", "おれまがった せんを かく")},
    {"PolygonBtn", QT_TRANSLATE_NOOP("MainWindow", "かどの ある かたち"), QT_TRANSLATE_NOOP("MainWindow", "かどの ある かたちを かく")},
    {"StampBtn", QT_TRANSLATE_NOOP("MainWindow", "スタンプ"), QT_TRANSLATE_NOOP("MainWindow", "スタンプを おす")},
    {"SetStampBtn", QT_TRANSLATE_NOOP("MainWindow", "スタンプの せってい"),
     QT_TRANSLATE_NOOP("MainWindow", "かこんだ かたちを スタンプに する")},
    {"StampImage", QT_TRANSLATE_NOOP("MainWindow", "スタンプの みほん"), QT_TRANSLATE_NOOP("MainWindow", "いまの スタンプ")},
    // Undo and redo.
    {"UndoStepBtn", QT_TRANSLATE_NOOP("MainWindow", "もどす"), QT_TRANSLATE_NOOP("MainWindow", "ひとつ まえに もどす")},
    {"RedoStepBtn", QT_TRANSLATE_NOOP("MainWindow", "やりなおす"), QT_TRANSLATE_NOOP("MainWindow", "もどした ことを やりなおす")},
    // The edit commands.
    {"DupBtn", QT_TRANSLATE_NOOP("MainWindow", "ふやす"), QT_TRANSLATE_NOOP("MainWindow", "えらんだ かたちを ふやす")},
    {"DeleteBtn", QT_TRANSLATE_NOOP("MainWindow", "けす"), QT_TRANSLATE_NOOP("MainWindow", "えらんだ かたちを けす")},
    {"UndoBtn", QT_TRANSLATE_NOOP("MainWindow", "ふっかつ"), QT_TRANSLATE_NOOP("MainWindow", "けした かたちを もとに もどす")},
    {"FrontBtn", QT_TRANSLATE_NOOP("MainWindow", "てまえに"), QT_TRANSLATE_NOOP("MainWindow", "えらんだ かたちを てまえに だす")},
    {"BackBtn", QT_TRANSLATE_NOOP("MainWindow", "うしろへ"), QT_TRANSLATE_NOOP("MainWindow", "えらんだ かたちを うしろに さげる")},
    {"ThinBtn", QT_TRANSLATE_NOOP("MainWindow", "ほそい せん"), QT_TRANSLATE_NOOP("MainWindow", "せんを ほそく する")},
    {"ThickBtn", QT_TRANSLATE_NOOP("MainWindow", "ふとい せん"), QT_TRANSLATE_NOOP("MainWindow", "せんを ふとく する")},
    {"LineColorBtn", QT_TRANSLATE_NOOP("MainWindow", "せんの いろ"),
     QT_TRANSLATE_NOOP("MainWindow", "せんを えらんだ いろに する")},
    {"BodyColorBtn", QT_TRANSLATE_NOOP("MainWindow", "なかの いろ"),
     QT_TRANSLATE_NOOP("MainWindow", "なかを えらんだ いろで ぬる")},
    {"ChangeTextBtn", QT_TRANSLATE_NOOP("MainWindow", "もじを かえる"), QT_TRANSLATE_NOOP("MainWindow", "えらんだ もじを かきなおす")},
    {"TextColorBtn", QT_TRANSLATE_NOOP("MainWindow", "もじの いろ"),
     QT_TRANSLATE_NOOP("MainWindow", "もじを えらんだ いろに する")},
    {"HTrackBar", QT_TRANSLATE_NOOP("MainWindow", "よこの おおきさ"),
     QT_TRANSLATE_NOOP("MainWindow", "えらんだ かたちの よこの おおきさを かえる")},
    {"VTrackBar", QT_TRANSLATE_NOOP("MainWindow", "たての おおきさ"),
     QT_TRANSLATE_NOOP("MainWindow", "えらんだ かたちの たての おおきさを かえる")},
    {"ClearPanel", QT_TRANSLATE_NOOP("MainWindow", "ぬりつぶしなし"), QT_TRANSLATE_NOOP("MainWindow", "なかを ぬらない")},
    {"ConfirmPanel", QT_TRANSLATE_NOOP("MainWindow", "えらんだ いろ"), QT_TRANSLATE_NOOP("MainWindow", "いま えらばれて いる いろ")},
    // The view mode (the play button's name follows what it does).
    {"PlayBtn", QT_TRANSLATE_NOOP("MainWindow", "さいせい"), QT_TRANSLATE_NOOP("MainWindow", "かいた じゅんばんに うごかす・とめる")},
    {"ReverseBtn", QT_TRANSLATE_NOOP("MainWindow", "ひとつ もどる"), QT_TRANSLATE_NOOP("MainWindow", "ひとつ まえの ところを みる")},
    {"StopBtn", QT_TRANSLATE_NOOP("MainWindow", "はじめに もどる"), QT_TRANSLATE_NOOP("MainWindow", "いちばん はじめから みる")},
    {"ForwardBtn", QT_TRANSLATE_NOOP("MainWindow", "ひとつ すすむ"), QT_TRANSLATE_NOOP("MainWindow", "ひとつ あとの ところを みる")},
    {"TimeTrackBar", QT_TRANSLATE_NOOP("MainWindow", "みる ところ"),
     QT_TRANSLATE_NOOP("MainWindow", "かいた じゅんばんの どこを みるか えらぶ")},
    {"NormalPlayBtn", QT_TRANSLATE_NOOP("MainWindow", "ふつうの さいせい"), QT_TRANSLATE_NOOP("MainWindow", "ふつうに さいせいする")},
    {"StepPlayBtn", QT_TRANSLATE_NOOP("MainWindow", "ひとつずつ さいせい"), QT_TRANSLATE_NOOP("MainWindow", "ひとつずつ さいせいする")},
    {"SpeedOneBtn", QT_TRANSLATE_NOOP("MainWindow", "はやさ 1ばい"), QT_TRANSLATE_NOOP("MainWindow", "1びょうに 1こ すすむ")},
    {"SpeedTwoBtn", QT_TRANSLATE_NOOP("MainWindow", "はやさ 2ばい"), QT_TRANSLATE_NOOP("MainWindow", "1びょうに 2こ すすむ")},
    {"SpeedFourBtn", QT_TRANSLATE_NOOP("MainWindow", "はやさ 4ばい"), QT_TRANSLATE_NOOP("MainWindow", "1びょうに 4こ すすむ")},
    {"AsDrawnBtn", QT_TRANSLATE_NOOP("MainWindow", "かいた ときの はやさ"),
     QT_TRANSLATE_NOOP("MainWindow", "かいた ときと おなじ はやさで すすむ")},
    // The modes.
    {"SelectDrawBtn", QT_TRANSLATE_NOOP("MainWindow", "かく"), QT_TRANSLATE_NOOP("MainWindow", "えを かく")},
    {"SelectEditBtn", QT_TRANSLATE_NOOP("MainWindow", "なおす"), QT_TRANSLATE_NOOP("MainWindow", "かいた えを なおす")},
    {"SelectPlayBtn", QT_TRANSLATE_NOOP("MainWindow", "みる"), QT_TRANSLATE_NOOP("MainWindow", "かいた じゅんばんに みる")},
    // The process display (a tool for grown-ups).
    {"Memo", QT_TRANSLATE_NOOP("MainWindow", "ないぶの ひょうじ"), QT_TRANSLATE_NOOP("MainWindow", "タムロが した ことの きろく")},
    {"ClearMemoBtn", QT_TRANSLATE_NOOP("MainWindow", "ないぶの ひょうじを けす"),
     QT_TRANSLATE_NOOP("MainWindow", "きろくを ぜんぶ けす")},
};

}  // namespace

void MainWindow::NameControls() {
  for (const ControlText& t : kControlTexts) {
    if (auto* w = findChild<QWidget*>(QLatin1String(t.object))) {
      w->setAccessibleName(tr(t.name));
      w->setAccessibleDescription(tr(t.description));
    }
  }
  for (int i = 0; i < 16; ++i) {
    ColorSwatch* swatch = EditPanel->Palette()->Swatch(i);
    swatch->setAccessibleName(tr(kColorNames[i]));
    swatch->setAccessibleDescription(tr("この いろを えらぶ"));
  }
  ShowPlayState();
}
