#include "exercises/Unit_ExercForm.h"

#include "core/ListFont.h"
#include "core/Texts.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Warnings.h"
#include "core/Unit_WordList.h"
#include "exercises/ExercFormParts.h"
#include "exercises/Unit_ExercList.h"
#include "exercises/Unit_ExercSetForm.h"
#include "exercises/Unit_TestResultForm.h"
#include "platform/Beep.h"
#include "ui_ExercForm.h"
#include "ui_ExercSetForm.h"

#include <QTextCursor>
#include <QToolBar>
#include <algorithm>

// Asking a word, taking the user's judgement and booking it in an exercise or a test.

using namespace ExercFormParts;

namespace {

void ColourMemo(QTextEdit &memo, const QColor &colour)
{
    QTextCursor cursor(memo.document());
    cursor.select(QTextCursor::Document);
    QTextCharFormat chars;
    chars.setForeground(colour);
    cursor.mergeCharFormat(chars);
}

} // namespace

void TExercForm::NextQuestion()
{
    if (!ExercList || CurIndex >= ExercList->Count())
        return;
    const TExercList &list = *ExercList;
    const int i = CurIndex;
    Asked = list.ChooseDirection(i);

    // Without a player no word has a sound to play.
    const bool hasSound = XAPlayer && list.ExtractSound(i, SoundFile);
    ui->PlayAction->setEnabled(hasSound);
    ui->PlayAction->setChecked(false);
    ui->StopAction->setEnabled(false);
    Context = list.GetContext(i);
    const bool open = OpenQuestions();
    Ui::TExercSetForm &sound = SoundChoices();
    const TListFont *forFont = list.GetForFont();
    const TListFont *refFont = list.GetRefFont();
    const QString forWord = FontText(list.GetForWord(i), forFont);
    const QString refWord = FontText(list.GetRefWord(i), refFont);
    const QString context = FontText(Context, forFont);
    auto questionCaption = [&list, i](const std::string &language) {
        QString caption = DecodeText(language);
        if (!list.GetPartOfSpeech(i).empty())
            caption += QStringLiteral(" (") + DecodeText(list.GetPartOfSpeech(i))
                    + QStringLiteral(")");
        return caption;
    };

    if (Asked == TDirection::Foreign) {
        const bool listening
                = hasSound && sound.PronounceQCheck->isChecked() && sound.ListenCheck->isChecked();
        ui->QuestionAction->setEnabled(listening);
        ui->ContextAction->setEnabled(!listening && !Context.empty()
                                      && !sound.ContextQCheck->isChecked());
        ui->QuestionRichEdit->setVisible(!listening);
        if (open)
            ui->AnswerRichEdit->hide();
        ui->QuestionBox->setTitle(questionCaption(list.GetForLanguage()));
        QStringList lines{forWord};
        if (!Context.empty() && sound.ContextQCheck->isChecked())
            lines << context;
        FillMemo(*ui->QuestionRichEdit, TwiceTheSize(forFont), {}, lines);
        if (!open) {
            ui->MultipleAnswerBox->setTitle(DecodeText(list.GetRefLanguage()));
            FillChoices(refFont, false);
        } else {
            ui->OpenAnswerBox->setTitle(DecodeText(list.GetRefLanguage()));
            FillMemo(*ui->AnswerRichEdit, TwiceTheSize(refFont), {}, {refWord});
            ui->AnswerEdit->setFont(OwnSize(refFont));
            ui->AnswerEdit->CodePage = CodePageOf(refFont);
            ui->AnswerEdit->SetKbLayout(ReferenceKbLayout);
        }
    } else {
        const bool dictation = hasSound && sound.PronounceACheck->isChecked()
                && sound.DictationCheck->isChecked();
        ui->QuestionAction->setEnabled(dictation);
        ui->ContextAction->setEnabled(!Context.empty() && !sound.ContextACheck->isChecked()
                                      && open);
        ui->QuestionRichEdit->setVisible(!dictation);
        if (open)
            ui->AnswerRichEdit->setVisible(!Context.empty() && sound.ContextACheck->isChecked());
        ui->QuestionBox->setTitle(questionCaption(list.GetRefLanguage()));
        FillMemo(*ui->QuestionRichEdit, TwiceTheSize(refFont), {}, {refWord});
        if (!open) {
            ui->MultipleAnswerBox->setTitle(DecodeText(list.GetForLanguage()));
            FillChoices(forFont, true);
        } else {
            ui->OpenAnswerBox->setTitle(DecodeText(list.GetForLanguage()));
            FillMemo(*ui->AnswerRichEdit, TwiceTheSize(forFont), {},
                     {Context.empty() ? forWord : context});
            ui->AnswerEdit->setFont(OwnSize(forFont));
            ui->AnswerEdit->CodePage = CodePageOf(forFont);
            ui->AnswerEdit->SetKbLayout(ForeignKbLayout);
        }
    }
    if (list.Exercise)
        UpdateWordBars();

    if (hasSound
        && (Asked == TDirection::Foreign
                    ? sound.PronounceQCheck->isChecked()
                    : sound.PronounceACheck->isChecked() && sound.DictationCheck->isChecked()))
        Pronounce();

    if (open) {
        ui->AnswerEdit->clear();
        ui->AnswerEdit->setEnabled(true);
        ui->ShowButton->show();
        ui->CorrectLabel->hide();
        ui->YesButton->hide();
        ui->NoButton->hide();
        ui->YesButton->setDefault(false);
        ui->ShowButton->setDefault(true);
        ui->AnswerEdit->setFocus();
    } else {
        for (QPushButton *button : {ui->AButton, ui->BButton, ui->CButton, ui->DButton})
            button->show();
        ui->StopButton->setFocus();
    }
    for (QTextEdit *memo : {ui->QuestionRichEdit, ui->AnswerRichEdit, ui->ARichEdit, ui->BRichEdit,
                            ui->CRichEdit, ui->DRichEdit})
        memo->moveCursor(QTextCursor::Start);
}

void TExercForm::FillChoices(const TListFont *font, bool foreignWords)
{
    const TChoices choices = ExercList->GetChoices(CurIndex);
    CorrectPos = choices.CorrectPos;
    const TWordList &words = *ExercList->GetWordList();
    const QColor buttonText = palette().color(QPalette::ButtonText);
    for (int slot = 0; slot < 4; ++slot) {
        QTextEdit &memo = *LetterMemo(slot);
        memo.clear();
        const int word = choices.Choices[static_cast<size_t>(slot)];
        if (word == -1)
            continue;
        const std::string &text = foreignWords ? words.GetForWord(word) : words.GetRefWord(word);
        FillMemo(memo, TwiceTheSize(font), buttonText, {FontText(text, font)});
    }
}

QTextEdit *TExercForm::LetterMemo(int slot) const
{
    const std::array<QTextEdit *, 4> memos{ui->ARichEdit, ui->BRichEdit, ui->CRichEdit,
                                           ui->DRichEdit};
    return memos[static_cast<size_t>(std::clamp(slot, 0, 3))];
}

void TExercForm::ShowButtonClick()
{
    ui->ShowButton->hide();
    ui->AnswerEdit->setFocus();
    ui->AnswerEdit->SetKbLayout(intptr_t{0});
    ui->AnswerEdit->setEnabled(false);
    ui->AnswerRichEdit->show();
    ui->CorrectLabel->show();
    ui->YesButton->show();
    ui->NoButton->show();
    ui->ShowButton->setDefault(false);
    ui->YesButton->setDefault(true);
    if (Asked == TDirection::Foreign || !ExercList)
        return;
    if (!Context.empty()) {
        const TListFont *forFont = ExercList->GetForFont();
        FillMemo(*ui->AnswerRichEdit, TwiceTheSize(forFont), {},
                 {FontText(ExercList->GetForWord(CurIndex), forFont), FontText(Context, forFont)});
        ui->AnswerRichEdit->moveCursor(QTextCursor::Start);
    }
    ui->ContextAction->setEnabled(false);
    Ui::TExercSetForm &sound = SoundChoices();
    if (ui->PlayAction->isEnabled() && sound.PronounceACheck->isChecked()
        && !sound.DictationCheck->isChecked())
        Pronounce();
}

void TExercForm::YesButtonClick()
{
    if (Finished || !ExercList)
        return;
    AnswerRight();
    if (Finished)
        CloseByProgram();
    else
        NextQuestion();
}

void TExercForm::NoButtonClick()
{
    if (Finished || !ExercList)
        return;
    AnswerWrong();
    if (Finished)
        CloseByProgram();
    else
        NextQuestion();
}

void TExercForm::ABCDButtonClick(int tag)
{
    if (Finished || !ExercList)
        return;
    for (QPushButton *button : {ui->AButton, ui->BButton, ui->CButton, ui->DButton})
        button->hide();
    const QString letter(QChar(u'A' + CorrectPos));
    QTextEdit &rightMemo = *LetterMemo(CorrectPos);
    if (tag == CorrectPos) {
        AnswerRight();
        if (Finished) {
            CloseByProgram();
            return;
        }
        ui->MultipleLabel->setText(PackText(TEntry::RightChoice, {{u"%a%", letter}}));
        ColourMemo(rightMemo, RightAnswerColour);
    } else {
        AnswerWrong();
        if (Finished) {
            CloseByProgram();
            return;
        }
        ui->MultipleLabel->setText(PackText(TEntry::WrongChoice, {{u"%a%", letter}}));
        ColourMemo(rightMemo, RightAnswerColour);
        ColourMemo(*LetterMemo(tag), WrongAnswerColour);
    }
    PlaceMessageLabels();
    ui->MultipleLabel->show();
    ui->NextButton->show();
    ui->NextButton->setFocus();
}

void TExercForm::NextButtonClick()
{
    for (QPushButton *button : {ui->AButton, ui->BButton, ui->CButton, ui->DButton})
        button->show();
    ui->NextButton->hide();
    ui->MultipleLabel->hide();
    NextQuestion();
}

void TExercForm::StopButtonClick()
{
    reject();
}

void TExercForm::AnswerRight()
{
    if (ExercList->Exercise)
        BookExercise(true);
    else
        BookTest(true);
}

void TExercForm::AnswerWrong()
{
    if (ExercList->Exercise)
        BookExercise(false);
    else
        BookTest(false);
}

void TExercForm::BookExercise(bool right)
{
    TExercList &list = *ExercList;
    list.BookAnswer(CurIndex, Asked, right);
    UpdateTotalBars();
    if (RecordChanged)
        RecordChanged(*list.GetWordList());
    // The bars show the answered word until the next question.
    UpdateWordBars();
    CurIndex = list.EndTurn(CurIndex, right);
    if (CurIndex < list.Count())
        return;
    if (list.Count() > 0) {
        ExercList = ExercList->Shuffle();
        CurIndex = 0;
        return;
    }
    // Nothing of the run may act while the box is up.
    Timer.stop();
    PlatformBeep(TBeepKind::Default);
    ShowMessage(LanguageText(TEntry::ExerciseFinished));
    Finished = true;
}

void TExercForm::BookTest(bool right)
{
    if (right) {
        ++NumRightAnswers;
        ui->NumRightLabel->setText(QString::number(NumRightAnswers));
    } else {
        ++NumWrongAnswers;
        ui->NumWrongLabel->setText(QString::number(NumWrongAnswers));
    }
    ++CurIndex;
    // A test also ends when the list has no further word to ask.
    const int left = CurIndex < ExercList->Count() ? TestQuestions() - CurIndex : 0;
    if (left >= 1) {
        ShowTestStatus(left);
        return;
    }
    ShowTestResult();
    Finished = true;
}

void TExercForm::ShowTestResult()
{
    TestRunning = false;
    StopPlayer();
    if (!TestResultForm)
        return;
    TestResultForm->SetResult(NumRightAnswers, NumWrongAnswers);
    PlatformBeep(TBeepKind::Default);
    TestResultForm->exec();
}
