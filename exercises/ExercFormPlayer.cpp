#include "exercises/Unit_ExercForm.h"

#include "exercises/ExercFormParts.h"
#include "exercises/Unit_ExercList.h"
#include "exercises/Unit_ExercSetForm.h"
#include "sound/Unit_Sound.h"
#include "sound/XaudioPlayer.h"
#include "ui_ExercForm.h"
#include "ui_ExercSetForm.h"

#include <QTextCursor>
#include <QToolBar>

// The tool bar's commands, the player that pronounces the words and its notices, and the
// listening and dictation questions that hide the question until asked.

using namespace ExercFormParts;

namespace {

constexpr uint32_t PlayedOutTag = 1;

} // namespace

void TExercForm::SetPlayer(IXaudioPlayer *player)
{
    if (XAPlayer) {
        XAPlayer->OnNotifyAck = nullptr;
        XAPlayer->OnNotifyPong = nullptr;
        XAPlayer->OnNotifyPlayerState = nullptr;
    }
    XAPlayer = player;
    if (!XAPlayer)
        return;
    XAPlayer->OnNotifyAck = [this](uint8_t command) { XANotifyAck(command); };
    XAPlayer->OnNotifyPong = [this](uint32_t tag) { XANotifyPong(tag); };
    XAPlayer->OnNotifyPlayerState = [this](int state) { XANotifyPlayerState(state); };
}

// The word is pronounced unless a sound is still open.
void TExercForm::Pronounce()
{
    if (XAPlayer && !Mp3InputOpen)
        XAPlayer->InputOpen(SoundFile);
}

void TExercForm::TBPlayClick()
{
    if (!Mp3Playing && !Mp3InputOpen) {
        ui->PlayAction->setChecked(false);
        if (XAPlayer)
            XAPlayer->InputOpen(SoundFile);
    } else {
        ui->PlayAction->setChecked(Mp3Playing);
        ui->StopAction->setEnabled(Mp3Playing);
    }
}

void TExercForm::TBStopClick()
{
    if (Mp3Playing && XAPlayer)
        XAPlayer->Stop();
}

void TExercForm::TBQuestionClick()
{
    ui->QuestionAction->setEnabled(false);
    ui->QuestionRichEdit->show();
    if (Asked == TDirection::Foreign)
        ui->ContextAction->setEnabled(!Context.empty()
                                      && !SoundChoices().ContextQCheck->isChecked());
}

void TExercForm::TBContextClick()
{
    ui->ContextAction->setEnabled(false);
    if (Asked != TDirection::Foreign) {
        ui->AnswerRichEdit->show();
        return;
    }
    if (!ExercList)
        return;
    const TListFont *forFont = ExercList->GetForFont();
    AddMemoLine(*ui->QuestionRichEdit, TwiceTheSize(forFont), {}, FontText(Context, forFont),
                false);
    ui->QuestionRichEdit->moveCursor(QTextCursor::Start);
}

// The player's notices may come after the run ended and the list was freed: they touch only
// buttons and flags.
void TExercForm::XANotifyAck(uint8_t command)
{
    switch (command) {
    case IXaudioPlayer::cmdPlay:
        ui->PlayAction->setChecked(true);
        ui->StopAction->setEnabled(true);
        Mp3Playing = true;
        break;
    case IXaudioPlayer::cmdInputOpen:
        Mp3InputOpen = true;
        // A sound that opens only after the run ended is closed again unheard.
        if (!ExercList || Finished || ClosePending) {
            XAPlayer->InputClose();
            break;
        }
        DisableAnswerButtons();
        XAPlayer->InputSeek(0, 1);
        XAPlayer->Play();
        break;
    case IXaudioPlayer::cmdInputClose:
        XAPlayer->OutputClose();
        break;
    case IXaudioPlayer::cmdOutputClose:
        Mp3InputOpen = false;
        EnableAnswerButtons();
        if (ClosePending) {
            ClosePending = false;
            reject();
        }
        break;
    default:
        break;
    }
}

void TExercForm::XANotifyPong(uint32_t tag)
{
    if (tag != PlayedOutTag)
        return;
    ui->PlayAction->setChecked(false);
    ui->StopAction->setEnabled(false);
    Mp3Playing = false;
    XAPlayer->InputClose();
}

void TExercForm::XANotifyPlayerState(int state)
{
    if (state != IXaudioPlayer::StateStopped && state != IXaudioPlayer::StateEndOfStream)
        return;
    XAPlayer->OutputDrain();
    XAPlayer->Ping(PlayedOutTag);
}

void TExercForm::DisableAnswerButtons()
{
    for (QPushButton *button :
         {ui->ShowButton, ui->YesButton, ui->NoButton, ui->StopButton, ui->NextButton})
        button->setEnabled(false);
}

void TExercForm::EnableAnswerButtons()
{
    for (QPushButton *button :
         {ui->ShowButton, ui->YesButton, ui->NoButton, ui->StopButton, ui->NextButton})
        button->setEnabled(true);
}

void TExercForm::StopPlayer()
{
    if (!XAPlayer)
        return;
    if (Mp3Playing)
        XAPlayer->Stop();
    if (Mp3InputOpen)
        XAPlayer->InputClose();
}

// The run ended, or the user agreed to stop at the time limit: a sound still open is stopped and
// the window closes once the player has closed it.
void TExercForm::CloseByProgram()
{
    Finished = true;
    Tools->setEnabled(false);
    Timer.stop();
    if (Mp3InputOpen && XAPlayer) {
        ClosePending = true;
        StopPlayer();
        return;
    }
    reject();
}
