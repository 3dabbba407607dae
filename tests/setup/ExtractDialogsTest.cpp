#include "setup/ExtractFixture.h"
#include "setup/Unit_Extract.h"
#include "setup/Unit_Overwrite.h"
#include "support/BeepRecorder.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Clicks the named button of whatever modal dialog comes up next.
void ClickWhenShown(const QString &buttonText)
{
    QTimer::singleShot(0, [buttonText] {
        QWidget *modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        for (QPushButton *button : modal->findChildren<QPushButton *>())
            if (button->text() == buttonText) {
                button->click();
                return;
            }
        ADD_FAILURE() << "no button " << buttonText.toStdString();
        modal->close();
    });
}

void CloseWhenShown()
{
    QTimer::singleShot(0, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
}

TEST(OverwriteForm, AnswersOneTwoThreeAndTheCloseBoxIsNo)
{
    TSetupTexts texts;
    TOverwriteForm form;
    form.ApplyLanguage();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("entry 30"));
    auto *label = form.findChild<QLabel *>(QStringLiteral("OverwriteLabel"));
    ASSERT_NE(label, nullptr);

    ClickWhenShown(QStringLiteral("entry 2"));
    EXPECT_EQ(form.Ask("Overwrite \xE9?"), TOverwriteForm::Yes);
    EXPECT_EQ(label->text(), QStringLiteral("Overwrite \u00E9?"));
    ClickWhenShown(QStringLiteral("entry 32"));
    EXPECT_EQ(form.Ask("x"), TOverwriteForm::YesToAll);
    ClickWhenShown(QStringLiteral("entry 3"));
    EXPECT_EQ(form.Ask("x"), TOverwriteForm::No);
    CloseWhenShown();
    EXPECT_EQ(form.Ask("x"), TOverwriteForm::No);
    EXPECT_TRUE(form.findChild<QPushButton *>(QStringLiteral("NoButton"))->isDefault());
}

// Without replaced questions the dialog asks through message boxes, the overwrite form and the
// wizard's exit question.
TEST(ExtractForm, AsksThroughItsDialogs)
{
    TSetupTexts texts;
    TExtractForm form;
    form.ApplyLanguage();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("entry 26"));
    EXPECT_EQ(form.findChild<QLabel *>(QStringLiteral("ExtractLabel"))->text(),
              QStringLiteral("entry 27"));
    EXPECT_EQ(form.findChild<QPushButton *>(QStringLiteral("CancelButton"))->text(),
              QStringLiteral("entry 1"));
    EXPECT_EQ(form.findChild<QProgressBar *>(QStringLiteral("ProgressBar"))->maximum(), 100);

    int asked = 0;
    form.ExitQuestion = [&] { return ++asked == 2; };
    EXPECT_FALSE(form.Questions().AskExit());
    EXPECT_TRUE(form.Questions().AskExit());

    TBeepRecorder beeps;
    ClickWhenShown(QStringLiteral("entry 0"));
    EXPECT_FALSE(form.Questions().AskForDisk("Insert disk 2"));
    ClickWhenShown(QStringLiteral("entry 1"));
    EXPECT_TRUE(form.Questions().AskForDisk("Insert disk 2"));
    CloseWhenShown();
    EXPECT_TRUE(form.Questions().AskForDisk("Insert disk 2"));
    EXPECT_EQ(beeps.Count(TBeepKind::Question), 3);

    TOverwriteForm overwrite;
    overwrite.ApplyLanguage();
    OverwriteForm = &overwrite;
    ClickWhenShown(QStringLiteral("entry 32"));
    EXPECT_EQ(form.Questions().AskOverwrite("Overwrite a?"), TOverwriteForm::YesToAll);
    OverwriteForm = nullptr;
}

} // namespace
