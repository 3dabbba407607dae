#pragma once

#include "exercises/DirectionRecord.h"
#include "sound/Mp3Playback.h"

#include <QDialog>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class IXaudioPlayer;
class QLabel;
class QStatusBar;
class QTextEdit;
class QToolBar;
class QWidget;
class TExercList;
class TWordList;
struct TListFont;

namespace Ui {
class TExercForm;
}

// The window's outer size is its client size plus the classic frame.
inline constexpr int ExercFrameWidth = 8;
inline constexpr int ExercFrameHeight = 27;

// Runs one exercise or one test over the exercise list the main window hands it before showing.
// An exercise books every answer in the word list at once; a test changes nothing and ends with
// a mark. Its members are defined in one file per concern: Unit_ExercForm (creating, showing,
// closing, keys, time limit, texts), ExercFormQuestions (asking and booking answers),
// ExercFormPlayer (tool bar, player and listening), ExercFormBars (score display) and
// ExercFormLayout (geometry).
class TExercForm : public QDialog
{
    Q_OBJECT

public:
    explicit TExercForm(QWidget *parent = nullptr);
    ~TExercForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

    // Layouts for answers typed in the foreign and the reference language, as the main window's
    // editors last changed them; 0 is the desktop's own layout.
    intptr_t ForeignKbLayout = 0;
    intptr_t ReferenceKbLayout = 0;

    // Set before showing; freed when the window closes.
    std::unique_ptr<TExercList> ExercList;
    // The temporary file holding the current word's sound.
    std::string SoundFile;
    // The run has ended; the handler that set it closes the window.
    bool Finished = false;
    // The help topic of the run shown: exercise or test.
    int HelpContext = 0;

    // Told after an exercise answer changed a word's learning record, so that the owner of the
    // list can drop what no longer fits it (an undoable score reset would wipe the answer). The
    // main window sets it for as long as it lives.
    static inline std::function<void(const TWordList &)> RecordChanged;

    // The player that pronounces the words; without one no word has a sound. Not owned.
    void SetPlayer(IXaudioPlayer *player);

    Ui::TExercForm &Controls() const { return *ui; }
    QToolBar *ToolBar() const { return Tools; }
    QString StatusText() const;

    void TimerTimer();
    // Escape, the close box and Stop all ask the same close query.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void FormResize();
    void ShowButtonClick();
    void YesButtonClick();
    void NoButtonClick();
    void ABCDButtonClick(int tag);
    void NextButtonClick();
    void StopButtonClick();
    void TBPlayClick();
    void TBStopClick();
    void TBQuestionClick();
    void TBContextClick();
    void BindPlayback();
    void DeviceFailed(const std::string &device, const std::string &reason);

    void NextQuestion();
    void FillChoices(const TListFont *font, bool foreignWords);
    void AnswerRight();
    void AnswerWrong();
    void BookExercise(bool right);
    void BookTest(bool right);
    void UpdateWordBars();
    void UpdateTotalBars();
    void ShowTestResult();
    void ArrangeAnswerArea();
    void PlaceMessageLabels();
    void ApplyToolTips();
    void DisableAnswerButtons();
    void EnableAnswerButtons();
    void SetStatusText(const QString &text);
    void ShowTestStatus(int left);
    void CloseByProgram();
    void StopPlayer();
    void Pronounce();
    void CreateScoreDisplay();
    QTextEdit *LetterMemo(int slot) const;

    std::unique_ptr<Ui::TExercForm> ui;
    QToolBar *Tools = nullptr;
    QStatusBar *StatusBar = nullptr;
    QLabel *StatusLabel = nullptr;
    QTimer Timer;
    IXaudioPlayer *XAPlayer = nullptr;
    TMp3Playback Playback;
    // The last failure of the sound device that was said; the next words are pronounced without
    // saying it again.
    std::string SaidDeviceFailure;
    std::array<QLabel *, RecentAnswers> LastFiveImages{};

    int CurIndex = 0;
    int CorrectPos = 0;
    TDirection Asked = TDirection::Reference;
    int MinutesLeft = 0;
    bool TestRunning = false;
    int NumRightAnswers = 0;
    int NumWrongAnswers = 0;
    // The context of the current word, kept so that nothing reads the list after it changed.
    std::string Context;
    // The program asked to close while an input was open: close once the player has closed it.
    bool ClosePending = false;
};

extern TExercForm *ExercForm;
