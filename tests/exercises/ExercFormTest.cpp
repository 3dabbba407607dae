#include "core/ListFont.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_Warnings.h"
#include "core/Unit_WordList.h"
#include "exercises/Unit_ExercForm.h"
#include "exercises/Unit_ExercList.h"
#include "exercises/Unit_ExercSetForm.h"
#include "exercises/Unit_ExercStartForm.h"
#include "exercises/Unit_TestResultForm.h"
#include "sound/Unit_Sound.h"
#include "sound/XaudioPlayer.h"
#include "support/BeepRecorder.h"
#include "support/ScriptedMessageBox.h"
#include "support/WordListFixtures.h"
#include "support/gui/ScriptedRandom.h"
#include "ui_ExercForm.h"
#include "ui_ExercSetForm.h"
#include "ui_ExercStartForm.h"
#include "widgets/HelpDispatcher.h"

#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <deque>
#include <gtest/gtest.h>

namespace {

// A player that answers as the real one does, but only when the test delivers its notices.
class TFakePlayer : public IXaudioPlayer
{
public:
    int Ping(uint32_t tag) override
    {
        Log("Ping" + std::to_string(tag));
        Queue.push_back([this, tag] { OnNotifyPong(tag); });
        return 0;
    }
    int Play() override { return Ack("Play", cmdPlay); }
    int Stop() override
    {
        Ack("Stop", cmdStop);
        Queue.push_back([this] { OnNotifyPlayerState(StateStopped); });
        return 0;
    }
    int InputSeek(int offset, int range) override
    {
        return Ack("InputSeek" + std::to_string(offset) + "," + std::to_string(range),
                   cmdInputSeek);
    }
    int InputOpen(const std::string &fileName) override
    {
        OpenedFile = fileName;
        return Ack("InputOpen", cmdInputOpen);
    }
    int InputClose() override { return Ack("InputClose", cmdInputClose); }
    int OutputClose() override { return Ack("OutputClose", cmdOutputClose); }
    int OutputDrain() override { return Ack("OutputDrain", cmdOutputDrain); }

    // The sound has played to its end.
    void EndOfStream()
    {
        Queue.push_back([this] { OnNotifyPlayerState(StateEndOfStream); });
    }
    // Delivers notices in order, also those that the handlers' commands cause.
    void Deliver(size_t atMost = 1000)
    {
        while (!Queue.empty() && atMost-- > 0) {
            auto notice = std::move(Queue.front());
            Queue.pop_front();
            notice();
        }
    }
    std::vector<std::string> TakeLog() { return std::exchange(Commands, {}); }

    std::string OpenedFile;
    std::deque<std::function<void()>> Queue;

private:
    void Log(const std::string &command) { Commands.push_back(command); }
    int Ack(const std::string &command, uint8_t code)
    {
        Log(command);
        Queue.push_back([this, code] {
            if (OnNotifyAck)
                OnNotifyAck(code);
        });
        return 0;
    }
    std::vector<std::string> Commands;
};

class ExercFormTest : public ::testing::Test
{
protected:
    ExercFormTest()
    {
        SetDefaultSettings();
        Mp3InputOpen = false;
        Mp3Playing = false;
        ExercStartForm = new TExercStartForm;
        ExercSetForm = new TExercSetForm;
        TestResultForm = new TTestResultForm;
        Form = new TExercForm;
        Pack.Set(TEntry::MinutesLeft, "nog %m% minuten, niet %m%");
        Pack.Set(TEntry::QuestionsLeft, "nog %n% vragen");
        Pack.Set(TEntry::RightChoice, "%a% goed, %a%");
        Pack.Set(TEntry::WrongChoice, "fout, %a%");
        Pack.Set(TEntry::DecimalSeparator, ",");
        // Questions are answered yes unless a test says otherwise.
        Box.Answer = 0;
        auto forFont = std::make_unique<TListFont>();
        forFont->Name = "Arial";
        forFont->Size = 10;
        List.SetForFont(std::move(forFont));
        auto refFont = std::make_unique<TListFont>();
        refFont->Name = "Arial";
        refFont->Size = 8;
        List.SetRefFont(std::move(refFont));
        List.SetForLanguage("Frans");
        List.SetRefLanguage("Nederlands");
        Choose(true);
        for (QCheckBox *box :
             {Sound().PronounceQCheck, Sound().ListenCheck, Sound().ContextQCheck,
              Sound().PronounceACheck, Sound().DictationCheck, Sound().ContextACheck})
            box->setChecked(false);
    }
    ~ExercFormTest() override
    {
        Form->SetPlayer(nullptr);
        delete Form;
        delete TestResultForm;
        delete ExercSetForm;
        delete ExercStartForm;
        Form = nullptr;
        TestResultForm = nullptr;
        ExercSetForm = nullptr;
        ExercStartForm = nullptr;
        Mp3InputOpen = false;
        Mp3Playing = false;
        SetDefaultSettings();
    }

    int Add(TRecord one, TRecord two = {}, const std::string &context = {})
    {
        return TListBuilder(List)
                .Words(1, "f#", "r#", "1")
                .Context(context)
                .Records(one, two)
                .Last();
    }
    TRecord Record(int word, int direction) const { return RecordOf(List.Word(word), direction); }
    void GiveSound(int word)
    {
        WriteFile(List.SoundTempFile, "ID3-sound-bytes");
        List.SetSound(word, 0, 15);
    }

    void Choose(bool open, int questions = 20)
    {
        Ui::TExercStartForm &start = *ExercStartForm->ui;
        start.OpenRadio->setChecked(open);
        start.MultipleRadio->setChecked(!open);
        start.TimeCheckBox->setChecked(false);
        start.NumberEdit->setText(QString::number(questions));
    }
    Ui::TExercSetForm &Sound() { return *ExercSetForm->ui; }
    Ui::TExercForm &Ui() { return Form->Controls(); }

    void Start(bool exercise)
    {
        uint8_t status = 9;
        Form->ExercList = std::make_unique<TExercList>(List, exercise, status);
        ASSERT_EQ(0, status);
        Form->show();
    }
    // The word the window asks and the direction, from the question's first line.
    std::pair<int, int> Asked()
    {
        const QString first = Ui().QuestionRichEdit->toPlainText().section(u'\n', 0, 0);
        return {first.mid(1).toInt(), first.startsWith(u'f') ? 1 : 2};
    }
    QStringList Lines(const QTextEdit *memo) { return memo->toPlainText().split(u'\n'); }

    TNumberedPack Pack;
    TScriptedBox Box;
    TWordList List;
    // Outlives the window, which lets go of it when destroyed.
    TFakePlayer Player;
    TExercForm *Form = nullptr;
    TBeepRecorder Beeps;
};

} // namespace

TEST_F(ExercFormTest, AWholeExerciseBooksEveryAnswerAndEndsWhenAllIsLearned)
{
    TCountingRandom random;
    Add({1, 0, 0, 0}, {1, 1, 2, 0b10});
    Add({0}, {2, 3, 5, 0b10111});
    Add({1, 1, 5, 0b11110}, {0});
    Add({0}, {0});
    Start(true);
    ASSERT_TRUE(Form->isVisible());
    EXPECT_EQ(Form->HelpContext, 1300);
    EXPECT_EQ(1300, HelpContextOf(Form));
    EXPECT_EQ(NumberedQText(TEntry::ExerciseCaption), Form->windowTitle());
    EXPECT_FALSE(Ui().NumRightLabel->isVisibleTo(Form));
    EXPECT_TRUE(Ui().LocalScoreBar->isVisibleTo(Form));

    // Wrong every third answer; the list's totals always equal a fresh count of the records.
    int answers = 0;
    while (Form->isVisible() && answers < 60) {
        const auto [word, direction] = Asked();
        const TRecord before = Record(word, direction);
        const bool right = answers % 3 != 2;
        QTest::mouseClick(Ui().ShowButton, Qt::LeftButton);
        EXPECT_TRUE(Ui().YesButton->isVisible());
        EXPECT_FALSE(Ui().AnswerEdit->isEnabled());
        QTest::mouseClick(right ? Ui().YesButton : Ui().NoButton, Qt::LeftButton);
        ++answers;
        EXPECT_EQ(Answered(before, right), Record(word, direction)) << "answer " << answers;
        EXPECT_FALSE(List.Saved);
        if (!Form->ExercList)
            break;
        uint8_t status = 9;
        const TExercList fresh(List, true, status);
        EXPECT_EQ(fresh.NumRight, Form->ExercList->NumRight) << "answer " << answers;
        EXPECT_EQ(fresh.NumAnswered, Form->ExercList->NumAnswered) << "answer " << answers;
        EXPECT_EQ(fresh.Progress, Form->ExercList->Progress) << "answer " << answers;
        EXPECT_EQ(fresh.ProgressTotal, Form->ExercList->ProgressTotal);
        // Only words that still need practice stay in the run.
        EXPECT_EQ(fresh.Count(), Form->ExercList->Count()) << "answer " << answers;
    }
    EXPECT_LT(answers, 60);
    EXPECT_FALSE(Form->isVisible());
    EXPECT_TRUE(Form->Finished);
    EXPECT_EQ(nullptr, Form->ExercList);
    ASSERT_EQ(1u, Box.Texts.size());
    EXPECT_EQ(NumberedText(TEntry::ExerciseFinished), Box.Texts[0]);
    EXPECT_EQ(TMessageIcon::None, Box.Requests[0].Icon);
    EXPECT_EQ(1, Beeps.Count());
    uint8_t status = 9;
    EXPECT_EQ(0, TExercList(List, true, status).Count());
    EXPECT_EQ(2, status);
}

TEST_F(ExercFormTest, AWholeTestChangesNothingAndEndsWithTheMark)
{
    TCountingRandom random;
    for (int i = 0; i < 5; ++i)
        Add({1, 2, 5, 0x1F}, {0});
    Choose(false, 3);
    QString mark;
    bool passed = false;
    Start(false);
    EXPECT_EQ(NumberedQText(TEntry::TestCaption), Form->windowTitle());
    EXPECT_EQ(Form->HelpContext, 1400);
    EXPECT_EQ(1400, HelpContextOf(Form));
    EXPECT_EQ("nog 3 vragen", Form->StatusText());
    EXPECT_TRUE(Ui().NumRightLabel->isVisibleTo(Form));
    EXPECT_FALSE(Ui().LocalScoreBar->isVisibleTo(Form));
    EXPECT_FALSE(Ui().OpenAnswerBox->isVisibleTo(Form));

    const std::array<QPushButton *, 4> letters{Ui().AButton, Ui().BButton, Ui().CButton,
                                               Ui().DButton};
    for (int question = 0; question < 3; ++question) {
        const auto [word, direction] = Asked();
        EXPECT_EQ(1, direction);
        // The right answer is the slot whose memo shows the word's reference word.
        int rightSlot = -1;
        for (int slot = 0; slot < 4; ++slot) {
            const QTextEdit *memo = std::array<QTextEdit *, 4>{
                    Ui().ARichEdit, Ui().BRichEdit, Ui().CRichEdit, Ui().DRichEdit}[slot];
            if (memo->toPlainText() == "r" + QString::number(word))
                rightSlot = slot;
        }
        ASSERT_NE(-1, rightSlot);
        if (question == 2) {
            QTimer::singleShot(0, [&] {
                mark = TestResultForm->findChild<QLabel *>(QStringLiteral("MarkLabel"))->text();
                passed = TestResultForm->findChild<QLabel *>(QStringLiteral("SuccessImg"))
                                 ->isVisibleTo(TestResultForm);
                TestResultForm->accept();
            });
        }
        const bool right = question != 1;
        QTest::mouseClick(letters[static_cast<size_t>(right ? rightSlot : (rightSlot + 1) % 4)],
                          Qt::LeftButton);
        for (int i = 0; i < List.Count(); ++i)
            EXPECT_EQ((TRecord{1, 2, 5, 0x1F}), Record(i, 1));
        EXPECT_FALSE(List.Saved);
        if (question < 2) {
            EXPECT_EQ("1", Ui().NumRightLabel->text());
            EXPECT_EQ(question == 0 ? "0" : "1", Ui().NumWrongLabel->text());
            EXPECT_EQ(question == 0 ? QStringLiteral("nog 2 vragen")
                                    : NumberedQText(TEntry::LastQuestion),
                      Form->StatusText());
            EXPECT_TRUE(Ui().NextButton->isVisible());
            const QString letter(QChar(u'A' + rightSlot));
            EXPECT_EQ(right ? letter + " goed, " + letter : "fout, " + letter,
                      Ui().MultipleLabel->text());
            QTest::mouseClick(Ui().NextButton, Qt::LeftButton);
        }
    }
    EXPECT_EQ("7", mark);
    EXPECT_TRUE(passed);
    EXPECT_FALSE(Form->isVisible());
    // The finished test closes without asking.
    EXPECT_TRUE(Box.Texts.empty());
    EXPECT_EQ(1, Beeps.Count());
}

TEST_F(ExercFormTest, ATestOfOneQuestionAndClosingARunningTest)
{
    TCountingRandom random;
    Add({1}, {0});
    Add({1}, {0});
    Choose(true, 1);
    Start(false);
    EXPECT_EQ(NumberedQText(TEntry::LastQuestion), Form->StatusText());
    Box.Answer = 1;
    Form->reject();
    EXPECT_TRUE(Form->isVisible());
    ASSERT_EQ(1u, Box.Texts.size());
    EXPECT_EQ(NumberedText(TEntry::StopTestQuestion), Box.Texts[0]);

    QString mark;
    QTimer::singleShot(0, [&] {
        mark = TestResultForm->findChild<QLabel *>(QStringLiteral("MarkLabel"))->text();
        TestResultForm->accept();
    });
    QTest::mouseClick(Ui().ShowButton, Qt::LeftButton);
    QTest::mouseClick(Ui().NoButton, Qt::LeftButton);
    EXPECT_EQ("1", mark);
    EXPECT_FALSE(Form->isVisible());

    Start(false);
    Box.Answer = 0;
    QTest::keyClick(Form, Qt::Key_Escape);
    EXPECT_FALSE(Form->isVisible());
    EXPECT_EQ(2u, Box.Texts.size());
}

TEST_F(ExercFormTest, DirectionsFollowTheLevelsAndTheDraws)
{
    TScriptedRandom random({0, 0});
    // Needs practice in direction 2 only: no draw for the direction.
    Add({1, 2, 5, 0x1F}, {1, 0, 0, 0});
    Start(true);
    EXPECT_EQ((std::pair{0, 2}), Asked());
    EXPECT_EQ((std::vector<int>{1}), random.Bounds);
    EXPECT_EQ("Nederlands", Ui().QuestionBox->title());
    EXPECT_EQ("Frans", Ui().OpenAnswerBox->title());
    // Without context the answer memo holds the foreign word, hidden until Show.
    EXPECT_FALSE(Ui().AnswerRichEdit->isVisibleTo(Form));
    EXPECT_EQ("f0", Ui().AnswerRichEdit->toPlainText());
    QTest::mouseClick(Ui().ShowButton, Qt::LeftButton);
    EXPECT_TRUE(Ui().AnswerRichEdit->isVisible());
    Form->ExercList.reset();
    Form->hide();

    // A test asks a learned word in a random direction: one draw below 2.
    random.Script = {0, 1};
    random.Bounds.clear();
    Start(false);
    EXPECT_EQ((std::vector<int>{1, 2}), random.Bounds);
    EXPECT_EQ((std::pair{0, 1}), Asked());
    EXPECT_EQ("Frans", Ui().QuestionBox->title());
}

TEST_F(ExercFormTest, ContextListeningAndDictation)
{
    TCountingRandom random;
    Add({1}, {0}, "une phrase");
    GiveSound(0);
    TFakePlayer &player = Player;
    Form->SetPlayer(&player);
    Sound().PronounceQCheck->setChecked(false);
    Sound().ListenCheck->setChecked(false);
    Sound().ContextQCheck->setChecked(false);
    Start(true);
    // Context not with the question: F8 adds it once.
    EXPECT_TRUE(Ui().QuestionRichEdit->isVisibleTo(Form));
    EXPECT_FALSE(Ui().QuestionAction->isEnabled());
    EXPECT_TRUE(Ui().PlayAction->isEnabled());
    ASSERT_TRUE(Ui().ContextAction->isEnabled());
    Ui().ContextAction->trigger();
    Ui().ContextAction->trigger();
    EXPECT_EQ((QStringList{"f0", "une phrase"}), Lines(Ui().QuestionRichEdit));
    EXPECT_TRUE(player.TakeLog().empty());
    Form->ExercList.reset();
    Form->hide();

    // A listening question hides the word until F7; F8 then adds the context once.
    Sound().PronounceQCheck->setChecked(true);
    Sound().ListenCheck->setChecked(true);
    Start(true);
    EXPECT_EQ((std::vector<std::string>{"InputOpen"}), player.TakeLog());
    EXPECT_EQ(List.RecordTempFile, player.OpenedFile);
    EXPECT_EQ("ID3-sound-bytes", ReadFile(player.OpenedFile));
    EXPECT_FALSE(Ui().QuestionRichEdit->isVisibleTo(Form));
    EXPECT_TRUE(Ui().QuestionAction->isEnabled());
    EXPECT_FALSE(Ui().ContextAction->isEnabled());
    Ui().QuestionAction->trigger();
    EXPECT_TRUE(Ui().QuestionRichEdit->isVisibleTo(Form));
    EXPECT_EQ((QStringList{"f0"}), Lines(Ui().QuestionRichEdit));
    ASSERT_TRUE(Ui().ContextAction->isEnabled());
    Ui().ContextAction->trigger();
    EXPECT_FALSE(Ui().ContextAction->isEnabled());
    EXPECT_EQ((QStringList{"f0", "une phrase"}), Lines(Ui().QuestionRichEdit));
    player.Queue.clear();
    Form->ExercList.reset();
    Form->hide();

    // With the context option the context shows with the question at F7; F8 stays off.
    Sound().ContextQCheck->setChecked(true);
    Start(true);
    Ui().QuestionAction->trigger();
    EXPECT_EQ((QStringList{"f0", "une phrase"}), Lines(Ui().QuestionRichEdit));
    EXPECT_FALSE(Ui().ContextAction->isEnabled());
    player.Queue.clear();
    Form->ExercList.reset();
    Form->hide();

    // Without a player no word has a sound: no listening question.
    Form->SetPlayer(nullptr);
    Start(true);
    EXPECT_FALSE(Ui().PlayAction->isEnabled());
    EXPECT_TRUE(Ui().QuestionRichEdit->isVisibleTo(Form));
    EXPECT_FALSE(Ui().QuestionAction->isEnabled());
}

TEST_F(ExercFormTest, DirectionTwoWithContextAndPronouncedAnswer)
{
    TCountingRandom random;
    Add({0}, {1}, "une phrase");
    GiveSound(0);
    TFakePlayer &player = Player;
    Form->SetPlayer(&player);
    Sound().PronounceACheck->setChecked(true);
    Sound().DictationCheck->setChecked(false);
    Sound().ContextACheck->setChecked(true);
    Start(true);
    EXPECT_TRUE(player.TakeLog().empty());
    // The context is the answer's hint; Show adds the word and pronounces it.
    EXPECT_TRUE(Ui().AnswerRichEdit->isVisibleTo(Form));
    EXPECT_EQ((QStringList{"une phrase"}), Lines(Ui().AnswerRichEdit));
    EXPECT_FALSE(Ui().ContextAction->isEnabled());
    QTest::mouseClick(Ui().ShowButton, Qt::LeftButton);
    EXPECT_EQ((QStringList{"f0", "une phrase"}), Lines(Ui().AnswerRichEdit));
    EXPECT_EQ((std::vector<std::string>{"InputOpen"}), player.TakeLog());
    player.Queue.clear();
    Form->ExercList.reset();
    Form->hide();

    // Dictation: the question stays hidden and the sound plays at once.
    Sound().DictationCheck->setChecked(true);
    Sound().ContextACheck->setChecked(false);
    Start(true);
    EXPECT_EQ((std::vector<std::string>{"InputOpen"}), player.TakeLog());
    EXPECT_FALSE(Ui().QuestionRichEdit->isVisibleTo(Form));
    EXPECT_TRUE(Ui().QuestionAction->isEnabled());
    EXPECT_FALSE(Ui().AnswerRichEdit->isVisibleTo(Form));
    ASSERT_TRUE(Ui().ContextAction->isEnabled());
    Ui().ContextAction->trigger();
    EXPECT_TRUE(Ui().AnswerRichEdit->isVisibleTo(Form));
}

TEST_F(ExercFormTest, PlaybackDisablesTheAnswerButtonsAndBlocksAUsersClose)
{
    TCountingRandom random;
    Add({1}, {0});
    GiveSound(0);
    TFakePlayer &player = Player;
    Form->SetPlayer(&player);
    Choose(false);
    Start(true);
    Ui().PlayAction->trigger();
    EXPECT_EQ((std::vector<std::string>{"InputOpen"}), player.TakeLog());
    player.Deliver(1);
    EXPECT_TRUE(Mp3InputOpen);
    EXPECT_FALSE(Ui().StopButton->isEnabled());
    EXPECT_FALSE(Ui().NextButton->isEnabled());
    EXPECT_TRUE(Ui().AButton->isEnabled());
    EXPECT_EQ((std::vector<std::string>{"InputSeek0,1", "Play"}), player.TakeLog());
    player.Deliver();
    EXPECT_TRUE(Mp3Playing);
    EXPECT_TRUE(Ui().PlayAction->isChecked());
    EXPECT_TRUE(Ui().StopAction->isEnabled());
    // F5 while playing opens nothing more.
    Ui().PlayAction->trigger();
    EXPECT_TRUE(player.TakeLog().empty());
    EXPECT_TRUE(Ui().PlayAction->isChecked());
    Form->reject();
    EXPECT_TRUE(Form->isVisible());

    player.EndOfStream();
    player.Deliver();
    EXPECT_EQ((std::vector<std::string>{"OutputDrain", "Ping1", "InputClose", "OutputClose"}),
              player.TakeLog());
    EXPECT_FALSE(Mp3Playing);
    EXPECT_FALSE(Mp3InputOpen);
    EXPECT_FALSE(Ui().PlayAction->isChecked());
    EXPECT_FALSE(Ui().StopAction->isEnabled());
    EXPECT_TRUE(Ui().StopButton->isEnabled());
    EXPECT_TRUE(Ui().NextButton->isEnabled());

    // F6 stops a playing sound; the input closes through the player's answers.
    Ui().PlayAction->trigger();
    player.Deliver();
    player.TakeLog();
    Ui().StopAction->trigger();
    player.Deliver();
    EXPECT_EQ(
            (std::vector<std::string>{"Stop", "OutputDrain", "Ping1", "InputClose", "OutputClose"}),
            player.TakeLog());
    EXPECT_FALSE(Mp3InputOpen);
    Form->reject();
    EXPECT_FALSE(Form->isVisible());
}

TEST_F(ExercFormTest, TheLastWordLearnedDuringPlaybackClosesWhenThePlayerHasClosed)
{
    TScriptedRandom random({0, 0});
    Add({1, 1, 4, 0b1111}, {0});
    GiveSound(0);
    TFakePlayer &player = Player;
    Form->SetPlayer(&player);
    Choose(false);
    Sound().PronounceQCheck->setChecked(true);
    Sound().ListenCheck->setChecked(false);
    Start(true);
    player.Deliver();
    ASSERT_TRUE(Mp3Playing);
    player.TakeLog();
    // The only alternative is the word itself, in slot 0.
    QTest::mouseClick(Ui().AButton, Qt::LeftButton);
    ASSERT_TRUE(Form->Finished);
    EXPECT_EQ((std::vector<std::string>{NumberedText(TEntry::ExerciseFinished)}), Box.Texts);
    EXPECT_TRUE(Form->isVisible());
    EXPECT_FALSE(Form->ToolBar()->isEnabled());
    EXPECT_EQ((std::vector<std::string>{"Stop", "InputClose"}), player.TakeLog());
    player.Deliver();
    EXPECT_FALSE(Form->isVisible());
    EXPECT_EQ(nullptr, Form->ExercList);
    EXPECT_FALSE(Mp3InputOpen);
    EXPECT_FALSE(Mp3Playing);

    // Late notices after the list was freed only touch buttons and flags; a sound that opens
    // now is closed again unheard.
    player.TakeLog();
    player.OnNotifyAck(IXaudioPlayer::cmdOutputClose);
    player.OnNotifyAck(IXaudioPlayer::cmdInputOpen);
    EXPECT_EQ((std::vector<std::string>{"InputClose"}), player.TakeLog());
    player.Deliver();
    EXPECT_FALSE(Mp3InputOpen);
    EXPECT_FALSE(Form->isVisible());
}

TEST_F(ExercFormTest, TheTimeLimitCountsDownAndAsksToStop)
{
    TCountingRandom random;
    Add({1}, {0});
    ExercStartForm->ui->TimeCheckBox->setChecked(true);
    ExercStartForm->ui->TimeEdit->setText(QStringLiteral("5"));
    Start(true);
    EXPECT_EQ("nog 5 minuten, niet %m%", Form->StatusText());
    std::vector<QString> shown;
    for (int minute = 0; minute < 4; ++minute) {
        Form->TimerTimer();
        shown.push_back(Form->StatusText());
    }
    EXPECT_EQ(
            (std::vector<QString>{"nog 4 minuten, niet %m%", "nog 3 minuten, niet %m%",
                                  "nog 2 minuten, niet %m%", NumberedQText(TEntry::OneMinuteLeft)}),
            shown);
    EXPECT_TRUE(Box.Texts.empty());
    Box.Answer = 1;
    Form->TimerTimer();
    EXPECT_EQ((std::vector<std::string>{NumberedText(TEntry::TimeUp)}), Box.Texts);
    EXPECT_EQ("", Form->StatusText());
    EXPECT_TRUE(Form->isVisible());
    // No lets the exercise go on; an exercise closes without asking.
    QTest::mouseClick(Ui().ShowButton, Qt::LeftButton);
    QTest::mouseClick(Ui().NoButton, Qt::LeftButton);
    EXPECT_TRUE(Form->isVisible());
    Form->reject();
    EXPECT_FALSE(Form->isVisible());
    EXPECT_EQ(1u, Box.Texts.size());

    Start(true);
    Box.Answer = 0;
    for (int minute = 0; minute < 5; ++minute)
        Form->TimerTimer();
    EXPECT_FALSE(Form->isVisible());
}

TEST_F(ExercFormTest, WordBarsClampRecordsReadFromFiles)
{
    TScriptedRandom random({0, 0, 0});
    ExerciseOptions.RequiredScore = 3;
    // Level 2 needs 4 right answers; 3 recent answers with 2 right give a recent score of 3.
    Add({0}, {2, 1, 3, 0b101});
    Add({0}, {0});
    Start(true);
    auto visibleImages = [this] {
        int visible = 0;
        for (QLabel *image : Form->findChildren<QLabel *>(QRegularExpression("RightWrong.Img")))
            visible += image->isVisibleTo(Form) ? 1 : 0;
        return visible;
    };
    EXPECT_EQ(3, visibleImages());
    EXPECT_FALSE(Ui().RightWrong2Img->isVisibleTo(Form));
    EXPECT_TRUE(Ui().RightWrong3Img->isVisibleTo(Form));
    EXPECT_EQ(59 * 3 / 5, Ui().LocalScoreFill->width());
    EXPECT_EQ(QColor(115, 230, 115), Ui().LocalScoreFill->palette().color(QPalette::Window));
    EXPECT_EQ(59 * 1 / 4, Ui().LocalProgressFill->width());
    EXPECT_EQ(128 * 2 / 3, Ui().AverageScoreFill->width());
    EXPECT_EQ(128 * 1 / 4, Ui().TotalProgressFill->width());
    Form->reject();

    // A count of 9 and a score of 40 stay inside the five images and the bars.
    List.SetCount2(0, 9);
    List.SetHistory2(0, 0x0F);
    List.SetScore2(0, 40);
    random.Script = {0};
    Start(true);
    EXPECT_EQ(5, visibleImages());
    EXPECT_EQ(59 * 2 / 5, Ui().LocalScoreFill->width());
    EXPECT_EQ(QColor(255, 102, 102), Ui().LocalScoreFill->palette().color(QPalette::Window));
    EXPECT_EQ(59, Ui().LocalProgressFill->width());
    EXPECT_EQ(128 * 4 / 9, Ui().AverageScoreFill->width());
    EXPECT_EQ(128, Ui().TotalProgressFill->width());
}

TEST_F(ExercFormTest, LayoutAtTheDefaultAndAWiderSize)
{
    TCountingRandom random;
    Add({1}, {0});
    Add({1}, {0});
    Start(true);
    Ui().AnswerEdit->resize(Ui().AnswerEdit->width(), 21);
    Form->resize(600, 500);
    Form->resize(529 - ExercFrameWidth, 420 - ExercFrameHeight);
    EXPECT_EQ(65, Ui().QuestionRichEdit->height());
    EXPECT_EQ(89, Ui().QuestionBox->height());
    EXPECT_EQ(136, Ui().OpenAnswerBox->y());
    EXPECT_EQ(121, Ui().OpenAnswerBox->height());
    EXPECT_EQ(88, Ui().AnswerEdit->y());
    EXPECT_EQ(264, Ui().LocalScoreBox->y());
    EXPECT_EQ(QPoint(360, 264), Ui().GlobalScoreBox->pos());
    EXPECT_EQ(QPoint(176, 336), Ui().StopButton->pos());

    Form->resize(629 - ExercFrameWidth, 420 - ExercFrameHeight);
    EXPECT_EQ(589, Ui().QuestionBox->width());
    EXPECT_EQ(573, Ui().AnswerEdit->width());
    EXPECT_EQ(267, Ui().CRichEdit->width());
    EXPECT_EQ(629 - 267 - 48, Ui().CRichEdit->x());
    EXPECT_EQ(629 - 267 - 64, Ui().DLabel->x());
    EXPECT_EQ(QPoint(314, 296), Ui().NoButton->pos());
    Form->reject();

    // Multiple choice: three equal memo heights.
    Choose(false);
    Start(true);
    Form->resize(529 - ExercFrameWidth, 420 - ExercFrameHeight);
    EXPECT_EQ(51, Ui().QuestionRichEdit->height());
    EXPECT_EQ(75, Ui().QuestionBox->height());
    EXPECT_EQ(122, Ui().MultipleAnswerBox->y());
    EXPECT_EQ(133, Ui().MultipleAnswerBox->height());
    EXPECT_EQ(Ui().ARichEdit->y() + 58, Ui().BRichEdit->y());
}

TEST_F(ExercFormTest, LettersAnswerWithoutAltOutsideEditors)
{
    TScriptedRandom random({0, 0, 0, 0, 0, 0, 0, 0});
    Add({1}, {0});
    Add({1}, {0});
    Choose(false);
    Start(true);
    QTest::keyClick(Form, Qt::Key_D);
    EXPECT_FALSE(Ui().AButton->isVisible());
    EXPECT_TRUE(Ui().NextButton->isVisible());
    EXPECT_EQ(1, Record(Asked().first, 1).Count);
}

TEST_F(ExercFormTest, MultipleChoiceInDirectionTwoOffersForeignWordsAndNoContext)
{
    // Draws: the shuffle of three, the first of two alternatives, the right answer's slot.
    TScriptedRandom random({0, 0, 0, 0, 2});
    Add({0}, {1}, "une phrase");
    Add({1}, {0});
    Add({0}, {1});
    Choose(false);
    Start(true);
    EXPECT_EQ((std::vector<int>{3, 2, 1, 2, 4}), random.Bounds);
    EXPECT_EQ((std::pair{0, 2}), Asked());
    EXPECT_EQ("Frans", Ui().MultipleAnswerBox->title());
    EXPECT_FALSE(Ui().ContextAction->isEnabled());
    EXPECT_EQ((std::vector<QString>{"f1", "f2", "f0", ""}),
              (std::vector<QString>{Ui().ARichEdit->toPlainText(), Ui().BRichEdit->toPlainText(),
                                    Ui().CRichEdit->toPlainText(), Ui().DRichEdit->toPlainText()}));
    QTest::mouseClick(Ui().AButton, Qt::LeftButton);
    EXPECT_EQ("fout, C", Ui().MultipleLabel->text());
    EXPECT_EQ(1, Record(0, 2).Count);
    EXPECT_EQ(0u, Record(0, 2).History);
}

TEST_F(ExercFormTest, TheFunctionKeysRunTheToolBarCommands)
{
    TCountingRandom random;
    Add({1}, {0}, "une phrase");
    Start(true);
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form));
    QTest::keyClick(Ui().AnswerEdit, Qt::Key_F8);
    EXPECT_EQ((QStringList{"f0", "une phrase"}), Lines(Ui().QuestionRichEdit));
    EXPECT_FALSE(Ui().ContextAction->isEnabled());
    // A disabled command does nothing.
    QTest::keyClick(Ui().AnswerEdit, Qt::Key_F8);
    EXPECT_EQ(2, Lines(Ui().QuestionRichEdit).size());
}

// Enter presses the focused button: "Next word" after a choice, and No while Yes is the default.
TEST_F(ExercFormTest, EnterPressesTheFocusedButton)
{
    TSeededRandom random;
    for (int word = 0; word < 4; ++word)
        Add({1}, {0});
    Choose(false);
    Start(true);
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form));
    QTest::keyClick(Form, Qt::Key_D);
    ASSERT_TRUE(Ui().NextButton->isVisible());
    ASSERT_EQ(Ui().NextButton, QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(Ui().NextButton->isVisible());
    EXPECT_TRUE(Ui().AButton->isVisible());
    Form->reject();

    Choose(true);
    Start(true);
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form));
    const auto [word, direction] = Asked();
    const TRecord before = Record(word, direction);
    QTest::keyClick(Ui().AnswerEdit, Qt::Key_X);
    Ui().ShowButton->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_TRUE(Ui().YesButton->isDefault());
    Ui().NoButton->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(Answered(before, false), Record(word, direction));
    EXPECT_TRUE(Ui().ShowButton->isVisible());
}
