#include "dialogs/Unit_OptionsForm.h"

#include "core/Texts.h"
#include "core/Unit_Constraints.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Paths.h"
#include "core/Unit_Warnings.h"
#include "dialogs/Unit_PartsOfSpeechForm.h"
#include "platform/CodePage.h"
#include "ui_OptionsForm.h"

#include <utility>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QShowEvent>
#include <memory>

TOptionsForm *OptionsForm = nullptr;

namespace {

constexpr int MinQuick = 1;
constexpr int MaxQuick = 28;
constexpr int MaxIntensive = 30;
constexpr qsizetype PackSuffixLength = 4;
// The language list sorts without regard to case, as the installer's does; names equal but for
// case keep a fixed order.
class TLanguageItem : public QListWidgetItem
{
public:
    using QListWidgetItem::QListWidgetItem;
    bool operator<(const QListWidgetItem &other) const override
    {
        const int order = text().compare(other.text(), Qt::CaseInsensitive);
        return order != 0 ? order < 0 : text() < other.text();
    }
};

// The places of the three levels in the stored thresholds.
constexpr size_t QuickLevel = 1;
constexpr size_t NormalLevel = 2;
constexpr size_t IntensiveLevel = 3;

std::string Bytes(const QString &text)
{
    return CodePage::FromUnicodeLossy(text, CodePage::Default);
}

uint8_t Threshold(const QLineEdit &edit)
{
    return static_cast<uint8_t>(edit.text().toInt());
}

} // namespace

TOptionsForm::TOptionsForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TOptionsForm>())
{
    ui->setupUi(this);
    ui->PageControl->setCurrentIndex(opEdit);
    ui->QuickUpDown->SetAssociate(ui->QuickEdit);
    ui->QuickUpDown->SetRange(MinQuick, MaxQuick);
    ui->NormalUpDown->SetAssociate(ui->NormalEdit);
    ui->NormalUpDown->SetRange(MinQuick + 1, MaxQuick + 1);
    ui->IntensiveUpDown->SetAssociate(ui->IntensiveEdit);
    ui->IntensiveUpDown->SetRange(MinQuick + 2, MaxIntensive);
    connect(ui->PageControl, &QTabWidget::currentChanged, this, &TOptionsForm::PageChanged);
    FocusConnection = connect(qApp, &QApplication::focusChanged, this,
                              [this](QWidget *, QWidget *now) { FocusChanged(now); });
    connect(ui->PartsOfSpeechButton, &QPushButton::clicked, this,
            &TOptionsForm::PartsOfSpeechButtonClick);
    connect(ui->OKButton, &QPushButton::clicked, this, &TOptionsForm::OKButtonClick);
    connect(ui->CancelButton, &QPushButton::clicked, this, &TOptionsForm::CancelButtonClick);
}

// The controls give up the focus while they are destroyed, after this window has ceased to be
// one: the application must not report that to it any more.
TOptionsForm::~TOptionsForm()
{
    disconnect(FocusConnection);
}

void TOptionsForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

// Only the files that pass the header test, and only names the loader opens as they are written:
// the name filter minds the case.
std::vector<std::string> TOptionsForm::LanguagePackNames()
{
    const QDir folder(QCoreApplication::applicationDirPath());
    std::vector<std::string> names;
    for (const QString &file :
         folder.entryList({QStringLiteral("*.lng")},
                          QDir::Files | QDir::Hidden | QDir::System | QDir::CaseSensitive)) {
        if (!IsLanguagePack(QFile::encodeName(folder.filePath(file)).toStdString()))
            continue;
        names.push_back(Bytes(file.chopped(PackSuffixLength)));
    }
    return names;
}

void TOptionsForm::FormShow()
{
    ClosedByButton = false;
    ui->DeleteConfirmCheck->setChecked(EditOptions.ConfirmDelete);
    ui->SortConfirmCheck->setChecked(EditOptions.ConfirmSort);
    (EditOptions.NormalEnter ? ui->NormalEnterRadio : ui->IsDownRadio)->setChecked(true);
    ui->AutoCompleteCheck->setChecked(EditOptions.AutoComplete);

    ui->ScoreCombo->setCurrentIndex(ExerciseOptions.RequiredScore);
    ui->QuickUpDown->SetPosition(ExerciseOptions.LevelThresholds[QuickLevel]);
    ui->NormalUpDown->SetPosition(ExerciseOptions.LevelThresholds[NormalLevel]);
    ui->IntensiveUpDown->SetPosition(ExerciseOptions.LevelThresholds[IntensiveLevel]);

    QListWidget &languages = *ui->LanguageBox;
    languages.clear();
    for (const std::string &name : LanguagePackNames()) {
        auto *item = new TLanguageItem(DecodeText(name), &languages);
        item->setSelected(name == Language);
    }
    const QList<QListWidgetItem *> selected = languages.selectedItems();
    if (!selected.isEmpty())
        languages.setCurrentItem(selected.front(), QItemSelectionModel::Current);

    ui->MRUCheckBox->setChecked(OtherOptions.LoadMRU);
    ui->RegisterCheckBox->setChecked(OtherOptions.RegisterFileType);
    ui->NoiseTrackBar->setValue(OtherOptions.NoiseLevel);

    PageFocus = {ui->DeleteConfirmCheck, ui->ScoreCombo, ui->LanguageBox, ui->MRUCheckBox};
    if (QWidget *control = PageFocus[static_cast<size_t>(ui->PageControl->currentIndex())])
        control->setFocus();
}

// The page control tells only that a page was entered: each page remembers the control that had
// the focus last within it.
void TOptionsForm::FocusChanged(QWidget *now)
{
    if (!now || !isVisible())
        return;
    for (int page = 0; page < PageCount; ++page) {
        if (ui->PageControl->widget(page)->isAncestorOf(now))
            PageFocus[static_cast<size_t>(page)] = now;
    }
}

void TOptionsForm::PageChanged(int index)
{
    if (index < 0 || index >= PageCount)
        return;
    if (QWidget *control = PageFocus[static_cast<size_t>(index)])
        control->setFocus();
}

void TOptionsForm::Fail(const QString &text, TPage page, QWidget *control)
{
    ShowError(text);
    ui->PageControl->setCurrentIndex(page);
    control->setFocus();
}

bool TOptionsForm::CheckThresholds()
{
    QLineEdit *quick = ui->QuickEdit;
    QLineEdit *normal = ui->NormalEdit;
    QLineEdit *intensive = ui->IntensiveEdit;
    switch (CheckLevelThresholds(Bytes(quick->text()), Bytes(normal->text()),
                                 Bytes(intensive->text()))) {
    case tcValid:
        return true;
    case tcQuickEmpty:
        Fail(PackText(TEntry::QuickThresholdEmpty), opExercises, quick);
        break;
    case tcNormalEmpty:
        Fail(PackText(TEntry::NormalThresholdEmpty), opExercises, normal);
        break;
    case tcIntensiveEmpty:
        Fail(PackText(TEntry::IntensiveThresholdEmpty), opExercises, intensive);
        break;
    case tcQuickNotANumber:
        Fail(PackText(TEntry::ThresholdNotANumber), opExercises, quick);
        break;
    case tcNormalNotANumber:
        Fail(PackText(TEntry::ThresholdNotANumber), opExercises, normal);
        break;
    case tcIntensiveNotANumber:
        Fail(PackText(TEntry::ThresholdNotANumber), opExercises, intensive);
        break;
    case tcQuickTooLow:
        Fail(PackText(TEntry::QuickThresholdTooLow), opExercises, quick);
        break;
    case tcNormalNotAbove:
        Fail(PackText(TEntry::NormalThresholdTooLow), opExercises, normal);
        break;
    case tcIntensiveNotAbove:
        Fail(PackText(TEntry::IntensiveThresholdTooLow), opExercises, intensive);
        break;
    default:
        Fail(PackText(TEntry::IntensiveThresholdTooHigh, {{u"%n%", QString::number(MaxIntensive)}}),
             opExercises, intensive);
        break;
    }
    return false;
}

// Without a chosen language the pack in use stays, and so does the setting.
bool TOptionsForm::ChangeLanguage()
{
    const QList<QListWidgetItem *> selected = ui->LanguageBox->selectedItems();
    if (selected.isEmpty())
        return true;
    const QString shown = selected.front()->text();
    const std::string name = Bytes(shown);
    if (name == Language)
        return true;
    auto pack = std::make_unique<TLanguagePack>();
    if (!pack->Load(name)) {
        Fail(PackText(TEntry::PackNotLoaded, {{u"%l%", shown}}), opLanguage, ui->LanguageBox);
        return false;
    }
    Language = name;
    delete std::exchange(LanguagePack, pack.release());
    if (ApplyToWindows)
        ApplyToWindows();
    return true;
}

void TOptionsForm::OKButtonClick()
{
    if (!CheckThresholds() || !ChangeLanguage())
        return;
    EditOptions.ConfirmDelete = ui->DeleteConfirmCheck->isChecked();
    EditOptions.ConfirmSort = ui->SortConfirmCheck->isChecked();
    EditOptions.NormalEnter = ui->NormalEnterRadio->isChecked();
    EditOptions.AutoComplete = ui->AutoCompleteCheck->isChecked();
    ExerciseOptions.LevelThresholds[QuickLevel] = Threshold(*ui->QuickEdit);
    ExerciseOptions.LevelThresholds[NormalLevel] = Threshold(*ui->NormalEdit);
    ExerciseOptions.LevelThresholds[IntensiveLevel] = Threshold(*ui->IntensiveEdit);
    ExerciseOptions.RequiredScore = static_cast<uint8_t>(ui->ScoreCombo->currentIndex());
    OtherOptions.LoadMRU = ui->MRUCheckBox->isChecked();
    OtherOptions.RegisterFileType = ui->RegisterCheckBox->isChecked();
    OtherOptions.NoiseLevel = static_cast<uint8_t>(ui->NoiseTrackBar->value());
    CloseWithResult(mrOk);
}

// The setting changes at once: Cancel of this dialog does not take it back.
void TOptionsForm::PartsOfSpeechButtonClick()
{
    if (PartsOfSpeechForm && PartsOfSpeechForm->exec() == mrOk)
        PartsOfSpeech = PartsOfSpeechForm->PartsOfSpeechText();
}

void TOptionsForm::CancelButtonClick()
{
    CloseWithResult(mrCancel);
}

void TOptionsForm::CloseWithResult(TModalResult result)
{
    ClosedByButton = true;
    done(result);
}

// Escape and the close box end the dialog as Cancel does.
void TOptionsForm::reject()
{
    done(mrCancel);
}

void TOptionsForm::SetLanguageApplier(std::function<void()> applier)
{
    ApplyToWindows = std::move(applier);
}

void TOptionsForm::ApplyLanguage()
{
    Ui::TOptionsForm &c = *ui;
    setWindowTitle(PackText(TEntry::OptionsCaption));
    const auto tab = [&c](QWidget *page, TEntry entry) {
        c.PageControl->setTabText(c.PageControl->indexOf(page), PackText(entry));
    };
    tab(c.EditTab, TEntry::EditTab);
    c.DeleteConfirmCheck->setText(PackText(TEntry::ConfirmDeleteCheck));
    c.SortConfirmCheck->setText(PackText(TEntry::ConfirmSortCheck));
    c.EnterBox->setTitle(PackText(TEntry::EnterKeyBox));
    c.NormalEnterRadio->setText(PackText(TEntry::NormalEnterRadio));
    c.IsDownRadio->setText(PackText(TEntry::EnterDownRadio));
    c.AutoCompleteCheck->setText(PackText(TEntry::AutoCompleteCheck));
    c.PartsOfSpeechButton->setText(PackText(TEntry::PartsOfSpeechButton));
    tab(c.ExerciseTab, TEntry::ExercisesTab);
    c.ScoreLabel->setText(PackText(TEntry::RequiredScoreLabel));
    c.ExercLevelsBox->setTitle(PackText(TEntry::PracticeLevelsBox));
    c.QuickLabel->setText(PackText(TEntry::QuickLevelLabel));
    c.NormalLabel->setText(PackText(TEntry::NormalLevelLabel));
    c.IntensiveLabel->setText(PackText(TEntry::IntensiveLevelLabel));
    for (QLabel *words : {c.QWordsLabel, c.NWordsLabel, c.IWordsLabel})
        words->setText(PackText(TEntry::LevelWordsLabel));
    for (QLabel *times : {c.QTimesLabel, c.NTimesLabel, c.ITimesLabel})
        times->setText(PackText(TEntry::LevelTimesLabel));
    tab(c.LanguageTab, TEntry::LanguageTab);
    c.LanguageLabel->setText(PackText(TEntry::LanguageListLabel));
    tab(c.OthersTab, TEntry::OthersTab);
    c.MRUCheckBox->setText(PackText(TEntry::LoadMRUCheck));
    c.RegisterCheckBox->setText(PackText(TEntry::RegisterFileTypeCheck));
    c.NoiseLabel->setText(PackText(TEntry::NoiseLevelLabel));
    c.OKButton->setText(PackText(TEntry::OkButton));
    c.CancelButton->setText(PackText(TEntry::CancelButton));
}
