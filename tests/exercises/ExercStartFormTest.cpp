#include "core/Unit_Constraints.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_Warnings.h"
#include "core/Unit_WordList.h"
#include "exercises/Unit_ExercList.h"
#include "exercises/Unit_ExercSetForm.h"
#include "exercises/Unit_ExercStartForm.h"
#include "exercises/Unit_FilterForm.h"
#include "support/ScriptedMessageBox.h"
#include "support/WordListFixtures.h"
#include "ui_ExercSetForm.h"
#include "ui_ExercStartForm.h"
#include "ui_FilterForm.h"
#include "widgets/UpDown.h"

#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

namespace {

// The three dialogs as the program creates them, with a word list whose words are all at an
// exercise level. Word i has lesson "L<lessonOf(i)>" and part of speech "zn" or "ww".
class ExercDialogsTest : public ::testing::Test
{
protected:
    ExercDialogsTest()
    {
        SetDefaultSettings();
        ExercSetForm = &SetForm;
        FilterForm = &Filter;
        ExercStartForm = &Start;
        Pack.Set(TEntry::DirectionBox, "%fl% naar %tl%");
        Pack.Set(TEntry::NumQuestionsInvalid, "hoogstens %m%");
        Pack.Set(TEntry::TimeOutOfRange, "tussen %min% en %max%");
        Pack.Set(TEntry::TimeNotAMultiple, "veelvoud van %n%");
        List.ForLanguage = "Duits";
        List.RefLanguage = "Nederlands";
        // The dialogs report nothing but errors.
        Errors.OnShow = [](const TMessageRequest &request) {
            EXPECT_EQ(TMessageIcon::Stop, request.Icon);
        };
    }
    ~ExercDialogsTest() override
    {
        Start.hide();
        ExercStartForm = nullptr;
        FilterForm = nullptr;
        ExercSetForm = nullptr;
        SetDefaultSettings();
    }

    void AddWords(int count, const std::function<std::string(int)> &lessonOf = {})
    {
        TListBuilder words(List);
        for (int i = 0; i < count; ++i) {
            const int index = List.Count();
            words.Words(1, "f#", "r#", lessonOf ? lessonOf(index) : "L1")
                    .PartOfSpeech(index % 2 ? "ww" : "zn")
                    .Levels(1);
        }
    }

    // Shows the start dialog for a new exercise list (as the main window does before exec).
    void Show(bool exercise)
    {
        uint8_t status = 9;
        Exerc = std::make_unique<TExercList>(List, exercise, status);
        ASSERT_EQ(0, status);
        Start.ExercList = Exerc.get();
        Start.hide();
        Start.show();
    }

    // Runs the filter dialog from the start dialog's button; act works in the open dialog.
    void RunFilter(const std::function<void(Ui::TFilterForm &)> &act)
    {
        bool acted = false;
        QTimer::singleShot(0, &Filter, [&] {
            EXPECT_TRUE(Filter.isVisible());
            act(*Filter.ui);
            acted = true;
            if (Filter.isVisible())
                Filter.ui->CancelButton->click();
        });
        Start.ui->FilterButton->click();
        EXPECT_TRUE(acted);
    }

    static void Select(QListWidget &box, std::initializer_list<int> rows)
    {
        box.clearSelection();
        for (int row : rows)
            box.item(row)->setSelected(true);
    }

    TNumberedPack Pack;
    TScriptedBox Errors;
    TWordList List;
    std::unique_ptr<TExercList> Exerc;
    TExercSetForm SetForm;
    TFilterForm Filter;
    TExercStartForm Start;
};

} // namespace

TEST_F(ExercDialogsTest, ControlsWithTheirDefaultTexts)
{
    EXPECT_EQ(QSize(372, 291), Start.size());
    EXPECT_EQ(QSize(432, 297), SetForm.size());
    EXPECT_EQ(QSize(422, 308), Filter.size());
    EXPECT_EQ(2800, Start.property("HelpContext").toInt());
    EXPECT_EQ(2803, Start.ui->NumberUpDown->property("HelpContext").toInt());
    EXPECT_EQ(1500, SetForm.property("HelpContext").toInt());
    EXPECT_EQ(1600, Filter.property("HelpContext").toInt());

    Ui::TExercStartForm &start = *Start.ui;
    EXPECT_EQ("20", start.NumberEdit->text());
    EXPECT_EQ("30", start.TimeEdit->text());
    EXPECT_TRUE(start.TimeCheckBox->isChecked());
    EXPECT_TRUE(start.OpenRadio->isChecked());
    EXPECT_TRUE(start.StartButton->isDefault());
    EXPECT_EQ(start.TimeEdit, start.TimeUpDown->Associate());
    EXPECT_EQ(5, start.TimeUpDown->Min());
    EXPECT_EQ(120, start.TimeUpDown->Max());
    EXPECT_EQ(5, start.TimeUpDown->Increment());
    EXPECT_EQ(start.NumberEdit, start.NumberUpDown->Associate());

    Ui::TExercSetForm &options = *SetForm.ui;
    EXPECT_TRUE(options.PronounceQCheck->isChecked());
    EXPECT_TRUE(options.PronounceACheck->isChecked());
    EXPECT_EQ("Start", options.OKButton->text());
    EXPECT_TRUE(options.OKButton->isDefault());
    EXPECT_EQ(QAbstractItemView::ExtendedSelection, Filter.ui->LessonBox->selectionMode());
    EXPECT_TRUE(Filter.ui->OKButton->isDefault());
}

TEST(UpDown, ArrowsStepFromTheTextOrTheLastPosition)
{
    QLineEdit edit;
    TUpDown upDown;
    upDown.SetAssociate(&edit);
    upDown.SetRange(5, 120);
    upDown.SetIncrement(5);
    upDown.SetPosition(30);
    EXPECT_EQ("30", edit.text());

    edit.setText("42");
    upDown.UpButton()->click();
    EXPECT_EQ("47", edit.text());
    edit.setText("abc");
    upDown.DownButton()->click();
    EXPECT_EQ("42", edit.text());
    edit.setText("118");
    upDown.UpButton()->click();
    EXPECT_EQ("120", edit.text());
    edit.setText("-50");
    upDown.DownButton()->click();
    EXPECT_EQ("5", edit.text());
    edit.setText("99999999999");
    upDown.DownButton()->click();
    EXPECT_EQ("5", edit.text()) << "no number: from the last position";

    // A new range keeps the typed text; the next click honours the range.
    edit.setText("100");
    upDown.SetRange(1, 7);
    EXPECT_EQ("100", edit.text());
    EXPECT_EQ(5, upDown.Position());
    upDown.DownButton()->click();
    EXPECT_EQ("7", edit.text());

    QTest::keyClick(&edit, Qt::Key_Down);
    EXPECT_EQ("2", edit.text());
    upDown.setEnabled(false);
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ("2", edit.text());
}

TEST_F(ExercDialogsTest, TestOfSevenWordsOffersOneToSeven)
{
    AddWords(7);
    Show(false);
    Ui::TExercStartForm &ui = *Start.ui;
    EXPECT_EQ("7", ui.NumberEdit->text());
    EXPECT_EQ(1, ui.NumberUpDown->Min());
    EXPECT_EQ(7, ui.NumberUpDown->Max());
    EXPECT_TRUE(ui.NumberEdit->isVisible());
    EXPECT_TRUE(ui.ExamLabel->isVisible());
    EXPECT_FALSE(ui.ExerciseLabel->isVisible());
    EXPECT_FALSE(ui.TimeEdit->isVisible());
    EXPECT_FALSE(ui.TimeUpDown->isVisible());
    EXPECT_EQ(ui.StartButton, Start.focusWidget());
    EXPECT_FALSE(Start.ClosedByButton);

    ui.NumberEdit->setText("8");
    ui.StartButton->click();
    EXPECT_EQ((std::vector<std::string>{"hoogstens 7."}), Errors.Take());
    EXPECT_TRUE(Start.isVisible());
    EXPECT_EQ(ui.NumberEdit, Start.focusWidget());

    ui.NumberEdit->setText("7");
    ui.StartButton->click();
    EXPECT_TRUE(Errors.Take().empty());
    EXPECT_FALSE(Start.isVisible());
    EXPECT_EQ(1, Start.result());
    EXPECT_TRUE(Start.ClosedByButton);
}

TEST_F(ExercDialogsTest, TestNumberMessages)
{
    AddWords(12);
    ExerciseOptions.NumQuestions = 10;
    Show(false);
    Ui::TExercStartForm &ui = *Start.ui;
    EXPECT_EQ("10", ui.NumberEdit->text());
    const std::pair<const char *, std::string> cases[]
            = {{"0", "hoogstens 12."},
               {"", NumberedText(TEntry::NumQuestionsEmpty) + "."},
               {"1a", "hoogstens 12."},
               {"13", "hoogstens 12."}};
    for (const auto &[text, message] : cases) {
        ui.NumberEdit->setText(text);
        ui.StartButton->click();
        EXPECT_EQ((std::vector<std::string>{message}), Errors.Take()) << text;
        EXPECT_EQ(ui.NumberEdit, Start.focusWidget()) << text;
        EXPECT_TRUE(Start.isVisible()) << text;
        ui.SaveSettingsButton->click();
        EXPECT_EQ((std::vector<std::string>{message}), Errors.Take()) << text;
        EXPECT_EQ(10, ExerciseOptions.NumQuestions) << "nothing stored after a failed check";
    }
    // A test ignores the time, however it reads.
    ui.TimeEdit->setText("abc");
    ui.NumberEdit->setText("12");
    ui.StartButton->click();
    EXPECT_TRUE(Errors.Take().empty());
    EXPECT_EQ(1, Start.result());
}

TEST_F(ExercDialogsTest, ExerciseTimeMessages)
{
    AddWords(3);
    Show(true);
    Ui::TExercStartForm &ui = *Start.ui;
    EXPECT_TRUE(ui.TimeEdit->isVisible());
    EXPECT_TRUE(ui.ExerciseLabel->isVisible());
    EXPECT_FALSE(ui.NumberEdit->isVisible());
    EXPECT_FALSE(ui.ExamLabel->isVisible());
    EXPECT_EQ("30", ui.TimeEdit->text());

    const std::pair<const char *, std::string> cases[]
            = {{"7", "veelvoud van 5."},
               {"125", "tussen 5 en 120."},
               {"0", "tussen 5 en 120."},
               {"", NumberedText(TEntry::TimeEmpty) + "."},
               {"1x", NumberedText(TEntry::TimeNotANumber) + "."},
               {"-5", NumberedText(TEntry::TimeNotANumber) + "."}};
    for (const auto &[text, message] : cases) {
        ui.TimeEdit->setText(text);
        ui.StartButton->click();
        EXPECT_EQ((std::vector<std::string>{message}), Errors.Take()) << text;
        EXPECT_EQ(ui.TimeEdit, Start.focusWidget()) << text;
        EXPECT_TRUE(Start.isVisible()) << text;
    }
    // The number of questions is not checked in an exercise.
    ui.NumberEdit->setText("");
    ui.TimeEdit->setText("120");
    ui.StartButton->click();
    EXPECT_TRUE(Errors.Take().empty());
    EXPECT_EQ(1, Start.result());
}

TEST_F(ExercDialogsTest, UncheckedTimeIsNeitherCheckedNorStored)
{
    AddWords(3);
    ExerciseOptions.Minutes = 45;
    Show(true);
    Ui::TExercStartForm &ui = *Start.ui;
    EXPECT_EQ("45", ui.TimeEdit->text());
    ui.TimeEdit->setText("abc");
    ui.TimeCheckBox->setChecked(false);
    EXPECT_FALSE(ui.TimeEdit->isEnabled());
    EXPECT_FALSE(ui.TimeUpDown->isEnabled());

    ui.SaveSettingsButton->click();
    EXPECT_TRUE(Errors.Take().empty());
    EXPECT_FALSE(ExerciseOptions.TimeLimit);
    EXPECT_EQ(45, ExerciseOptions.Minutes);
    EXPECT_TRUE(Start.isVisible());

    // Unchecked with an acceptable text: the minutes are kept for the next time.
    ui.TimeEdit->setText("60");
    ui.SaveSettingsButton->click();
    EXPECT_EQ(60, ExerciseOptions.Minutes);

    ui.TimeEdit->setText("abc");
    ui.StartButton->click();
    EXPECT_TRUE(Errors.Take().empty());
    EXPECT_EQ(1, Start.result());

    // Showing again takes the box from the settings, and its edits follow it.
    ExerciseOptions.TimeLimit = true;
    Show(true);
    EXPECT_TRUE(ui.TimeCheckBox->isChecked());
    EXPECT_TRUE(ui.TimeEdit->isEnabled());
    EXPECT_EQ("60", ui.TimeEdit->text());
}

TEST_F(ExercDialogsTest, SaveStoresTheKindOfQuestionsAndAtMostAHundredQuestions)
{
    AddWords(150);
    ExerciseOptions.Flags = 0x3F | 0x80;
    ExerciseOptions.NumQuestions = 100;
    Show(false);
    Ui::TExercStartForm &ui = *Start.ui;
    EXPECT_TRUE(ui.OpenRadio->isChecked());
    EXPECT_EQ(150, ui.NumberUpDown->Max());
    ui.MultipleRadio->setChecked(true);
    ui.NumberEdit->setText("150");
    ui.SaveSettingsButton->click();
    EXPECT_TRUE(Errors.Take().empty());
    EXPECT_EQ(100, ExerciseOptions.NumQuestions);
    EXPECT_EQ(0xFF, ExerciseOptions.Flags);
    EXPECT_FALSE(ExerciseOptionsInvalid());

    ui.NumberEdit->setText("42");
    ui.OpenRadio->setChecked(true);
    ui.SaveSettingsButton->click();
    EXPECT_EQ(42, ExerciseOptions.NumQuestions);
    EXPECT_EQ(0xBF, ExerciseOptions.Flags);

    ExerciseOptions.Flags |= MultipleChoice;
    Show(false);
    EXPECT_TRUE(ui.MultipleRadio->isChecked());
    EXPECT_EQ("42", ui.NumberEdit->text());
}

TEST_F(ExercDialogsTest, OtherWaysOfClosingCancel)
{
    AddWords(2);
    Show(true);
    Start.ui->CancelButton->click();
    EXPECT_EQ(2, Start.result());
    EXPECT_TRUE(Start.ClosedByButton);

    Show(true);
    EXPECT_FALSE(Start.ClosedByButton);
    Start.close();
    EXPECT_FALSE(Start.isVisible());
    EXPECT_EQ(2, Start.result());
    EXPECT_FALSE(Start.ClosedByButton);

    Show(true);
    QTest::keyClick(&Start, Qt::Key_Escape);
    EXPECT_FALSE(Start.isVisible());
    EXPECT_EQ(2, Start.result());

    bool closed = false;
    QTimer::singleShot(0, &SetForm, [&] {
        SetForm.close();
        closed = true;
    });
    EXPECT_EQ(2, SetForm.exec());
    EXPECT_TRUE(closed);
    EXPECT_FALSE(SetForm.ClosedByButton);
    QTimer::singleShot(0, &Filter, [&] { QTest::keyClick(&Filter, Qt::Key_Escape); });
    EXPECT_EQ(2, Filter.exec());
}

TEST_F(ExercDialogsTest, OptionsFollowTheFlagsAndSaveAllSixBoxes)
{
    AddWords(2);
    ExerciseOptions.Flags = MultipleChoice | ListeningTest | ContextWithAnswer;
    Show(true);
    Ui::TExercSetForm &ui = *SetForm.ui;
    EXPECT_EQ("Duits naar Nederlands", ui.QuestionBox->title());
    EXPECT_EQ("Nederlands naar Duits", ui.AnswerBox->title());
    EXPECT_FALSE(ui.PronounceQCheck->isChecked());
    EXPECT_TRUE(ui.ListenCheck->isChecked());
    EXPECT_FALSE(ui.ListenCheck->isEnabled());
    EXPECT_FALSE(ui.DictationCheck->isEnabled());
    EXPECT_TRUE(ui.ContextACheck->isChecked());

    bool acted = false;
    QTimer::singleShot(0, &SetForm, [&] {
        EXPECT_EQ(ui.PronounceQCheck, SetForm.focusWidget());
        ui.PronounceACheck->setChecked(true);
        EXPECT_TRUE(ui.DictationCheck->isEnabled());
        ui.DictationCheck->setChecked(true);
        ui.PronounceACheck->setChecked(false);
        EXPECT_FALSE(ui.DictationCheck->isEnabled());
        ui.ContextQCheck->setChecked(true);
        ui.SaveSettingsButton->click();
        EXPECT_TRUE(SetForm.isVisible());
        acted = true;
        ui.CancelButton->click();
    });
    Start.ui->OptionsButton->click();
    EXPECT_TRUE(acted);
    EXPECT_EQ(2, SetForm.result());
    EXPECT_TRUE(SetForm.ClosedByButton);
    // Disabled boxes count with their state; the kind of questions stays.
    EXPECT_EQ(MultipleChoice | ListeningTest | ContextWithQuestion | Dictation | ContextWithAnswer,
              ExerciseOptions.Flags);
    // Cancel keeps what the user changed for the exercise about to start.
    EXPECT_TRUE(ui.ContextQCheck->isChecked());

    ExerciseOptions.Flags = 0x80 | PronounceQuestion | PronounceAnswer;
    Show(false);
    EXPECT_FALSE(ui.ContextQCheck->isChecked());
    EXPECT_FALSE(ui.DictationCheck->isChecked());
    EXPECT_TRUE(ui.ListenCheck->isEnabled());
    EXPECT_TRUE(ui.DictationCheck->isEnabled());
    ui.SaveSettingsButton->click();
    EXPECT_EQ(0x80 | PronounceQuestion | PronounceAnswer, ExerciseOptions.Flags);
}

TEST_F(ExercDialogsTest, FilterNarrowsTheNumberOfQuestions)
{
    // Words 0..3 in lesson "B", the other eight in "A".
    AddWords(12, [](int i) { return i < 4 ? "B" : "A"; });
    ExerciseOptions.NumQuestions = 10;
    Show(false);
    Ui::TExercStartForm &ui = *Start.ui;
    EXPECT_EQ("10", ui.NumberEdit->text());

    // Cancel without any OK: everything still passes.
    RunFilter([](Ui::TFilterForm &filter) { filter.LessonBox->clearSelection(); });
    EXPECT_EQ(12, ui.NumberUpDown->Max());
    EXPECT_EQ("10", ui.NumberEdit->text());

    RunFilter([](Ui::TFilterForm &filter) {
        ASSERT_EQ(2, filter.LessonBox->count());
        EXPECT_EQ("A", filter.LessonBox->item(0)->text());
        Select(*filter.LessonBox, {1});
        filter.OKButton->click();
    });
    EXPECT_EQ(4, Filter.FilterCount);
    EXPECT_EQ(4, ui.NumberUpDown->Max());
    EXPECT_EQ("4", ui.NumberEdit->text());

    // Widening the filter again keeps the number.
    RunFilter([](Ui::TFilterForm &filter) {
        EXPECT_FALSE(filter.LessonBox->item(0)->isSelected());
        EXPECT_TRUE(filter.LessonBox->item(1)->isSelected());
        Select(*filter.LessonBox, {0, 1});
        filter.OKButton->click();
    });
    EXPECT_EQ(12, ui.NumberUpDown->Max());
    EXPECT_EQ("4", ui.NumberEdit->text());

    // An exercise has no number to bound.
    Show(true);
    RunFilter([](Ui::TFilterForm &filter) {
        Select(*filter.LessonBox, {1});
        filter.OKButton->click();
    });
    EXPECT_EQ(4, Filter.FilterCount);
    EXPECT_EQ("10", ui.NumberEdit->text());
}

TEST_F(ExercDialogsTest, FilterErrorsKeepThePreviousSelections)
{
    AddWords(6, [](int i) { return i < 2 ? "B" : "A"; });
    List.SetSound(5, 0, 10);
    Show(false);
    const auto expectAll = [this] {
        EXPECT_EQ(2, Filter.SelectedPartsOfSpeech.Count());
        EXPECT_EQ(2, Filter.SelectedLessons.Count());
        EXPECT_FALSE(Filter.OnlyPronunciation);
    };
    RunFilter([this](Ui::TFilterForm &filter) {
        EXPECT_EQ(filter.PartsOfSpeechBox, Filter.focusWidget());
        EXPECT_EQ(0, filter.PartsOfSpeechBox->currentRow());
        EXPECT_TRUE(filter.OnlyPronunciationCheck->isEnabled());

        filter.PartsOfSpeechBox->clearSelection();
        filter.OKButton->click();
        EXPECT_EQ((std::vector<std::string>{NumberedText(TEntry::NoPartOfSpeechChosen) + "."}),
                  Errors.Take());
        EXPECT_EQ(filter.PartsOfSpeechBox, Filter.focusWidget());

        Select(*filter.PartsOfSpeechBox, {0});
        filter.LessonBox->clearSelection();
        filter.OKButton->click();
        EXPECT_EQ((std::vector<std::string>{NumberedText(TEntry::NoLessonChosen) + "."}),
                  Errors.Take());
        EXPECT_EQ(filter.LessonBox, Filter.focusWidget());

        // Lesson "B" has no word with a sound.
        Select(*filter.LessonBox, {1});
        filter.OnlyPronunciationCheck->setChecked(true);
        filter.OKButton->click();
        EXPECT_EQ((std::vector<std::string>{NumberedText(TEntry::NoWordPassesFilter) + "."}),
                  Errors.Take());
        EXPECT_EQ(filter.PartsOfSpeechBox, Filter.focusWidget());
        EXPECT_TRUE(Filter.isVisible());
        EXPECT_EQ(0, Filter.FilterCount);
    });
    expectAll();
    EXPECT_EQ(6, Start.ui->NumberUpDown->Max());

    // Only the word with a sound ("ww", lesson "A").
    RunFilter([](Ui::TFilterForm &filter) {
        EXPECT_FALSE(filter.OnlyPronunciationCheck->isChecked()) << "the cancelled choice is gone";
        filter.OnlyPronunciationCheck->setChecked(true);
        filter.OKButton->click();
    });
    EXPECT_TRUE(Filter.OnlyPronunciation);
    EXPECT_EQ(1, Filter.FilterCount);
    EXPECT_EQ("1", Start.ui->NumberEdit->text());

    // A new showing of the start dialog lets everything pass again.
    Show(false);
    expectAll();
    EXPECT_EQ(6, Filter.FilterCount);
    RunFilter([](Ui::TFilterForm &filter) {
        EXPECT_EQ(2, filter.LessonBox->selectedItems().size());
        EXPECT_FALSE(filter.OnlyPronunciationCheck->isChecked());
    });
}

TEST_F(ExercDialogsTest, FilterMatchesItsSelectionsWithoutRegardToCase)
{
    AddWords(4);
    List.SetSound(0, 0, 10);
    Show(false);
    Filter.SelectedPartsOfSpeech = CaseInsensitiveStringList();
    Filter.SelectedPartsOfSpeech.Add("WW");
    RunFilter([](Ui::TFilterForm &filter) {
        ASSERT_EQ(2, filter.PartsOfSpeechBox->count());
        EXPECT_EQ("ww", filter.PartsOfSpeechBox->item(0)->text());
        EXPECT_TRUE(filter.PartsOfSpeechBox->item(0)->isSelected());
        EXPECT_FALSE(filter.PartsOfSpeechBox->item(1)->isSelected());
        EXPECT_EQ(0, filter.PartsOfSpeechBox->currentRow());
        filter.OKButton->click();
    });
    EXPECT_EQ(2, Filter.FilterCount);
    EXPECT_EQ(1, Filter.SelectedPartsOfSpeech.Count());
    EXPECT_TRUE(Filter.SelectedPartsOfSpeech.Contains("ww"));
}

TEST_F(ExercDialogsTest, SoundOptionOnlyWhenSomeWordHasASound)
{
    AddWords(3);
    Show(true);
    EXPECT_FALSE(Filter.ui->OnlyPronunciationCheck->isEnabled());
    List.SetSound(2, 0, 10);
    Show(true);
    EXPECT_TRUE(Filter.ui->OnlyPronunciationCheck->isEnabled());
    EXPECT_EQ(Exerc.get(), Filter.ExercList);
}
