#include "exercises/Unit_ExercSetForm.h"

#include "core/Texts.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "ui_ExercSetForm.h"

#include <QShowEvent>

TExercSetForm *ExercSetForm = nullptr;

namespace {

// The bits of the flags that are not the six boxes (the kind of questions and one spare).
constexpr uint8_t OtherFlags = 0xC0;

// "%tl%" is filled in after "%fl%", also where the first language's name holds it.
std::string DirectionCaption(const std::string &from, const std::string &to)
{
    return ReplacePlaceholders(
            ReplacePlaceholders(LanguageText(TEntry::DirectionBox), {{"%fl%", from}}),
            {{"%tl%", to}});
}

} // namespace

TExercSetForm::TExercSetForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TExercSetForm>())
{
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->PronounceQCheck, &QCheckBox::toggled, this, &TExercSetForm::PronounceQCheckClick);
    connect(ui->PronounceACheck, &QCheckBox::toggled, this, &TExercSetForm::PronounceACheckClick);
    connect(ui->SaveSettingsButton, &QPushButton::clicked, this,
            &TExercSetForm::SaveSettingsButtonClick);
    connect(ui->OKButton, &QPushButton::clicked, this, &TExercSetForm::OKButtonClick);
    connect(ui->CancelButton, &QPushButton::clicked, this, &TExercSetForm::CancelButtonClick);
    PronounceQCheckClick();
    PronounceACheckClick();
}

TExercSetForm::~TExercSetForm() = default;

void TExercSetForm::Prepare(const std::string &foreignLanguage,
                            const std::string &referenceLanguage)
{
    ui->QuestionBox->setTitle(DecodeText(DirectionCaption(foreignLanguage, referenceLanguage)));
    ui->AnswerBox->setTitle(DecodeText(DirectionCaption(referenceLanguage, foreignLanguage)));
    const uint8_t flags = ExerciseOptions.Flags;
    ui->PronounceQCheck->setChecked(flags & PronounceQuestion);
    ui->ListenCheck->setChecked(flags & ListeningTest);
    ui->ContextQCheck->setChecked(flags & ContextWithQuestion);
    ui->PronounceACheck->setChecked(flags & PronounceAnswer);
    ui->DictationCheck->setChecked(flags & Dictation);
    ui->ContextACheck->setChecked(flags & ContextWithAnswer);
    PronounceQCheckClick();
    PronounceACheckClick();
}

void TExercSetForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TExercSetForm::FormShow()
{
    ClosedByButton = false;
    ui->PronounceQCheck->setFocus();
}

void TExercSetForm::PronounceQCheckClick()
{
    ui->ListenCheck->setEnabled(ui->PronounceQCheck->isChecked());
}

void TExercSetForm::PronounceACheckClick()
{
    ui->DictationCheck->setEnabled(ui->PronounceACheck->isChecked());
}

void TExercSetForm::SaveSettingsButtonClick()
{
    // A disabled box keeps its state and is stored as it stands.
    uint8_t flags = ExerciseOptions.Flags & OtherFlags;
    const std::pair<const QCheckBox *, uint8_t> boxes[] = {
            {ui->PronounceQCheck, PronounceQuestion}, {ui->ListenCheck, ListeningTest},
            {ui->ContextQCheck, ContextWithQuestion}, {ui->PronounceACheck, PronounceAnswer},
            {ui->DictationCheck, Dictation},          {ui->ContextACheck, ContextWithAnswer},
    };
    for (const auto &[box, bit] : boxes)
        if (box->isChecked())
            flags |= bit;
    ExerciseOptions.Flags = flags;
}

void TExercSetForm::OKButtonClick()
{
    CloseWithResult(mrOk);
}

void TExercSetForm::CancelButtonClick()
{
    CloseWithResult(mrCancel);
}

void TExercSetForm::CloseWithResult(TModalResult result)
{
    ClosedByButton = true;
    done(result);
}

// Escape and the close box end the dialog as Cancel does.
void TExercSetForm::reject()
{
    done(mrCancel);
}

void TExercSetForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::ExercSetCaption));
    ui->PronounceQCheck->setText(PackText(TEntry::PronounceQuestionCheck));
    ui->ListenCheck->setText(PackText(TEntry::ListenCheck));
    ui->ContextQCheck->setText(PackText(TEntry::ContextQuestionCheck));
    ui->PronounceACheck->setText(PackText(TEntry::PronounceAnswerCheck));
    ui->DictationCheck->setText(PackText(TEntry::DictationCheck));
    ui->ContextACheck->setText(PackText(TEntry::ContextAnswerCheck));
    ui->SaveSettingsButton->setText(PackText(TEntry::KeepExercSetSettingsButton));
    ui->CancelButton->setText(PackText(TEntry::CancelButton));
    ui->OKButton->setText(PackText(TEntry::OkButton));
}
