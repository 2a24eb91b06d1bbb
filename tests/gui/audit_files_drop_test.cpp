// Drops whose source no longer hands out its files at the drop itself, as
// some drag sources under X11 do: the files seen when the drag entered open.
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "support/file_fixture.h"

namespace {

class DropTest : public FileTest {
 protected:
  void Enter(const QMimeData& data) {
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Form.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
  }
  void DropData(const QMimeData& data) {
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Form.get(), &drop);
    QCoreApplication::processEvents();
  }
};

TEST_F(DropTest, FilesSeenWhenTheDragEnteredOpenWhenTheDropCarriesNone) {
  WriteFile("first.tlo", DrawingFileText({RectRecord(1, 100, 100, 150, 140)}));
  WriteFile("second.tlo", DrawingFileText({RectRecord(1, 10, 10, 50, 40), RectRecord(2, 60, 10, 90, 40)}));
  QMimeData entering;
  entering.setUrls({QUrl::fromLocalFile(Path("first.tlo")), QUrl::fromLocalFile(Path("second.tlo"))});
  Enter(entering);
  QMimeData empty;
  DropData(empty);
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_EQ(S().History.Count(), 1);
  EXPECT_EQ(Caption(), CaptionFor("first.tlo"));

  // A later drop that carries its files uses them, not those of an older drag.
  QMimeData carrying;
  carrying.setUrls({QUrl::fromLocalFile(Path("second.tlo"))});
  Enter(entering);
  Dialogs.Answers.push_back(ModalResult::Yes);
  DropData(carrying);
  EXPECT_EQ(S().History.Count(), 2);
  EXPECT_EQ(Caption(), CaptionFor("second.tlo"));

  // Nothing is left over from a finished drag.
  DropData(empty);
  EXPECT_EQ(Dialogs.Shown.size(), 1u);  // only the question of the second drop
  EXPECT_EQ(Caption(), CaptionFor("second.tlo"));
}

}  // namespace
