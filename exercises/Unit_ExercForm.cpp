#include "exercises/Unit_ExercForm.h"

#include "core/Texts.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Warnings.h"
#include "exercises/ExercFormParts.h"
#include "exercises/Random.h"
#include "exercises/Unit_ExercList.h"
#include "exercises/Unit_ExercStartForm.h"
#include "sound/Unit_Sound.h"
#include "sound/XaudioPlayer.h"
#include "ui_ExercForm.h"
#include "ui_ExercStartForm.h"
#include "widgets/HelpDispatcher.h"

#include <QKeyEvent>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <algorithm>

// Creating, showing and closing the window, its keys, the time limit and its texts.

TExercForm *ExercForm = nullptr;

using namespace ExercFormParts;

namespace {

constexpr int ExerciseHelpContext = 1300;
constexpr int TestHelpContext = 1400;
constexpr int MinuteInterval = 60000;

// The first button of a yes/no question.
constexpr int AnsweredYes = 0;

// The minutes and questions left fill in only the first placeholder: a translation may show a
// second one as written.
QString MinutesLeftText(const QString &minutes)
{
    return ReplaceFirstPlaceholder(PackText(TEntry::MinutesLeft), u"%m%", minutes);
}

QString QuestionsLeftText(int left)
{
    return ReplaceFirstPlaceholder(PackText(TEntry::QuestionsLeft), u"%n%", QString::number(left));
}

// The letter that the caption marks with "&", upper case; none when it marks nothing.
QChar Mnemonic(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] != u'&')
            return caption[i + 1].toUpper();
        ++i;
    }
    return {};
}

} // namespace

TExercForm::TExercForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TExercForm>())
{
    ui->setupUi(this);
    setMinimumSize(529 - ExercFrameWidth, 370 - ExercFrameHeight);

    Tools = new QToolBar(this);
    Tools->setObjectName(QStringLiteral("ToolBar"));
    Tools->setMovable(false);
    ui->PlayAction->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    ui->StopAction->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    ui->QuestionAction->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    ui->ContextAction->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    ui->PlayAction->setCheckable(true);
    for (QAction *action : {ui->PlayAction, ui->StopAction, ui->QuestionAction, ui->ContextAction})
        Tools->addAction(action);
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    StatusLabel = new QLabel(StatusBar);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusBar->addPermanentWidget(StatusLabel, 1);

    // FormCreate: the program's one seeding of the random generator.
    Randomize();
    CreateScoreDisplay();
    ui->HeightTestEdit->hide();
    ui->AnswerEdit->AcceptAllKeys = true;

    Timer.setInterval(MinuteInterval);
    connect(&Timer, &QTimer::timeout, this, &TExercForm::TimerTimer);
    connect(ui->ShowButton, &QPushButton::clicked, this, &TExercForm::ShowButtonClick);
    connect(ui->YesButton, &QPushButton::clicked, this, &TExercForm::YesButtonClick);
    connect(ui->NoButton, &QPushButton::clicked, this, &TExercForm::NoButtonClick);
    for (QPushButton *button : {ui->AButton, ui->BButton, ui->CButton, ui->DButton})
        connect(button, &QPushButton::clicked, this,
                [this, button] { ABCDButtonClick(button->property("tag").toInt()); });
    connect(ui->NextButton, &QPushButton::clicked, this, &TExercForm::NextButtonClick);
    connect(ui->StopButton, &QPushButton::clicked, this, &TExercForm::StopButtonClick);
    connect(ui->PlayAction, &QAction::triggered, this, &TExercForm::TBPlayClick);
    connect(ui->StopAction, &QAction::triggered, this, &TExercForm::TBStopClick);
    connect(ui->QuestionAction, &QAction::triggered, this, &TExercForm::TBQuestionClick);
    connect(ui->ContextAction, &QAction::triggered, this, &TExercForm::TBContextClick);
    resize(529 - ExercFrameWidth, 420 - ExercFrameHeight);

    // The window's own player; it lives as long as the window.
    auto *player = new TXaudioPlayer(this);
    player->SetPriority(XaudioPlayerPriority);
    SetPlayer(player);
}

TExercForm::~TExercForm()
{
    SetPlayer(nullptr);
}

QString TExercForm::StatusText() const
{
    return StatusLabel->text();
}

void TExercForm::SetStatusText(const QString &text)
{
    StatusLabel->setText(text);
}

void TExercForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TExercForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

void TExercForm::keyPressEvent(QKeyEvent *event)
{
    // The letter of a visible answer button answers without Alt while no editor has the focus.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::ShiftModifier;
    const QWidget *focus = focusWidget();
    const bool inEditor
            = focus && (qobject_cast<const QLineEdit *>(focus) != nullptr) && focus->isEnabled();
    if (modifiers == Qt::NoModifier && !inEditor && event->text().size() == 1) {
        const QChar letter = event->text()[0].toUpper();
        for (QPushButton *button :
             {ui->AButton, ui->BButton, ui->CButton, ui->DButton, ui->YesButton, ui->NoButton}) {
            if (button->isVisible() && button->isEnabled() && Mnemonic(button->text()) == letter) {
                button->click();
                return;
            }
        }
    }
    QDialog::keyPressEvent(event);
}

void TExercForm::reject()
{
    if (!isVisible()) {
        QDialog::reject();
        return;
    }
    if (!FormCloseQuery())
        return;
    FormClose();
    QDialog::reject();
}

void TExercForm::FormShow()
{
    if (!ExercList)
        return;
    Finished = false;
    ClosePending = false;
    ExercList = ExercList->Shuffle();
    const bool open = OpenQuestions();
    ui->OpenAnswerBox->setVisible(open);
    ui->MultipleAnswerBox->setVisible(!open);
    if (open) {
        ui->HeightTestEdit->setFont(OwnSize(ExercList->GetForFont()));
        const int foreign = ui->HeightTestEdit->sizeHint().height();
        ui->HeightTestEdit->setFont(OwnSize(ExercList->GetRefFont()));
        const int reference = ui->HeightTestEdit->sizeHint().height();
        ui->AnswerEdit->resize(ui->AnswerEdit->width(), std::max(foreign, reference));
    }
    ArrangeAnswerArea();
    CurIndex = 0;
    TestRunning = !ExercList->Exercise;
    Tools->setEnabled(true);
    ApplyToolTips();

    const bool exercise = ExercList->Exercise;
    if (exercise) {
        setWindowTitle(PackText(TEntry::ExerciseCaption));
        HelpContext = ExerciseHelpContext;
        ui->LocalScoreBox->setTitle(PackText(TEntry::WordScoreBox));
        ui->GlobalScoreBox->setTitle(PackText(TEntry::TotalScoreBox));
        if (StartChoices().TimeCheckBox->isChecked()) {
            const QString minutes = StartChoices().TimeEdit->text();
            SetStatusText(MinutesLeftText(minutes));
            MinutesLeft = minutes.toInt();
            Timer.start();
        } else {
            SetStatusText({});
        }
    } else {
        setWindowTitle(PackText(TEntry::TestCaption));
        HelpContext = TestHelpContext;
        ui->LocalScoreBox->setTitle(PackText(TEntry::WrongCountBox));
        ui->GlobalScoreBox->setTitle(PackText(TEntry::RightCountBox));
        ShowTestStatus(TestQuestions());
    }
    // F1 finds it as any window's help context.
    SetHelpContext(this, HelpContext);

    ui->NumWrongLabel->setVisible(!exercise);
    ui->NumRightLabel->setVisible(!exercise);
    for (QWidget *control :
         {static_cast<QWidget *>(ui->Last5Label), static_cast<QWidget *>(ui->Last5Bevel),
          static_cast<QWidget *>(ui->LocalScoreLabel), static_cast<QWidget *>(ui->LocalScoreBar),
          static_cast<QWidget *>(ui->LocalScoreFill),
          static_cast<QWidget *>(ui->LocalProgressLabel),
          static_cast<QWidget *>(ui->LocalProgressBar),
          static_cast<QWidget *>(ui->LocalProgressFill),
          static_cast<QWidget *>(ui->AverageScoreLabel),
          static_cast<QWidget *>(ui->AverageScoreBar), static_cast<QWidget *>(ui->AverageScoreFill),
          static_cast<QWidget *>(ui->TotalProgressLabel),
          static_cast<QWidget *>(ui->TotalProgressBar),
          static_cast<QWidget *>(ui->TotalProgressFill)})
        control->setVisible(exercise);
    for (QLabel *image : LastFiveImages)
        image->hide();
    if (exercise) {
        UpdateTotalBars();
    } else {
        NumRightAnswers = 0;
        NumWrongAnswers = 0;
        ui->NumWrongLabel->setText(QStringLiteral("0"));
        ui->NumRightLabel->setText(QStringLiteral("0"));
    }

    for (QWidget *control :
         {static_cast<QWidget *>(ui->ShowButton), static_cast<QWidget *>(ui->CorrectLabel),
          static_cast<QWidget *>(ui->YesButton), static_cast<QWidget *>(ui->NoButton),
          static_cast<QWidget *>(ui->AButton), static_cast<QWidget *>(ui->BButton),
          static_cast<QWidget *>(ui->CButton), static_cast<QWidget *>(ui->DButton),
          static_cast<QWidget *>(ui->NextButton), static_cast<QWidget *>(ui->MultipleLabel)})
        control->hide();
    NextQuestion();
}

void TExercForm::ShowTestStatus(int left)
{
    if (left >= 2)
        SetStatusText(QuestionsLeftText(left));
    else
        SetStatusText(PackText(TEntry::LastQuestion));
}

void TExercForm::TimerTimer()
{
    --MinutesLeft;
    if (MinutesLeft >= 2) {
        SetStatusText(MinutesLeftText(QString::number(MinutesLeft)));
    } else if (MinutesLeft == 1) {
        SetStatusText(PackText(TEntry::OneMinuteLeft));
    } else {
        Timer.stop();
        SetStatusText({});
        if (ConfirmYesNo(LanguageText(TEntry::TimeUp)) == AnsweredYes)
            CloseByProgram();
    }
}

bool TExercForm::FormCloseQuery()
{
    if (Mp3InputOpen)
        return false;
    if (TestRunning)
        return WarnYesNo(LanguageText(TEntry::StopTestQuestion)) == AnsweredYes;
    return true;
}

void TExercForm::FormClose()
{
    Timer.stop();
    StopPlayer();
    ExercList.reset();
    ClosePending = false;
}

void TExercForm::ApplyToolTips()
{
    ui->PlayAction->setToolTip(PackText(TEntry::PlayHint));
    ui->StopAction->setToolTip(PackText(TEntry::StopHint));
    ui->QuestionAction->setToolTip(PackText(TEntry::QuestionHint));
    ui->ContextAction->setToolTip(PackText(TEntry::ContextHint));
}

void TExercForm::ApplyLanguage()
{
    ApplyToolTips();
    ui->ShowButton->setText(PackText(TEntry::ShowAnswerButton));
    ui->CorrectLabel->setText(PackText(TEntry::DidYouKnowLabel));
    PlaceMessageLabels();
    ui->YesButton->setText(PackText(TEntry::YesButton));
    ui->NoButton->setText(PackText(TEntry::NoButton));
    ui->NextButton->setText(PackText(TEntry::NextWordButton));
    ui->StopButton->setText(PackText(TEntry::StopButton));
    ui->Last5Label->setText(PackText(TEntry::LastFiveLabel));
    ui->LocalScoreLabel->setText(PackText(TEntry::WordScoreLabel));
    ui->LocalProgressLabel->setText(PackText(TEntry::WordProgressLabel));
    ui->AverageScoreLabel->setText(PackText(TEntry::AverageScoreLabel));
    ui->TotalProgressLabel->setText(PackText(TEntry::TotalProgressLabel));
}
