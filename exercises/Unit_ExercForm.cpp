#include "exercises/Unit_ExercForm.h"

#include "core/ListFont.h"
#include "core/Texts.h"
#include "core/Unit_Charsets.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Warnings.h"
#include "core/Unit_WordList.h"
#include "exercises/Random.h"
#include "exercises/Unit_ExercList.h"
#include "exercises/Unit_ExercSetForm.h"
#include "exercises/Unit_ExercStartForm.h"
#include "exercises/Unit_TestResultForm.h"
#include "platform/Beep.h"
#include "platform/CodePage.h"
#include "sound/Unit_Sound.h"
#include "sound/XaudioPlayer.h"
#include "ui_ExercForm.h"
#include "ui_ExercSetForm.h"
#include "ui_ExercStartForm.h"
#include "widgets/HelpDispatcher.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolBar>
#include <algorithm>

TExercForm *ExercForm = nullptr;

namespace {

constexpr int ExerciseHelpContext = 1300;
constexpr int TestHelpContext = 1400;
constexpr int MinuteInterval = 60000;
constexpr int FillHeight = 12;
constexpr int MarkSize = 18;
constexpr uint32_t PlayedOutTag = 1;

// Controls that follow the window's outer width W: (W - Margin) / Share wide.
struct TStretch
{
    QWidget *Control;
    int Margin;
    int Share;
};

// Where a control's left edge goes: where it was, or Left from the middle or the right of the
// window's outer width.
enum class THorizontalAnchor : uint8_t {
    Kept,
    Middle,
    Right,
};

// A control whose top edge stays AboveBottom over the window's outer height.
struct TAnchor
{
    QWidget *Control;
    THorizontalAnchor Horizontal;
    int Left;
    int AboveBottom;
};

int LeftEdge(const TAnchor &anchor, int outerWidth)
{
    switch (anchor.Horizontal) {
    case THorizontalAnchor::Middle:
        return outerWidth / 2 + anchor.Left;
    case THorizontalAnchor::Right:
        return outerWidth + anchor.Left;
    case THorizontalAnchor::Kept:
        break;
    }
    return anchor.Control->x();
}

// The first button of a yes/no question.
constexpr int AnsweredYes = 0;

const QColor ScoreRed(255, 102, 102);
const QColor ScoreGreen(115, 230, 115);
const QColor FillGrey(128, 128, 128);
const QColor RightAnswerColour(0, 128, 0);
const QColor WrongAnswerColour(255, 0, 0);

int CodePageOf(const TListFont *font)
{
    return CodePage::ForCharset(font ? font->Charset : DEFAULT_CHARSET);
}

QString FontText(const std::string &bytes, const TListFont *font)
{
    return DecodeText(bytes, CodePageOf(font));
}

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

QFont OwnSize(const TListFont *font)
{
    return font ? font->toQFont() : QFont();
}

QFont TwiceTheSize(const TListFont *font)
{
    QFont result = OwnSize(font);
    if (font && font->Size > 0)
        result.setPointSize(2 * font->Size);
    return result;
}

// Appends a centred line; colour invalid keeps the memo's own text colour.
void AddMemoLine(QTextEdit &memo, const QFont &font, const QColor &colour, const QString &line,
                 bool first)
{
    QTextCursor cursor(memo.document());
    cursor.movePosition(QTextCursor::End);
    if (!first)
        cursor.insertBlock();
    QTextBlockFormat block;
    block.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(block);
    QTextCharFormat chars;
    chars.setFont(font);
    if (colour.isValid())
        chars.setForeground(colour);
    cursor.setBlockCharFormat(chars);
    cursor.insertText(line, chars);
}

void FillMemo(QTextEdit &memo, const QFont &font, const QColor &colour, const QStringList &lines)
{
    memo.clear();
    for (qsizetype i = 0; i < lines.size(); ++i)
        AddMemoLine(memo, font, colour, lines[i], i == 0);
}

void ColourMemo(QTextEdit &memo, const QColor &colour)
{
    QTextCursor cursor(memo.document());
    cursor.select(QTextCursor::Document);
    QTextCharFormat chars;
    chars.setForeground(colour);
    cursor.mergeCharFormat(chars);
}

void SetFill(QWidget &fill, const QWidget &bar, int64_t width, const QColor &colour)
{
    const int widest = std::max(0, bar.width() - 1);
    fill.resize(static_cast<int>(std::clamp<int64_t>(width, 0, widest)), FillHeight);
    QPalette palette = fill.palette();
    palette.setColor(QPalette::Window, colour);
    fill.setPalette(palette);
    fill.setAutoFillBackground(true);
    fill.update();
}

QPixmap MarkPicture(bool right)
{
    QPixmap picture(MarkSize, MarkSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(right ? RightAnswerColour : WrongAnswerColour, 3));
    if (right) {
        painter.drawPolyline(QPolygon({QPoint(3, 9), QPoint(7, 14), QPoint(15, 4)}));
    } else {
        painter.drawLine(4, 4, 14, 14);
        painter.drawLine(14, 4, 4, 14);
    }
    return picture;
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

Ui::TExercStartForm &StartChoices()
{
    return *ExercStartForm->ui;
}

Ui::TExercSetForm &SoundChoices()
{
    return *ExercSetForm->ui;
}

bool OpenQuestions()
{
    return StartChoices().OpenRadio->isChecked();
}

int TestQuestions()
{
    return StartChoices().NumberEdit->text().toInt();
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
    LastFiveImages = {ui->RightWrong1Img, ui->RightWrong2Img, ui->RightWrong3Img,
                      ui->RightWrong4Img, ui->RightWrong5Img};
    ui->RightImage->setPixmap(MarkPicture(true));
    ui->WrongImage->setPixmap(MarkPicture(false));
    ui->RightImage->hide();
    ui->WrongImage->hide();
    ui->HeightTestEdit->hide();
    ui->AnswerEdit->AcceptAllKeys = true;
    QFont counterFont = ui->NumWrongLabel->font();
    counterFont.setPixelSize(48);
    counterFont.setBold(true);
    ui->NumWrongLabel->setFont(counterFont);
    ui->NumRightLabel->setFont(counterFont);
    for (QWidget *fill :
         {ui->LocalScoreFill, ui->LocalProgressFill, ui->AverageScoreFill, ui->TotalProgressFill})
        SetFill(*fill, *fill->parentWidget(), 0, FillGrey);

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
}

TExercForm::~TExercForm()
{
    SetPlayer(nullptr);
}

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
                    : sound.PronounceACheck->isChecked() && sound.DictationCheck->isChecked())
        && !Mp3InputOpen)
        XAPlayer->InputOpen(SoundFile);

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
        && !sound.DictationCheck->isChecked() && XAPlayer && !Mp3InputOpen)
        XAPlayer->InputOpen(SoundFile);
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

void TExercForm::UpdateWordBars()
{
    if (!ExercList || CurIndex >= ExercList->Count())
        return;
    const TDirectionRecord record = ExercList->Record(CurIndex, Asked);
    const int t = record.Threshold();
    const int p = std::min(t, record.Score());
    // A count read from a file may lie outside 0..5.
    const int n = std::clamp(record.Count(), 0, RecentAnswers);
    const uint32_t h = record.History();
    const int r = record.RecentScore();

    for (int j = 0; j < RecentAnswers; ++j) {
        QLabel &image = *LastFiveImages[static_cast<size_t>(RecentAnswers - 1 - j)];
        if (j < n) {
            image.setPixmap(((h >> j) & 1U) ? ui->RightImage->pixmap() : ui->WrongImage->pixmap());
            image.show();
        } else {
            image.hide();
        }
    }
    const int required = ExerciseOptions.RequiredScore;
    SetFill(*ui->LocalScoreFill, *ui->LocalScoreBar,
            int64_t{ui->LocalScoreBar->width() - 1} * r / RecentAnswers,
            r < required ? ScoreRed : ScoreGreen);
    SetFill(*ui->LocalProgressFill, *ui->LocalProgressBar,
            t >= 1 ? int64_t{ui->LocalProgressBar->width() - 1} * p / t : 0, FillGrey);
}

void TExercForm::UpdateTotalBars()
{
    if (!ExercList)
        return;
    const TExercList &list = *ExercList;
    if (list.NumAnswered < 1) {
        SetFill(*ui->AverageScoreFill, *ui->AverageScoreBar, 0, ScoreRed);
    } else {
        const bool enough = int64_t{list.NumRight} * RecentAnswers / list.NumAnswered
                >= ExerciseOptions.RequiredScore;
        SetFill(*ui->AverageScoreFill, *ui->AverageScoreBar,
                int64_t{ui->AverageScoreBar->width() - 1} * list.NumRight / list.NumAnswered,
                enough ? ScoreGreen : ScoreRed);
    }
    SetFill(*ui->TotalProgressFill, *ui->TotalProgressBar,
            list.ProgressTotal >= 1 ? int64_t{ui->TotalProgressBar->width() - 1} * list.Progress
                            / list.ProgressTotal
                                    : 0,
            FillGrey);
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

void TExercForm::FormResize()
{
    const int W = width() + ExercFrameWidth;
    const int H = height() + ExercFrameHeight;
    Tools->setGeometry(0, 0, width(), Tools->sizeHint().height());
    const int statusHeight = StatusBar->sizeHint().height();
    StatusBar->setGeometry(0, height() - statusHeight, width(), statusHeight);

    const TStretch stretches[] = {
            {ui->QuestionBox, 40, 1},       {ui->OpenAnswerBox, 40, 1},
            {ui->MultipleAnswerBox, 40, 1}, {ui->QuestionRichEdit, 56, 1},
            {ui->AnswerRichEdit, 56, 1},    {ui->AnswerEdit, 56, 1},
            {ui->ARichEdit, 95, 2},         {ui->BRichEdit, 95, 2},
            {ui->CRichEdit, 95, 2},         {ui->DRichEdit, 95, 2},
    };
    for (const TStretch &stretch : stretches)
        stretch.Control->resize((W - stretch.Margin) / stretch.Share, stretch.Control->height());
    // The right column of alternatives keeps its margin, its letters stay beside the memos.
    for (const auto &[memo, letter] :
         {std::pair{ui->CRichEdit, ui->CLabel}, {ui->DRichEdit, ui->DLabel}}) {
        memo->move(W - memo->width() - 48, memo->y());
        letter->move(memo->x() - 16, letter->y());
    }

    using enum THorizontalAnchor;
    const TAnchor anchors[] = {
            {ui->LocalScoreBox, Kept, 0, 156},    {ui->GlobalScoreBox, Right, -169, 156},
            {ui->CorrectLabel, Middle, -88, 148}, {ui->AButton, Middle, -88, 148},
            {ui->CButton, Middle, 0, 148},        {ui->MultipleLabel, Middle, -88, 148},
            {ui->ShowButton, Middle, -88, 140},   {ui->YesButton, Middle, -88, 124},
            {ui->NoButton, Middle, 0, 124},       {ui->NextButton, Middle, -88, 124},
            {ui->BButton, Middle, -88, 116},      {ui->DButton, Middle, 0, 116},
            {ui->StopButton, Middle, -88, 84},
    };
    for (const TAnchor &anchor : anchors)
        anchor.Control->move(LeftEdge(anchor, W), H - anchor.AboveBottom);
    ArrangeAnswerArea();
}

void TExercForm::ArrangeAnswerArea()
{
    const int H = height() + ExercFrameHeight;
    auto setHeight = [](QWidget *control, int h) { control->resize(control->width(), h); };
    auto setTop = [](QWidget *control, int top) { control->move(control->x(), top); };
    auto bottom = [](const QWidget *control) { return control->y() + control->height(); };
    if (!ui->OpenAnswerBox->isVisibleTo(this)) {
        const int q = (H - 265) / 3;
        for (QWidget *memo :
             {ui->QuestionRichEdit, ui->ARichEdit, ui->BRichEdit, ui->CRichEdit, ui->DRichEdit})
            setHeight(memo, q);
        setTop(ui->BLabel, ui->ARichEdit->y() + q + 7);
        setTop(ui->BRichEdit, ui->ARichEdit->y() + q + 7);
        setTop(ui->DLabel, ui->CRichEdit->y() + q + 7);
        setTop(ui->DRichEdit, ui->CRichEdit->y() + q + 7);
        setHeight(ui->QuestionBox, q + 24);
        setHeight(ui->MultipleAnswerBox, ui->ARichEdit->height() + ui->BRichEdit->height() + 31);
        setTop(ui->MultipleAnswerBox, bottom(ui->QuestionBox) + 7);
        return;
    }
    const int edit = ui->AnswerEdit->height();
    const int q = (H - edit - 269) / 2;
    setHeight(ui->QuestionRichEdit, q);
    setHeight(ui->AnswerRichEdit, q);
    setHeight(ui->QuestionBox, q + 24);
    setHeight(ui->OpenAnswerBox, q + edit + 35);
    setTop(ui->AnswerEdit, ui->OpenAnswerBox->height() - edit - 12);
    setTop(ui->OpenAnswerBox, bottom(ui->QuestionBox) + 7);
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
