// What a screen reader finds: every control named and described in kana,
// the colours by their colour names; the help window; and the English
// interface chosen by the system language or a setting.
#include <QAccessible>
#include <QDialog>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTextBrowser>

#include "support/window_fixture.h"
#include "ui/interface_language.h"
#include "ui/qtdialogs.h"

namespace {

bool HasKanji(const QString& text) {
  for (QChar c : text)
    if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF) return true;
  return false;
}

bool HasJapanese(const QString& text) {
  for (QChar c : text)
    if ((c.unicode() >= 0x3040 && c.unicode() <= 0x30FF) || (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF) ||
        (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E))
      return true;
  return false;
}

// The widgets a user works: buttons, sliders, swatches, the canvas, the text
// boxes; not the parts of a compound widget (a text area's scroll bars).
std::vector<QWidget*> Controls(const QWidget& root) {
  std::vector<QWidget*> controls;
  for (QWidget* w : root.findChildren<QWidget*>()) {
    bool inside = false;
    for (QWidget* p = w->parentWidget(); p != nullptr && p != &root; p = p->parentWidget())
      if (qobject_cast<QAbstractScrollArea*>(p) != nullptr) inside = true;
    // The menus are read by their captions (below), the menu bar's own
    // overflow button is Qt's.
    for (QWidget* p = w; p != nullptr && p != &root; p = p->parentWidget())
      if (qobject_cast<QMenu*>(p) != nullptr || qobject_cast<QMenuBar*>(p) != nullptr) inside = true;
    if (inside) continue;
    if (w->focusPolicy() != Qt::NoFocus || qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractSlider*>(w) ||
        qobject_cast<ColorSwatch*>(w) || qobject_cast<StampPreview*>(w))
      controls.push_back(w);
  }
  return controls;
}

QString AccessibleText(QWidget* w, QAccessible::Text kind) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
  return a ? a->text(kind) : QString();
}

class WindowAccess : public WindowTest {};

TEST_F(WindowAccess, EveryControlHasANameAndADescriptionWithoutKanji) {
  const std::vector<QWidget*> controls = Controls(*Window);
  // The canvas, the tools, the edit commands, the colours, the sliders and
  // the play controls are all there, in every mode's panels.
  EXPECT_GE(controls.size(), 60u);
  for (QWidget* w : controls) {
    const QString name = AccessibleText(w, QAccessible::Name);
    const QString description = AccessibleText(w, QAccessible::Description);
    const std::string id = w->objectName().toStdString();
    EXPECT_FALSE(name.isEmpty()) << id;
    EXPECT_FALSE(description.isEmpty()) << id;
    EXPECT_FALSE(HasKanji(name) || HasKanji(description)) << id << ": " << name.toStdString();
  }
  for (QAction* entry : Window->menuBar()->actions()) {
    ASSERT_NE(entry->menu(), nullptr);
    EXPECT_FALSE(entry->text().isEmpty());
    for (QAction* item : entry->menu()->actions())
      if (!item->isSeparator()) {
        EXPECT_FALSE(item->text().isEmpty()) << item->objectName().toStdString();
      }
  }
}

TEST_F(WindowAccess, TheColoursAreNamedByTheirColourAndEachNameIsItsOwn) {
  QStringList names;
  for (int i = 0; i < 16; ++i) names << AccessibleText(ColorPanel(*Window, i), QAccessible::Name);
  EXPECT_EQ(names[0], QString::fromUtf8("しろ"));
  EXPECT_EQ(names[2], QString::fromUtf8("あか"));   // 0x0000FF
  EXPECT_EQ(names[6], QString::fromUtf8("あお"));   // 0xFF0000
  EXPECT_EQ(names[8], QString::fromUtf8("きいろ"));
  EXPECT_EQ(names[15], QString::fromUtf8("くろ"));
  names.removeDuplicates();
  EXPECT_EQ(names.size(), 16);
  EXPECT_EQ(AccessibleText(Canvas(*Window), QAccessible::Name), QString::fromUtf8("がようし"));
}

TEST_F(WindowAccess, ThePlayButtonIsNamedByWhatItDoesNow) {
  QAbstractButton* play = Button(*Window, "PlayBtn");
  EXPECT_EQ(AccessibleText(play, QAccessible::Name), QString::fromUtf8("さいせい"));
  DrawRect(*Window, {10, 10}, {50, 40});
  DrawRect(*Window, {60, 10}, {90, 40});
  ASSERT_TRUE(EnterPlayMode(*Window));
  ClickButton(play);
  ASSERT_TRUE(Window->IsPlaying());
  EXPECT_EQ(AccessibleText(play, QAccessible::Name), QString::fromUtf8("とめる"));
}

TEST_F(WindowAccess, TheHelpOpensWithTheChildrensPartThePartForGrownUpsAndEveryPicture) {
  ASSERT_TRUE(TriggerMenu(MenuAction(*Window, "HowToUseMenu")));
  auto* help = Window->findChild<QDialog*>("HelpWindow");
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  auto* browser = help->findChild<QTextBrowser*>("HelpBrowser");
  ASSERT_NE(browser, nullptr);
  const QString text = browser->toPlainText();
  EXPECT_TRUE(text.contains(QString::fromUtf8("えを かこう")));
  EXPECT_TRUE(text.contains(QString::fromUtf8("保護者・先生の方へ")));
  EXPECT_TRUE(text.contains(QStringLiteral("--export-png")));
  // Every picture the page names is a button's picture.
  const QString html = browser->toHtml();
  QRegularExpression image(QStringLiteral("src=\"(icon:[A-Za-z]+)\""));
  int pictures = 0;
  for (auto it = image.globalMatch(html); it.hasNext(); ++pictures) {
    const QString url = it.next().captured(1);
    const QVariant picture = browser->loadResource(QTextDocument::ImageResource, QUrl(url));
    EXPECT_FALSE(picture.value<QImage>().isNull()) << url.toStdString();
  }
  EXPECT_GE(pictures, 10);
  // A second click shows the same window again.
  TriggerMenu(MenuAction(*Window, "HowToUseMenu"));
  EXPECT_EQ(Window->findChildren<QDialog*>("HelpWindow").size(), 1);
}

TEST(InterfaceLanguage, EnglishForAnEnglishSystemJapaneseForEveryOtherAndTheSettingFirst) {
  EXPECT_EQ(ChooseInterfaceLanguage(QString(), QLocale(QLocale::English, QLocale::UnitedStates)), "en");
  EXPECT_EQ(ChooseInterfaceLanguage(QString(), QLocale(QLocale::English, QLocale::UnitedKingdom)), "en");
  EXPECT_EQ(ChooseInterfaceLanguage(QString(), QLocale(QLocale::Japanese, QLocale::Japan)), "ja");
  EXPECT_EQ(ChooseInterfaceLanguage(QString(), QLocale(QLocale::French, QLocale::France)), "ja");
  EXPECT_EQ(ChooseInterfaceLanguage(QString(), QLocale::c()), "ja");
  EXPECT_EQ(ChooseInterfaceLanguage("en", QLocale(QLocale::Japanese, QLocale::Japan)), "en");
  EXPECT_EQ(ChooseInterfaceLanguage("ja", QLocale(QLocale::English, QLocale::UnitedStates)), "ja");
  EXPECT_EQ(ChooseInterfaceLanguage("de", QLocale(QLocale::English, QLocale::UnitedStates)), "en");
}

// The window built after the English translation is installed.
class WindowInEnglish : public WindowTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UseInterfaceLanguage("en"));
    WindowTest::SetUp();
  }
  void TearDown() override {
    WindowTest::TearDown();
    UseInterfaceLanguage("ja");
  }
};

TEST_F(WindowInEnglish, MenusButtonsNamesAndMessagesAreEnglish) {
  EXPECT_EQ(InterfaceLanguage(), "en");
  EXPECT_EQ(Menu(*Window, "FileMenu")->title(), "File");
  EXPECT_EQ(MenuAction(*Window, "WriteDataMenu")->text(), QString::fromUtf8("Save as…"));
  EXPECT_EQ(Button(*Window, "SelectDrawBtn")->text(), "Draw");
  EXPECT_EQ(AccessibleText(ColorPanel(*Window, 2), QAccessible::Name), "red");
  // Nothing a parent reads is left in Japanese.
  for (QAction* item : Window->menuBar()->findChildren<QAction*>())
    EXPECT_FALSE(HasJapanese(item->text())) << item->text().toStdString();
  for (QWidget* w : Controls(*Window)) {
    for (const QString& text : {w->toolTip(), AccessibleText(w, QAccessible::Name), AccessibleText(w, QAccessible::Description)})
      EXPECT_FALSE(HasJapanese(text)) << w->objectName().toStdString() << ": " << text.toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      EXPECT_FALSE(HasJapanese(button->text())) << button->text().toStdString();
    }
  }
  EXPECT_EQ(TranslatedMessage(QString::fromUtf8("さいせいする絵がありません")), "There is nothing to watch yet.");
  // Messages made up around a name or a reason, and the kinds of file.
  EXPECT_EQ(TranslatedMessage(QString::fromUtf8("どうがを かきだせませんでした（メモリが たりません）")),
            "The video could not be written (not enough memory).");
  EXPECT_EQ(TranslatedMessage(QString::fromUtf8("ファイル /tmp/え.bmp を作成できません")),
            QString::fromUtf8("The file /tmp/え.bmp cannot be made."));
  EXPECT_EQ(TranslatedMessage(QString::fromUtf8("ファイル  を作成できません")),
            QString::fromUtf8("The file  cannot be made."));
  EXPECT_EQ(TranslatedMessage(QString::fromUtf8("なにか ほかの こと")), QString::fromUtf8("なにか ほかの こと"));
  EXPECT_EQ(QtDialogs::NameFilters("Tamloファイル（*.tlo）|*.tlo"), QStringList{"Tamlo drawing (*.tlo) (*.tlo *.TLO)"});
  // The help is the English page.
  TriggerMenu(MenuAction(*Window, "HowToUseMenu"));
  EXPECT_TRUE(Window->findChild<QTextBrowser*>("HelpBrowser")->toPlainText().contains("For parents and teachers"));
}

TEST_F(WindowAccess, TheJapaneseInterfaceIsTheDefault) {
  EXPECT_EQ(InterfaceLanguage(), "ja");
  EXPECT_EQ(Menu(*Window, "FileMenu")->title(), QString::fromUtf8("ファイル"));
  const QString message = QString::fromUtf8("どうがを かきだせませんでした（メモリが たりません）");
  EXPECT_EQ(TranslatedMessage(message), message);
}

}  // namespace
