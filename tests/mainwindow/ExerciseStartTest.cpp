#include "core/Texts.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Warnings.h"
#include "core/Unit_WordList.h"
#include "dialogs/Unit_FindForm.h"
#include "exercises/Unit_ExercForm.h"
#include "exercises/Unit_ExercList.h"
#include "exercises/Unit_ExercSetForm.h"
#include "exercises/Unit_ExercStartForm.h"
#include "exercises/Unit_FilterForm.h"
#include "exercises/Unit_TestResultForm.h"
#include "grid/WordsGrid.h"
#include "mainwindow/Main.h"
#include "platform/CodePage.h"
#include "support/ScriptedMessageBox.h"
#include "support/WordListFixtures.h"
#include "support/gui/ProgramFixture.h"
#include "support/gui/ScriptedRandom.h"
#include "ui_ExercForm.h"
#include "ui_ExercSetForm.h"
#include "ui_ExercStartForm.h"
#include "ui_FilterForm.h"
#include "ui_MainForm.h"

#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// A word's records of direction 1 and 2.
using TRecords = std::array<TRecord, 2>;

struct TListedWord
{
    std::string PartOfSpeech;
    std::string Lesson;
    TRecords Records;
};

QString Text(TEntry entry)
{
    return CodePage::ToUnicode(LanguageText(entry), CodePage::Default);
}

// The program's windows with a list opened from a file, as at start-up with it as argument.
class ExerciseStart : public ProgramFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ProgramFixture::SetUp());
        CreateProgram();
        Scripts = std::make_unique<QObject>();
    }
    void TearDown() override
    {
        Scripts.reset();
        ProgramFixture::TearDown();
    }

    // Writes the list, starts the program with it and waits until it is on show.
    bool Open(const std::vector<TListedWord> &entries, const std::string &foreignChars)
    {
        TListBuilder list;
        list.Languages("Frans", 1, "Nederlands", 1).ForeignChars(foreignChars);
        for (const TListedWord &entry : entries)
            list.Words(1, "mot#", "woord#", entry.Lesson)
                    .PartOfSpeech(entry.PartOfSpeech)
                    .Records(entry.Records[0], entry.Records[1]);
        const std::string path = dir.filePath(QStringLiteral("Oefen.wdl")).toStdString();
        list.List().SaveToFile(path);
        MainForm->CommandLine = {QStringLiteral("tarnwick"), QString::fromStdString(path)};
        const bool started = Start();
        QTest::qWait(10);
        return started && Grid().GetWordList()
                && Grid().GetWordList()->Count() == static_cast<int>(entries.size());
    }

    // Runs the script once the window is on show: the modal windows come up inside the code
    // under test. Nothing runs after the test ends.
    void WhenShown(QWidget *window, std::function<void()> script)
    {
        QTimer::singleShot(2, Scripts.get(), [this, window, script] {
            if (window->isVisible())
                script();
            else
                WhenShown(window, script);
        });
    }

    std::vector<TRecords> Records() const
    {
        std::vector<TRecords> records;
        const TWordList &list = *MainForm->WordsGrid()->GetWordList();
        for (int i = 0; i < list.Count(); ++i)
            records.push_back({RecordOf(list.Word(i), 1), RecordOf(list.Word(i), 2)});
        return records;
    }

    // The word asked and its direction, from the question's first line.
    static std::pair<int, int> Asked()
    {
        const QString first
                = ExercForm->Controls().QuestionRichEdit->toPlainText().section(u'\n', 0, 0);
        if (first.startsWith(QLatin1String("mot")))
            return {first.mid(3).toInt(), 1};
        return {first.mid(5).toInt(), 2};
    }

    static void Select(QListWidget &box, const std::vector<QString> &texts)
    {
        for (int row = 0; row < box.count(); ++row)
            box.item(row)->setSelected(std::find(texts.begin(), texts.end(), box.item(row)->text())
                                       != texts.end());
    }

    // The grid, the strip and every in-place editor are out of sight.
    void ExpectWordsHidden()
    {
        EXPECT_FALSE(Form().WordsGrid->isVisible());
        EXPECT_TRUE(Form().PageScroller->isHidden());
        for (QWidget *editor : std::initializer_list<QWidget *>{
                     Form().ForWordEdit, Form().RefWordEdit, Form().PartOfSpeechCombo,
                     Form().LessonEdit, Form().ContextEdit, Form().ExercLevelCombo})
            EXPECT_TRUE(editor->isHidden()) << editor->objectName().toStdString();
    }

    // Runs a command as the menu or its key does once the idle pass has enabled it.
    static void Command(QAction *action)
    {
        MainForm->UpdateCommands();
        ASSERT_TRUE(action->isEnabled()) << action->objectName().toStdString();
        action->trigger();
    }

    QTemporaryDir dir;
    TScriptedBox box;
    TCountingRandom random;
    std::unique_ptr<QObject> Scripts;
};

TEST_F(ExerciseStart, AnExerciseOverTheFilteredWordsBooksEveryAnswerInTheGridsList)
{
    // Words 2 (lesson) and 3 (part of speech) are filtered out, word 4 has no level.
    ASSERT_TRUE(Open({{"znw", "1", {1, 0, 0, 0, 0}},
                      {"ww", "1", {1, 1, 3, 0b100, 2, 2, 2, 0b11}},
                      {"znw", "2", {1}},
                      {"bnw", "1", {1}},
                      {"znw", "1", {0}}},
                     ""));
    const std::vector<TRecords> before = Records();
    ASSERT_TRUE(Grid().GetWordList()->Saved);
    EXPECT_TRUE(Form().PageScroller->isHidden());
    Grid().SelectCellAt(2, 3);
    FindForm->show();

    WhenShown(ExercStartForm, [this] {
        Ui::TExercStartForm &start = *ExercStartForm->ui;
        EXPECT_TRUE(start.ExerciseLabel->isVisible());
        start.TimeCheckBox->setChecked(false);
        start.OpenRadio->setChecked(true);
        WhenShown(ExercSetForm, [] {
            Ui::TExercSetForm &options = *ExercSetForm->ui;
            for (QCheckBox *check :
                 {options.PronounceQCheck, options.ListenCheck, options.ContextQCheck,
                  options.PronounceACheck, options.DictationCheck, options.ContextACheck})
                check->setChecked(false);
            options.OKButton->click();
        });
        start.OptionsButton->click();
        WhenShown(FilterForm, [] {
            Ui::TFilterForm &filter = *FilterForm->ui;
            Select(*filter.PartsOfSpeechBox, {"znw", "ww"});
            Select(*filter.LessonBox, {"1"});
            filter.OKButton->click();
        });
        start.FilterButton->click();
        EXPECT_FALSE(FilterForm->isVisible());
        start.StartButton->click();
    });

    // Wrong every third answer, until the window ends the run itself.
    std::vector<std::pair<std::pair<int, int>, bool>> answers;
    WhenShown(ExercForm, [this, &answers] {
        ExpectWordsHidden();
        EXPECT_FALSE(FindForm->isVisible());
        ASSERT_NE(nullptr, ExercForm->ExercList);
        EXPECT_EQ(2, ExercForm->ExercList->Count());
        Ui::TExercForm &exerc = ExercForm->Controls();
        EXPECT_EQ(Text(TEntry::ShowAnswerButton), exerc.ShowButton->text());
        EXPECT_EQ(Text(TEntry::StopButton), exerc.StopButton->text());
        EXPECT_EQ(Text(TEntry::TotalProgressLabel), exerc.TotalProgressLabel->text());
        while (ExercForm->isVisible() && answers.size() < 40) {
            const bool right = answers.size() % 3 != 2;
            answers.push_back({Asked(), right});
            QTest::mouseClick(exerc.ShowButton, Qt::LeftButton);
            EXPECT_EQ(Text(TEntry::YesButton), exerc.YesButton->text());
            QTest::mouseClick(right ? exerc.YesButton : exerc.NoButton, Qt::LeftButton);
        }
    });
    Command(Form().ActStartExercise);

    EXPECT_FALSE(ExercForm->isVisible());
    EXPECT_EQ(nullptr, ExercForm->ExercList);
    EXPECT_EQ(nullptr, ExercStartForm->ExercList);
    EXPECT_EQ(nullptr, FilterForm->ExercList);
    ASSERT_LT(answers.size(), 40u);
    ASSERT_GE(answers.size(), 4u);
    std::vector<TRecords> expected = before;
    for (const auto &[asked, right] : answers) {
        const auto [word, direction] = asked;
        ASSERT_TRUE(word == 0 || word == 1) << word;
        TRecord &record = expected[static_cast<size_t>(word)][static_cast<size_t>(direction - 1)];
        record = Answered(record, right);
    }
    EXPECT_EQ(expected, Records());
    EXPECT_FALSE(Grid().GetWordList()->Saved);
    // The run ended because everything asked was learned.
    ASSERT_EQ(1u, box.Texts.size());
    EXPECT_EQ(LanguageText(TEntry::ExerciseFinished), box.Texts[0]);

    EXPECT_TRUE(Form().WordsGrid->isVisible());
    EXPECT_TRUE(Form().PageScroller->isHidden());
    EXPECT_FALSE(FindForm->isVisible());
    EXPECT_EQ(2, Grid().Col());
    EXPECT_EQ(3, Grid().Row());
}

TEST_F(ExerciseStart, ATestChangesNothingEndsWithTheMarkAndGivesTheStripBack)
{
    std::vector<TListedWord> entries(6, {"znw", "1", {1, 2, 5, 0x1F}});
    entries[5].Lesson = "2";
    ASSERT_TRUE(Open(entries, "ab"));
    const std::vector<TRecords> before = Records();
    EXPECT_FALSE(Form().PageScroller->isHidden());
    Grid().SelectRows(2, false, false);
    Grid().SelectRows(4, true, false);

    WhenShown(ExercStartForm, [this] {
        Ui::TExercStartForm &start = *ExercStartForm->ui;
        EXPECT_TRUE(start.NumberEdit->isVisible());
        EXPECT_EQ(QStringLiteral("6"), start.NumberEdit->text());
        start.MultipleRadio->setChecked(true);
        start.NumberEdit->setText(QStringLiteral("3"));
        WhenShown(FilterForm, [] {
            Select(*FilterForm->ui->LessonBox, {"1"});
            FilterForm->ui->OKButton->click();
        });
        start.FilterButton->click();
        start.StartButton->click();
    });

    QString mark;
    int questions = 0;
    WhenShown(ExercForm, [this, &mark, &questions] {
        ExpectWordsHidden();
        ASSERT_NE(nullptr, ExercForm->ExercList);
        EXPECT_EQ(5, ExercForm->ExercList->Count());
        Ui::TExercForm &exerc = ExercForm->Controls();
        const std::array<QPushButton *, 4> letters{exerc.AButton, exerc.BButton, exerc.CButton,
                                                   exerc.DButton};
        const std::array<QTextEdit *, 4> memos{exerc.ARichEdit, exerc.BRichEdit, exerc.CRichEdit,
                                               exerc.DRichEdit};
        WhenShown(TestResultForm, [&mark] {
            mark = TestResultForm->findChild<QLabel *>(QStringLiteral("MarkLabel"))->text();
            TestResultForm->accept();
        });
        while (ExercForm->isVisible() && questions < 10) {
            const auto [word, direction] = Asked();
            EXPECT_EQ(1, direction);
            EXPECT_NE(5, word);
            int rightSlot = 0;
            for (int slot = 0; slot < 4; ++slot)
                if (memos[static_cast<size_t>(slot)]->toPlainText()
                    == QStringLiteral("woord") + QString::number(word))
                    rightSlot = slot;
            const bool right = questions != 1;
            ++questions;
            QTest::mouseClick(letters[static_cast<size_t>(right ? rightSlot : (rightSlot + 1) % 4)],
                              Qt::LeftButton);
            if (ExercForm->isVisible() && exerc.NextButton->isVisible())
                QTest::mouseClick(exerc.NextButton, Qt::LeftButton);
        }
    });
    Command(Form().ActStartTest);

    EXPECT_EQ(3, questions);
    EXPECT_EQ(QStringLiteral("7"), mark);
    EXPECT_FALSE(ExercForm->isVisible());
    EXPECT_EQ(nullptr, ExercForm->ExercList);
    EXPECT_EQ(before, Records());
    EXPECT_TRUE(Grid().GetWordList()->Saved);
    EXPECT_TRUE(box.Texts.empty());

    EXPECT_TRUE(Form().WordsGrid->isVisible());
    EXPECT_FALSE(Form().PageScroller->isHidden());
    EXPECT_TRUE(Grid().IsRowSelection());
    EXPECT_EQ(2, Grid().Selection().Top);
    EXPECT_EQ(4, Grid().Selection().Bottom);
}

TEST_F(ExerciseStart, ACancelledOrEmptyStartLeavesGridSelectionAndStripAsTheyWere)
{
    ASSERT_TRUE(
            Open({{"znw", "1", {1}}, {"znw", "1", {2}}, {"znw", "2", {0, 0, 0, 0, 3}}}, "ab|c"));
    const std::vector<TRecords> before = Records();
    Grid().SelectRows(1, false, false);
    Grid().SelectRows(2, true, false);

    for (bool exercise : {false, true}) {
        WhenShown(ExercStartForm, [] { ExercStartForm->ui->CancelButton->click(); });
        MainForm->StartExercise(exercise);
        EXPECT_FALSE(ExercStartForm->isVisible());
        EXPECT_EQ(nullptr, ExercStartForm->ExercList);
        EXPECT_EQ(nullptr, FilterForm->ExercList);
        EXPECT_EQ(nullptr, ExercForm->ExercList);
        EXPECT_EQ(before, Records());
        EXPECT_TRUE(Grid().GetWordList()->Saved);
        EXPECT_TRUE(Form().WordsGrid->isVisible());
        EXPECT_FALSE(Form().PageScroller->isHidden());
        EXPECT_TRUE(Grid().IsRowSelection());
        EXPECT_EQ(1, Grid().Selection().Top);
        EXPECT_EQ(2, Grid().Selection().Bottom);
    }
    // The close box cancels as well.
    WhenShown(ExercStartForm, [] { ExercStartForm->close(); });
    MainForm->StartExercise(false);
    EXPECT_FALSE(ExercForm->isVisible());
    EXPECT_EQ(nullptr, ExercForm->ExercList);
    EXPECT_TRUE(box.Texts.empty());

    // A filter that lets nothing pass (the filter dialog itself refuses one) starts nothing.
    WhenShown(ExercStartForm, [] {
        FilterForm->SelectedLessons = CaseInsensitiveStringList();
        ExercStartForm->ui->StartButton->click();
    });
    WhenShown(ExercForm, [] {
        ADD_FAILURE() << "an empty run was started";
        ExercForm->close();
    });
    MainForm->StartExercise(true);
    ASSERT_EQ(1u, box.Texts.size());
    EXPECT_EQ(ErrorText(PackText(TEntry::AllWordsLearned)), box.Requests.back().Text);
    EXPECT_EQ(nullptr, ExercForm->ExercList);
    EXPECT_EQ(before, Records());
    EXPECT_TRUE(Form().WordsGrid->isVisible());
    EXPECT_FALSE(Form().PageScroller->isHidden());
}

TEST_F(ExerciseStart, NothingToAskIsReportedBeforeAnyDialogAndTouchesNothing)
{
    ASSERT_TRUE(Open({{"znw", "1", {0}}, {"znw", "1", {0, 4, 5, 0x1F}}}, "ab"));
    const std::vector<TRecords> before = Records();
    Grid().SelectCellAt(3, 2);
    WhenShown(ExercStartForm, [] {
        ADD_FAILURE() << "the start dialog was shown";
        ExercStartForm->close();
    });
    for (bool exercise : {true, false}) {
        MainForm->StartExercise(exercise);
        ASSERT_EQ(1u, box.Texts.size());
        EXPECT_EQ(ErrorText(PackText(TEntry::NoLevelsSet)), box.Requests.back().Text);
        box.Texts.clear();
    }
    EXPECT_EQ(nullptr, ExercStartForm->ExercList);
    EXPECT_EQ(before, Records());
    EXPECT_TRUE(Grid().GetWordList()->Saved);
    EXPECT_TRUE(Form().WordsGrid->isVisible());
    EXPECT_FALSE(Form().PageScroller->isHidden());
    EXPECT_EQ(3, Grid().Col());
    EXPECT_EQ(2, Grid().Row());

    // Every word at a level is learned: an exercise has nothing to ask.
    TWord &learned = Grid().GetWordList()->Word(0);
    learned.Level1 = 1;
    learned.Score1 = 2;
    learned.Count1 = 5;
    learned.History1 = 0x1F;
    MainForm->StartExercise(true);
    ASSERT_EQ(1u, box.Texts.size());
    EXPECT_EQ(ErrorText(PackText(TEntry::AllWordsLearned)), box.Requests.back().Text);
    EXPECT_EQ(nullptr, ExercStartForm->ExercList);
}

// The exercise window tells the main window of every answer it books.
TEST(ExercFormUndo, AnExerciseAnswerForgetsTheGridsScoreReset)
{
    SetDefaultSettings();
    TNumberedPack pack;
    TScriptedBox box;
    box.Answer = 0;
    TCountingRandom random;
    ExercStartForm = new TExercStartForm;
    ExercSetForm = new TExercSetForm;
    ExercStartForm->ui->OpenRadio->setChecked(true);
    {
        TMainForm main;
        MainForm = &main;
        TWordsGrid &grid = *main.WordsGrid();
        grid.SetWordList(TListBuilder().Words(3, "f", "r").Levels(1).Take());
        for (const TUndoKind kind : {TUndoKind::Levels, TUndoKind::ScoreReset}) {
            grid.StoreUndo(kind, 1, 1);
            TExercForm form;
            uint8_t status = 9;
            form.ExercList = std::make_unique<TExercList>(*grid.GetWordList(), true, status);
            form.show();
            QTest::mouseClick(form.Controls().ShowButton, Qt::LeftButton);
            QTest::mouseClick(form.Controls().NoButton, Qt::LeftButton);
            // Undoing a level change cannot wipe the answer; undoing a score reset would.
            EXPECT_EQ(kind == TUndoKind::ScoreReset ? TUndoKind::None : kind, grid.GetUndoKind());
            form.reject();
        }
        MainForm = nullptr;
    }
    delete std::exchange(ExercSetForm, nullptr);
    delete std::exchange(ExercStartForm, nullptr);
}

} // namespace
