#include "exercises/Unit_ExercForm.h"

#include "core/Unit_Warnings.h"
#include "exercises/ExercFormParts.h"
#include "exercises/Unit_ExercList.h"
#include "exercises/Unit_ExercSetForm.h"
#include "sound/SoundTexts.h"
#include "sound/Unit_Sound.h"
#include "sound/XaudioPlayer.h"
#include "ui_ExercForm.h"
#include "ui_ExercSetForm.h"

#include <QTextCursor>
#include <QToolBar>

// The tool bar's commands, the player that pronounces the words and its notices, and the
// listening and dictation questions that hide the question until asked.

using namespace ExercFormParts;

void TExercForm::SetPlayer(IXaudioPlayer *player)
{
    XAPlayer = player;
    BindPlayback();
    Playback.SetPlayer(player);
}

// The player's notices may come after the run ended and the list was freed: they touch only
// buttons and flags.
void TExercForm::BindPlayback()
{
    Playback.InputOpened = [this] {
        // A sound that opens only after the run ended is closed again unheard.
        if (!ExercList || Finished || ClosePending)
            return TMp3Playback::TOpened::Close;
        DisableAnswerButtons();
        return TMp3Playback::TOpened::Play;
    };
    Playback.Playing = [this] {
        ui->PlayAction->setChecked(true);
        ui->StopAction->setEnabled(true);
    };
    Playback.PlayedOut = [this] {
        ui->PlayAction->setChecked(false);
        ui->StopAction->setEnabled(false);
    };
    Playback.OutputClosed = [this] {
        EnableAnswerButtons();
        if (ClosePending) {
            ClosePending = false;
            reject();
        }
    };
    Playback.DeviceFailed = [this](const std::string &device, const std::string &reason) {
        DeviceFailed(device, reason);
    };
}

// Every word would say it again: a failure is said once, until the device fails for another
// reason.
void TExercForm::DeviceFailed(const std::string &device, const std::string &reason)
{
    const std::string failure = device + '\n' + reason;
    if (failure == SaidDeviceFailure)
        return;
    SaidDeviceFailure = failure;
    ShowError(TShownText(CannotPlayText({device, reason})));
}

// The word is pronounced unless a sound is still open.
void TExercForm::Pronounce()
{
    if (!Mp3InputOpen)
        Playback.Open(SoundFile);
}

void TExercForm::TBPlayClick()
{
    if (!Mp3Playing && !Mp3InputOpen) {
        ui->PlayAction->setChecked(false);
        Playback.Open(SoundFile);
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
    Playback.Stop();
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
