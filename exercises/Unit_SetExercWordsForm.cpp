#include "exercises/Unit_SetExercWordsForm.h"

#include "core/Texts.h"
#include "ui_SetExercWordsForm.h"

#include <QButtonGroup>
#include <QShowEvent>

TSetExercWordsForm *SetExercWordsForm = nullptr;

namespace {

constexpr int NormalLevelItem = 1;

// A direction that does not change offers neither button nor level; one that changes offers the
// level only while it is switched on.
void ShowDirection(const QCheckBox &change, QRadioButton &off, QRadioButton &on, QComboBox &levels)
{
    const bool changes = change.isChecked();
    off.setEnabled(changes);
    on.setEnabled(changes);
    levels.setEnabled(changes && on.isChecked());
}

// On enables the level list and hands it the focus; off disables it.
void SwitchDirection(const QRadioButton &on, QComboBox &levels)
{
    levels.setEnabled(on.isChecked() && on.isEnabled());
    if (levels.isEnabled())
        levels.setFocus();
}

void FillLevels(QComboBox &levels)
{
    levels.clear();
    for (TEntry entry : {TEntry::LevelQuick, TEntry::LevelNormal, TEntry::LevelIntensive})
        levels.addItem(PackText(entry));
    levels.setCurrentIndex(NormalLevelItem);
}

} // namespace

TSetExercWordsForm::TSetExercWordsForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TSetExercWordsForm>())
{
    ui->setupUi(this);
    setFixedSize(size());
    for (const auto &[off, on] : {std::pair{ui->ForRefOffRadio, ui->ForRefOnRadio},
                                  std::pair{ui->RefForOffRadio, ui->RefForOnRadio}}) {
        auto *group = new QButtonGroup(this);
        group->addButton(off);
        group->addButton(on);
    }
    connect(ui->ForRefCheckBox, &QCheckBox::toggled, this,
            &TSetExercWordsForm::ForRefCheckBoxClick);
    connect(ui->ForRefOnRadio, &QRadioButton::toggled, this,
            &TSetExercWordsForm::ForRefOnRadioClick);
    connect(ui->RefForCheckBox, &QCheckBox::toggled, this,
            &TSetExercWordsForm::RefForCheckBoxClick);
    connect(ui->RefForOnRadio, &QRadioButton::toggled, this,
            &TSetExercWordsForm::RefForOnRadioClick);
    connect(ui->OKButton, &QPushButton::clicked, this, &TSetExercWordsForm::OKButtonClick);
    connect(ui->CancelButton, &QPushButton::clicked, this, &TSetExercWordsForm::CancelButtonClick);
    ForRefCheckBoxClick();
    RefForCheckBoxClick();
}

TSetExercWordsForm::~TSetExercWordsForm() = default;

void TSetExercWordsForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TSetExercWordsForm::FormShow()
{
    ClosedByButton = false;
    ui->OKButton->setFocus();
}

void TSetExercWordsForm::ForRefCheckBoxClick()
{
    ShowDirection(*ui->ForRefCheckBox, *ui->ForRefOffRadio, *ui->ForRefOnRadio,
                  *ui->ForRefLevelCombo);
}

// Both buttons of a direction end here: the on button's change covers the off button's.
void TSetExercWordsForm::ForRefOnRadioClick()
{
    SwitchDirection(*ui->ForRefOnRadio, *ui->ForRefLevelCombo);
}

void TSetExercWordsForm::RefForCheckBoxClick()
{
    ShowDirection(*ui->RefForCheckBox, *ui->RefForOffRadio, *ui->RefForOnRadio,
                  *ui->RefForLevelCombo);
}

void TSetExercWordsForm::RefForOnRadioClick()
{
    SwitchDirection(*ui->RefForOnRadio, *ui->RefForLevelCombo);
}

void TSetExercWordsForm::OKButtonClick()
{
    CloseWithResult(mrOk);
}

void TSetExercWordsForm::CancelButtonClick()
{
    CloseWithResult(mrCancel);
}

void TSetExercWordsForm::CloseWithResult(TModalResult result)
{
    ClosedByButton = true;
    done(result);
}

// Escape and the close box end the dialog as Cancel does.
void TSetExercWordsForm::reject()
{
    done(mrCancel);
}

void TSetExercWordsForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::SetWordsCaption));
    ui->ForRefCheckBox->setText(PackText(TEntry::ForRefChangeCheck));
    ui->ForRefOffRadio->setText(PackText(TEntry::ForRefOffRadio));
    ui->ForRefOnRadio->setText(PackText(TEntry::ForRefOnRadio));
    FillLevels(*ui->ForRefLevelCombo);
    ui->RefForCheckBox->setText(PackText(TEntry::RefForChangeCheck));
    ui->RefForOffRadio->setText(PackText(TEntry::RefForOffRadio));
    ui->RefForOnRadio->setText(PackText(TEntry::RefForOnRadio));
    FillLevels(*ui->RefForLevelCombo);
    ui->OKButton->setText(PackText(TEntry::OkButton));
    ui->CancelButton->setText(PackText(TEntry::CancelButton));
}
