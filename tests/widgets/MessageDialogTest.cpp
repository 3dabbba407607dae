#include "widgets/MessageDialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs `action` on the dialog once it is up, then shows the request through the desktop box.
int ShowAndThen(const TMessageRequest &request, std::function<void(TMessageDialog &)> action)
{
    QTimer::singleShot(0, [action] {
        auto *dialog = qobject_cast<TMessageDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(nullptr, dialog);
        action(*dialog);
    });
    TDesktopMessageBox desktop;
    return desktop.Show(request);
}

TMessageRequest ThreeButtons()
{
    TMessageRequest request;
    request.Title = "Waarschuwing";
    request.Text = "Opslaan?\r\nNu";
    request.Buttons = {"&Ja", "&Nee", "Annuleren"};
    request.EscapeButton = 2;
    return request;
}

} // namespace

TEST(MessageDialog, ButtonsKeepTheirOrderAndTheFirstIsTheDefault)
{
    ShowAndThen(ThreeButtons(), [](TMessageDialog &dialog) {
        EXPECT_EQ(QStringLiteral("Waarschuwing"), dialog.windowTitle());
        EXPECT_EQ(QStringLiteral("Opslaan?\nNu"), dialog.Message());
        ASSERT_EQ(3, dialog.Buttons().size());
        EXPECT_EQ(QStringLiteral("&Ja"), dialog.Buttons()[0]->text());
        EXPECT_EQ(QStringLiteral("&Nee"), dialog.Buttons()[1]->text());
        EXPECT_EQ(QStringLiteral("Annuleren"), dialog.Buttons()[2]->text());
        EXPECT_TRUE(dialog.Buttons()[0]->isDefault());
        EXPECT_LT(dialog.Buttons()[0]->x(), dialog.Buttons()[1]->x());
        EXPECT_LT(dialog.Buttons()[1]->x(), dialog.Buttons()[2]->x());
        auto *image = dialog.findChild<QLabel *>(QStringLiteral("Image"));
        ASSERT_NE(nullptr, image);
        EXPECT_FALSE(image->pixmap().isNull());
        dialog.Buttons()[1]->click();
    });
}

TEST(MessageDialog, ButtonsEscapeAndCloseBoxGiveTheirAnswers)
{
    EXPECT_EQ(1, ShowAndThen(ThreeButtons(), [](TMessageDialog &d) { d.Buttons()[1]->click(); }));
    EXPECT_EQ(0, ShowAndThen(ThreeButtons(), [](TMessageDialog &d) {
                  QTest::keyClick(&d, Qt::Key_Return);
              }));
    EXPECT_EQ(2, ShowAndThen(ThreeButtons(), [](TMessageDialog &d) {
                  QTest::keyClick(&d, Qt::Key_Escape);
              }));
    EXPECT_EQ(2, ShowAndThen(ThreeButtons(), [](TMessageDialog &d) { d.close(); }));

    TMessageRequest yesNo = ThreeButtons();
    yesNo.Buttons.pop_back();
    yesNo.EscapeButton = 1;
    EXPECT_EQ(1, ShowAndThen(yesNo, [](TMessageDialog &d) { d.close(); }));
}

TEST(MessageDialog, APlainMessageHasNoPictureAndTheOthersHaveOne)
{
    TMessageRequest request;
    request.Title = "Tarnwick";
    request.Text = "done";
    request.Icon = TMessageIcon::None;
    request.Buttons = {"OK"};
    const TMessageDialog dialog(request);
    EXPECT_EQ(nullptr, dialog.findChild<QLabel *>(QStringLiteral("Image")));
    request.Icon = TMessageIcon::Information;
    const TMessageDialog withPicture(request);
    EXPECT_NE(nullptr, withPicture.findChild<QLabel *>(QStringLiteral("Image")));
}

// A short message under a long title: the window is wide enough for the whole title in the
// title bar's font, beside the frame's buttons.
TEST(MessageDialog, AShortMessageLeavesRoomForTheWholeTitle)
{
    TMessageRequest request;
    request.Title = "Informatie over het opslaan van de woordenlijst";
    request.Text = "Klaar";
    request.Icon = TMessageIcon::Information;
    request.Buttons = {"OK"};
    TMessageDialog dialog(request);
    dialog.show();
    const int title = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar"))
                              .horizontalAdvance(dialog.windowTitle());
    EXPECT_GT(dialog.width(), title);
    EXPECT_GT(dialog.width(), dialog.findChild<QLabel *>(QStringLiteral("Message"))->width());
}
