#include "exercises/Unit_ExercStartForm.h"

#include "core/Texts.h"
#include "core/Unit_Constraints.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Warnings.h"
#include "exercises/Unit_ExercList.h"
#include "exercises/Unit_ExercSetForm.h"
#include "exercises/Unit_FilterForm.h"
#include "platform/CodePage.h"
#include "ui_ExercStartForm.h"

#include <QShowEvent>
#include <algorithm>
#include <initializer_list>

TExercStartForm *ExercStartForm = nullptr;

namespace {

constexpr int MinMinutes = 5;
constexpr int MaxMinutes = 120;
constexpr int MinutesStep = 5;
// The stored question count is one byte that the settings loader accepts up to this value.
constexpr int MaxStoredQuestions = 100;

std::string EditText(const QLineEdit &edit)
{
    return CodePage::FromUnicodeLossy(edit.text(), CodePage::Default);
}

} // namespace

TExercStartForm::TExercStartForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TExercStartForm>())
{
    ui->setupUi(this);
    setFixedSize(size());
    ui->NumberUpDown->SetAssociate(ui->NumberEdit);
    ui->NumberUpDown->SetRange(1, 100);
    ui->NumberUpDown->SetPosition(20);
    ui->TimeUpDown->SetAssociate(ui->TimeEdit);
    ui->TimeUpDown->SetRange(MinMinutes, MaxMinutes);
    ui->TimeUpDown->SetIncrement(MinutesStep);
    ui->TimeUpDown->SetPosition(30);
    connect(ui->TimeCheckBox, &QCheckBox::toggled, this, &TExercStartForm::TimeCheckBoxClick);
    connect(ui->FilterButton, &QPushButton::clicked, this, &TExercStartForm::FilterButtonClick);
    connect(ui->OptionsButton, &QPushButton::clicked, this, &TExercStartForm::OptionsButtonClick);
    connect(ui->SaveSettingsButton, &QPushButton::clicked, this,
            &TExercStartForm::SaveSettingsButtonClick);
    connect(ui->CancelButton, &QPushButton::clicked, this, &TExercStartForm::CancelButtonClick);
    connect(ui->StartButton, &QPushButton::clicked, this, &TExercStartForm::StartButtonClick);
}

TExercStartForm::~TExercStartForm() = default;

void TExercStartForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TExercStartForm::FormShow()
{
    ClosedByButton = false;
    const int entries = ExercList ? ExercList->Count() : 0;
    ui->NumberUpDown->SetRange(1, entries);
    ui->NumberEdit->setText(QString::number(std::min<int>(entries, ExerciseOptions.NumQuestions)));

    ui->TimeCheckBox->setChecked(ExerciseOptions.TimeLimit);
    TimeCheckBoxClick();
    ui->TimeUpDown->SetPosition(ExerciseOptions.Minutes);

    const bool exercise = IsExercise();
    const std::initializer_list<QWidget *> exerciseControls
            = {ui->ExerciseLabel, ui->TimeCheckBox, ui->TimeEdit, ui->TimeUpDown, ui->MinutesLabel};
    const std::initializer_list<QWidget *> testControls
            = {ui->ExamLabel, ui->NumQuestionsLabel, ui->NumberEdit, ui->NumberUpDown};
    for (QWidget *control : exerciseControls)
        control->setVisible(exercise);
    for (QWidget *control : testControls)
        control->setVisible(!exercise);

    if (ExerciseOptions.Flags & MultipleChoice)
        ui->MultipleRadio->setChecked(true);
    else
        ui->OpenRadio->setChecked(true);
    ui->StartButton->setFocus();

    if (ExercSetForm)
        ExercSetForm->Prepare(ExercList ? ExercList->GetForLanguage() : std::string(),
                              ExercList ? ExercList->GetRefLanguage() : std::string());
    if (FilterForm)
        FilterForm->Reset(ExercList);
}

bool TExercStartForm::IsExercise() const
{
    return ExercList && ExercList->Exercise;
}

void TExercStartForm::TimeCheckBoxClick()
{
    const bool on = ui->TimeCheckBox->isChecked();
    ui->TimeEdit->setEnabled(on);
    ui->TimeUpDown->setEnabled(on);
}

int TExercStartForm::ValidateStart()
{
    if (IsExercise()) {
        if (!ui->TimeCheckBox->isChecked())
            return 0;
        const int code = CheckExerciseTime(EditText(*ui->TimeEdit));
        switch (code) {
        case 0:
            return 0;
        case 1:
            ShowError(LanguageText(TEntry::TimeEmpty));
            break;
        case 2:
            ShowError(LanguageText(TEntry::TimeNotANumber));
            break;
        case 3:
            ShowError(ReplacePlaceholders(LanguageText(TEntry::TimeOutOfRange),
                                          {{"%min%", std::to_string(MinMinutes)},
                                           {"%max%", std::to_string(MaxMinutes)}}));
            break;
        default:
            ShowError(ReplacePlaceholders(LanguageText(TEntry::TimeNotAMultiple),
                                          {{"%n%", std::to_string(MinutesStep)}}));
            break;
        }
        ui->TimeEdit->setFocus();
        return code;
    }
    const int code = CheckIntRange(EditText(*ui->NumberEdit), ui->NumberUpDown->Min(),
                                   ui->NumberUpDown->Max());
    if (code == 0)
        return 0;
    if (code == 1)
        ShowError(LanguageText(TEntry::NumQuestionsEmpty));
    else
        ShowError(ReplacePlaceholders(LanguageText(TEntry::NumQuestionsInvalid),
                                      {{"%m%", std::to_string(ui->NumberUpDown->Max())}}));
    ui->NumberEdit->setFocus();
    return code;
}

void TExercStartForm::FilterButtonClick()
{
    if (!FilterForm)
        return;
    FilterForm->exec();
    if (!ui->NumberEdit->isVisibleTo(this) || !ExercList)
        return;
    const int passing
            = ExercList->CountFiltered(FilterForm->SelectedPartsOfSpeech,
                                       FilterForm->SelectedLessons, FilterForm->OnlyPronunciation);
    ui->NumberUpDown->SetRange(1, passing);
    if (CheckIntRange(EditText(*ui->NumberEdit), 1, passing) == 3)
        ui->NumberEdit->setText(QString::number(passing));
}

void TExercStartForm::OptionsButtonClick()
{
    if (ExercSetForm)
        ExercSetForm->exec();
}

void TExercStartForm::SaveSettingsButtonClick()
{
    if (ValidateStart() != 0)
        return;
    if (IsExercise()) {
        ExerciseOptions.TimeLimit = ui->TimeCheckBox->isChecked();
        if (CheckExerciseTime(EditText(*ui->TimeEdit)) == 0)
            ExerciseOptions.Minutes = static_cast<uint8_t>(ui->TimeEdit->text().toInt());
    } else {
        // A larger count would make the loader throw away every exercise setting.
        const int number = std::min(ui->NumberEdit->text().toInt(), MaxStoredQuestions);
        ExerciseOptions.NumQuestions = static_cast<uint8_t>(number);
    }
    if (ui->MultipleRadio->isChecked())
        ExerciseOptions.Flags |= MultipleChoice;
    else
        ExerciseOptions.Flags &= static_cast<uint8_t>(~MultipleChoice);
}

void TExercStartForm::CancelButtonClick()
{
    CloseWithResult(mrCancel);
}

void TExercStartForm::StartButtonClick()
{
    if (ValidateStart() == 0)
        CloseWithResult(mrOk);
}

void TExercStartForm::CloseWithResult(TModalResult result)
{
    ClosedByButton = true;
    done(result);
}

// Escape and the close box end the dialog as Cancel does.
void TExercStartForm::reject()
{
    done(mrCancel);
}

void TExercStartForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::ExercStartCaption));
    ui->ExerciseLabel->setText(PackText(TEntry::ExerciseHeading));
    ui->TimeCheckBox->setText(PackText(TEntry::TimeLimitCheck));
    ui->MinutesLabel->setText(PackText(TEntry::MinutesLabel));
    ui->ExamLabel->setText(PackText(TEntry::TestHeading));
    ui->NumQuestionsLabel->setText(PackText(TEntry::NumQuestionsLabel));
    ui->TypeBox->setTitle(PackText(TEntry::QuestionKindBox));
    ui->OpenRadio->setText(PackText(TEntry::OpenQuestionsRadio));
    ui->MultipleRadio->setText(PackText(TEntry::MultipleChoiceRadio));
    ui->FilterButton->setText(PackText(TEntry::FiltersButton));
    ui->OptionsButton->setText(PackText(TEntry::OptionsButton));
    ui->SaveSettingsButton->setText(PackText(TEntry::KeepStartSettingsButton));
    ui->CancelButton->setText(PackText(TEntry::CancelButton));
    ui->StartButton->setText(PackText(TEntry::StartButton));
}
