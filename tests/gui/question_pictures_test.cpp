// The window's own question boxes with a picture of the drawing they ask
// about: the single question shows it in place of the question icon, the
// list shows each line's picture; the texts stay as they are, and the
// settings' dialogs pass the pictures and the list on to the real ones.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "io/settings.h"
#include "support/scripted_dialogs.h"
#include "ui/folder_dialogs.h"
#include "ui/qtdialogs.h"

namespace {

// 16 × 12, white but for a red square at its top left.
SmallPicture RedCorner() {
  SmallPicture picture;
  picture.Width = 16;
  picture.Height = 12;
  picture.Pixels.assign(16 * 12, 0xFFFFFFu);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) picture.Pixels[size_t(y) * 16 + x] = 0xFF0000u;
  return picture;
}

TEST(QuestionPictures, TheQuestionShowsThePictureInPlaceOfItsIcon) {
  QtDialogs dialogs(nullptr);
  QString text;
  QImage shown;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    text = box->text();
    shown = box->iconPixmap().toImage();
    box->button(QMessageBox::Yes)->click();
  });
  EXPECT_EQ(dialogs.AskWithPicture("つづきから かきますか？\n「e.tlo」", "かくにん", QuestionButtons::YesNo, RedCorner()),
            ModalResult::Yes);
  EXPECT_EQ(text, QString::fromUtf8("つづきから かきますか？\n「e.tlo」"));
  ASSERT_EQ(shown.size(), QSize(16, 12));
  EXPECT_EQ(shown.pixel(1, 1) & 0xFFFFFFu, 0xFF0000u);
  EXPECT_EQ(shown.pixel(10, 8) & 0xFFFFFFu, 0xFFFFFFu);

  // A picture whose pixels do not fill it is no picture: the usual icon.
  SmallPicture broken = RedCorner();
  broken.Pixels.pop_back();
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    shown = box->iconPixmap().toImage();
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(dialogs.AskWithPicture("?", "かくにん", QuestionButtons::YesNo, broken), ModalResult::No);
  EXPECT_NE(shown.size(), QSize(16, 12));
}

TEST(QuestionPictures, EveryLineOfTheListShowsItsPicture) {
  QtDialogs dialogs(nullptr);
  QStringList lines;
  std::vector<bool> withIcon;
  QSize iconSize;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    auto* list = box->findChild<QListWidget*>();
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < list->count(); ++i) {
      lines << list->item(i)->text();
      withIcon.push_back(!list->item(i)->icon().isNull());
    }
    iconSize = list->iconSize();
    list->setCurrentRow(1);
    for (QPushButton* button : box->findChildren<QPushButton*>())
      if (button->text() == QString::fromUtf8("はい")) button->click();
  });
  // The second drawing's picture could not be made.
  const int chosen = dialogs.Choose("どの えの つづきを かきますか？", "かくにん", {"「a.tlo」", "「b.tlo」", "「c.tlo」"},
                                    {RedCorner(), SmallPicture(), RedCorner()});
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(lines, (QStringList{QString::fromUtf8("「a.tlo」"), QString::fromUtf8("「b.tlo」"),
                                QString::fromUtf8("「c.tlo」")}));
  EXPECT_EQ(withIcon, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(iconSize, QSize(16, 12));
}

// The window's dialogs go through the settings' wrapper: the pictures and
// the list reach the dialogs behind it.
class RecordingDialogs : public ScriptedDialogs {
 public:
  std::vector<SmallPicture> Asked;
  std::vector<std::vector<SmallPicture>> Listed;
  ModalResult AskWithPicture(const std::string& text, const std::string& caption, QuestionButtons buttons,
                             const SmallPicture& picture) override {
    Asked.push_back(picture);
    return Ask(text, caption, buttons);
  }
  int Choose(const std::string&, const std::string&, const std::vector<std::string>& lines,
             const std::vector<SmallPicture>& pictures) override {
    Listed.push_back(pictures);
    return int(lines.size()) - 1;
  }
};

TEST(QuestionPictures, TheSettingsDialogsPassPicturesAndListsOn) {
  RecordingDialogs inner;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  Settings settings(dir.filePath("tamlo.conf"), {});
  FolderDialogs dialogs(inner, settings);
  inner.Answers.push_back(ModalResult::Yes);
  EXPECT_EQ(dialogs.AskWithPicture("?", "かくにん", QuestionButtons::YesNo, RedCorner()), ModalResult::Yes);
  ASSERT_EQ(inner.Asked.size(), 1u);
  EXPECT_EQ(inner.Asked[0].Pixels, RedCorner().Pixels);
  EXPECT_EQ(dialogs.Choose("?", "かくにん", {"a", "b"}, {RedCorner(), SmallPicture()}), 1);
  ASSERT_EQ(inner.Listed.size(), 1u);
  ASSERT_EQ(inner.Listed[0].size(), 2u);
  EXPECT_TRUE(inner.Listed[0][1].Empty());
}

}  // namespace
