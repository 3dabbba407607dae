#include "core/Unit_LanguagePack.h"
#include "core/Unit_WordList.h"
#include "exercises/Unit_ExercForm.h"
#include "exercises/Unit_ExercList.h"
#include "exercises/Unit_ExercSetForm.h"
#include "exercises/Unit_ExercStartForm.h"
#include "exercises/Unit_TestResultForm.h"
#include "mainwindow/ApplyLanguage.h"
#include "mainwindow/ProgramStart.h"
#include "support/ScriptedMessageBox.h"
#include "support/WholeTexts.h"
#include "support/WordListFixtures.h"
#include "support/gui/ProgramFixture.h"
#include "support/gui/ScriptedRandom.h"
#include "ui_ExercForm.h"
#include "ui_ExercStartForm.h"

#include <QTest>
#include <QTextEdit>
#include <array>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// No label or box title of the trainer's windows cuts its text, in either shipped pack, with the
// texts the windows put on at run time included.

namespace {

class Labels
    : public ProgramFixture
    , public ::testing::WithParamInterface<const char *>
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ProgramFixture::SetUp());
        CreateForms([this](QWidget *window) { Windows.push_back(window); });
        auto pack = std::make_unique<TLanguagePack>();
        ASSERT_TRUE(
                pack->LoadFile(std::string(TARNWICK_SOURCE_DIR "/lang/") + GetParam() + ".lng"));
        delete LanguagePack;
        LanguagePack = pack.release();
        ApplyLanguage();
    }

    void ExpectWhole(const QWidget *window, const char *state)
    {
        ASSERT_NE(nullptr, window);
        EXPECT_EQ(std::vector<std::string>(), CutTexts(*window)) << GetParam() << ", " << state;
    }

    // Starts a run of the exercise window over the list.
    void Run(bool exercise, bool open, int questions)
    {
        Ui::TExercStartForm &start = *ExercStartForm->ui;
        start.OpenRadio->setChecked(open);
        start.MultipleRadio->setChecked(!open);
        start.TimeCheckBox->setChecked(exercise);
        start.NumberEdit->setText(QString::number(questions));
        uint8_t status = 9;
        ExercForm->ExercList = std::make_unique<TExercList>(List, exercise, status);
        ASSERT_EQ(0, status);
        ExercForm->show();
        ASSERT_TRUE(ExercForm->isVisible());
    }

    // Every window of the program, as created at start.
    std::vector<QWidget *> Windows;
    TScriptedBox Box;
    TWordList List;
};

} // namespace

TEST_P(Labels, EveryWindowShowsItsWholeTexts)
{
    ASSERT_EQ(20u, Windows.size());
    for (const QWidget *window : Windows)
        ExpectWhole(window, "after the pack was applied");

    ExercSetForm->Prepare("Nederlands", "Frans");
    ExpectWhole(ExercSetForm, "with the directions of a list");
    for (const bool passed : {true, false}) {
        TestResultForm->SetResult(passed ? 15 : 11, passed ? 5 : 9);
        ExpectWhole(TestResultForm, passed ? "passed" : "failed");
    }
}

TEST_P(Labels, TheExerciseWindowShowsItsWholeRunTimeTexts)
{
    TSeededRandom random;
    TListBuilder(List)
            .Languages("Nederlands", 1, "Frans", 1)
            .Words(40, "woord#", "mot#", "les 1")
            .PartOfSpeech("zelfstandig naamwoord")
            .Levels(1);
    Ui::TExercForm &ui = ExercForm->Controls();

    // An exercise with open questions, asked and shown.
    ASSERT_NO_FATAL_FAILURE(Run(true, true, 20));
    ExpectWhole(ExercForm, "an open question");
    QTest::mouseClick(ui.ShowButton, Qt::LeftButton);
    ASSERT_TRUE(ui.CorrectLabel->isVisible());
    ExpectWhole(ExercForm, "the answer shown");
    ExercForm->reject();

    // A test with multiple choice: a right and a wrong answer for every letter.
    ASSERT_NO_FATAL_FAILURE(Run(false, false, List.Count()));
    const std::array<QTextEdit *, 4> memos{ui.ARichEdit, ui.BRichEdit, ui.CRichEdit, ui.DRichEdit};
    const std::array<QPushButton *, 4> letters{ui.AButton, ui.BButton, ui.CButton, ui.DButton};
    std::array<bool, 8> judged{};
    for (int question = 0; question < List.Count() - 1; ++question) {
        const QString asked = ui.QuestionRichEdit->toPlainText().section(u'\n', 0, 0);
        const QString answer = QStringLiteral("mot") + asked.mid(5);
        size_t right = memos.size();
        for (size_t slot = 0; slot < memos.size(); ++slot)
            if (memos[slot]->toPlainText() == answer)
                right = slot;
        ASSERT_LT(right, memos.size()) << asked.toStdString();
        const bool answerRight = !judged[right];
        judged[answerRight ? right : right + 4] = true;
        QTest::mouseClick(letters[answerRight ? right : (right + 1) % 4], Qt::LeftButton);
        ASSERT_TRUE(ui.MultipleLabel->isVisible());
        ExpectWhole(ExercForm, answerRight ? "a right choice" : "a wrong choice");
        QTest::mouseClick(ui.NextButton, Qt::LeftButton);
    }
    EXPECT_EQ((std::array<bool, 8>{true, true, true, true, true, true, true, true}), judged);
    Box.Answer = mbYes;
    ExercForm->reject();
}

INSTANTIATE_TEST_SUITE_P(ShippedPacks, Labels, ::testing::Values("Nederlands", "English"));
