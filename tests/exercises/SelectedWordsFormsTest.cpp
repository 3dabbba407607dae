#include "core/Unit_Warnings.h"
#include "exercises/Unit_SetExercWordsForm.h"
#include "exercises/Unit_SetLessonForm.h"
#include "platform/CodePage.h"
#include "support/ScriptedMessageBox.h"
#include "support/WordListFixtures.h"
#include "ui_SetExercWordsForm.h"
#include "ui_SetLessonForm.h"

#include <gtest/gtest.h>

// The two dialogs that set the levels and the lesson of the words selected in the grid.

namespace {

constexpr int ShiftJisCodePage = 932;

bool DirectionEnabled(const QRadioButton &off, const QRadioButton &on)
{
    return off.isEnabled() && on.isEnabled();
}

} // namespace

TEST(SelectedWordsForms, LevelListsFollowTheirDirectionsCheckBoxAndButtons)
{
    TNumberedPack pack;
    TSetExercWordsForm form;
    Ui::TSetExercWordsForm &ui = *form.ui;
    form.ApplyLanguage();
    for (QComboBox *levels : {ui.ForRefLevelCombo, ui.RefForLevelCombo}) {
        ASSERT_EQ(3, levels->count());
        EXPECT_EQ(NumberedQText(TEntry::LevelQuick), levels->itemText(0));
        EXPECT_EQ(NumberedQText(TEntry::LevelIntensive), levels->itemText(2));
        EXPECT_EQ(1, levels->currentIndex()) << "normal";
        EXPECT_TRUE(levels->isEnabled());
    }
    EXPECT_TRUE(ui.ForRefCheckBox->isChecked());
    EXPECT_TRUE(ui.RefForOnRadio->isChecked());

    ui.RefForOffRadio->click();
    EXPECT_FALSE(ui.RefForLevelCombo->isEnabled());
    ui.RefForCheckBox->click();
    EXPECT_FALSE(DirectionEnabled(*ui.RefForOffRadio, *ui.RefForOnRadio));
    EXPECT_FALSE(ui.RefForLevelCombo->isEnabled());
    ui.RefForCheckBox->click();
    EXPECT_TRUE(DirectionEnabled(*ui.RefForOffRadio, *ui.RefForOnRadio));
    EXPECT_FALSE(ui.RefForLevelCombo->isEnabled()) << "off stays off";
    ui.RefForOnRadio->click();
    EXPECT_TRUE(ui.RefForLevelCombo->isEnabled());
    EXPECT_TRUE(ui.ForRefLevelCombo->isEnabled()) << "the other direction is untouched";

    // The controls keep their states; a new language puts both lists back on normal.
    ui.ForRefCheckBox->click();
    ui.RefForLevelCombo->setCurrentIndex(2);
    form.show();
    EXPECT_FALSE(form.ClosedByButton);
    ui.OKButton->click();
    EXPECT_TRUE(form.ClosedByButton);
    EXPECT_EQ(mrOk, form.result());
    form.show();
    EXPECT_FALSE(ui.ForRefCheckBox->isChecked());
    EXPECT_EQ(2, ui.RefForLevelCombo->currentIndex());
    form.reject();
    EXPECT_FALSE(form.ClosedByButton);
    EXPECT_EQ(mrCancel, form.result());
    form.ApplyLanguage();
    EXPECT_EQ(1, ui.ForRefLevelCombo->currentIndex());
    EXPECT_EQ(1, ui.RefForLevelCombo->currentIndex());
}

TEST(SelectedWordsForms, TheLessonIsRefusedWhenItsBytesExceedTheLimit)
{
    TNumberedPack pack;
    pack.Set(TEntry::LessonTooLongMessage, "at most %n%");
    TScriptedBox box;
    TSetLessonForm form;
    Ui::TSetLessonForm &ui = *form.ui;
    EXPECT_EQ(64, ui.LessonEdit->maxLength());

    form.show();
    ui.OKButton->click();
    EXPECT_EQ(mrOk, form.result()) << "an empty lesson clears the words' lessons";
    EXPECT_EQ("", form.Lesson());

    form.show();
    ui.LessonEdit->setText(QString(65, QLatin1Char('l')));
    ui.OKButton->click();
    EXPECT_EQ(std::string(64, 'l'), form.Lesson()) << "the edit holds no more characters";
    EXPECT_TRUE(box.Texts.empty());

    // Characters of two bytes reach the limit at half the characters.
    ui.LessonEdit->CodePage = ShiftJisCodePage;
    form.show();
    EXPECT_TRUE(ui.LessonEdit->text().isEmpty()) << "each showing starts empty";
    ui.LessonEdit->setText(QString(40, QChar(0x65E5)));
    ui.OKButton->click();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ((std::vector<std::string>{"at most 64."}), box.Take());
    ui.LessonEdit->setText(QString(32, QChar(0x65E5)));
    ui.OKButton->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(mrOk, form.result());
    std::string expected;
    ASSERT_TRUE(CodePage::FromUnicode(QString(32, QChar(0x65E5)), ShiftJisCodePage, expected));
    EXPECT_EQ(expected, form.Lesson());
}
