#include "platform/JpegImage.h"
#include "setup/SetupMain.h"
#include "setup/Unit_ExitForm.h"
#include "setup/Unit_Extract.h"
#include "setup/Unit_FullScreenForm.h"
#include "setup/Unit_Overwrite.h"
#include "setup/WizardFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {

class SetupWindows : public WizardTest
{
protected:
    QPushButton *ExitButton(const char *name) const
    {
        return Setup::ExitForm->findChild<QPushButton *>(name);
    }
    int Answer(const std::function<void()> &action)
    {
        Setup::ExitForm->open();
        QApplication::processEvents();
        action();
        QApplication::processEvents();
        EXPECT_FALSE(Setup::ExitForm->isVisible());
        return Setup::ExitForm->result();
    }
};

TEST_F(SetupWindows, AllFiveExistOnceTheProgramHasStarted)
{
    StartWithOnePack();
    EXPECT_NE(Setup::MainForm, nullptr);
    EXPECT_NE(Setup::ExitForm, nullptr);
    EXPECT_NE(Setup::FullScreenForm, nullptr);
    EXPECT_NE(ExtractForm, nullptr);
    EXPECT_NE(OverwriteForm, nullptr);
    EXPECT_EQ(Setup::MainForm->windowFlags() & Qt::WindowMinMaxButtonsHint, Qt::WindowFlags());
}

TEST_F(SetupWindows, TheBackdropCoversTheScreenInTealBehindTheWizard)
{
    StartWithOnePack();
    QWidget *backdrop = Setup::FullScreenForm;
    EXPECT_TRUE(backdrop->isVisible());
    EXPECT_FALSE(backdrop->isEnabled());
    EXPECT_TRUE(backdrop->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(backdrop->geometry(), QGuiApplication::primaryScreen()->geometry());
    EXPECT_EQ(backdrop->palette().color(QPalette::Window), QColor(0, 0x80, 0x80));
    EXPECT_TRUE(Wizard()->isVisible());
}

// The picture fills the wizard's left side at its own size, decoded from the built-in JPEG.
TEST_F(SetupWindows, TheWizardShowsItsPictureOnTheLeft)
{
    StartWithOnePack();
    const QImage picture = LoadJpegFile(QStringLiteral(":/forms/setup/SetupImage.jpg"));
    ASSERT_FALSE(picture.isNull());
    const auto *label = Child<QLabel>("SetupImage");
    const QPixmap shown = label->pixmap();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.size(), picture.size());
    EXPECT_EQ(shown.toImage().convertToFormat(QImage::Format_RGB32),
              picture.convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(label->isVisible());
    EXPECT_LT(label->mapTo(Wizard(), QPoint()).x(), Wizard()->width() / 3);
    EXPECT_GE(label->width(), picture.width());
}

TEST_F(SetupWindows, TheExitQuestionAnswersResumeOrExit)
{
    StartWithOnePack();
    EXPECT_EQ(Answer([this] { ExitButton("ResumeButton")->click(); }), 1);
    EXPECT_EQ(Answer([this] { ExitButton("ExitButton")->click(); }), 2);
    EXPECT_EQ(Answer([] { Setup::ExitForm->close(); }), 2);
    EXPECT_EQ(Answer([] {
                  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                  QApplication::sendEvent(Setup::ExitForm, &escape);
              }),
              2);
    EXPECT_TRUE(ExitButton("ResumeButton")->isDefault());
}

TEST_F(SetupWindows, TheExitQuestionStartsOnResume)
{
    StartWithOnePack();
    Setup::ExitForm->open();
    QApplication::processEvents();
    EXPECT_EQ(Setup::ExitForm->focusWidget(), ExitButton("ResumeButton"));
    ExitButton("ExitButton")->click();
}

// Enter presses the focused button of the installer's windows, not only their default.
TEST_F(SetupWindows, EnterPressesTheFocusedButton)
{
    StartWithOnePack();
    Next();
    const std::string second = PageName();
    ASSERT_NE(second, "WelcomePanel");
    auto *back = Child<QPushButton>("BackButton");
    ASSERT_FALSE(back->isDefault());
    back->setFocus();
    QTest::keyClick(Wizard()->focusWidget(), Qt::Key_Return);
    EXPECT_EQ(PageName(), "WelcomePanel");
    auto *next = Child<QPushButton>("NextButton");
    next->setFocus();
    QTest::keyClick(Wizard()->focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(PageName(), second);

    EXPECT_EQ(Answer([this] {
                  ExitButton("ExitButton")->setFocus();
                  QTest::keyClick(Setup::ExitForm->focusWidget(), Qt::Key_Return);
              }),
              2);

    QTimer::singleShot(0, [] {
        OverwriteForm->findChild<QPushButton *>(QStringLiteral("YesButton"))->setFocus();
        QTest::keyClick(OverwriteForm->focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(OverwriteForm->Ask("x"), TOverwriteForm::Yes);
}

} // namespace
