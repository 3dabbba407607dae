#include "exercises/Unit_FilterForm.h"

#include "core/Texts.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Warnings.h"
#include "exercises/Unit_ExercList.h"
#include "ui_FilterForm.h"

#include <QShowEvent>

TFilterForm *FilterForm = nullptr;

namespace {

void FillBox(QListWidget &box, const CaseInsensitiveStringList &texts)
{
    box.clear();
    for (int i = 0; i < texts.Count(); ++i) {
        auto *item = new QListWidgetItem(DecodeText(texts[i]), &box);
        item->setData(Qt::UserRole, QByteArray::fromStdString(texts[i]));
    }
}

std::string ItemBytes(const QListWidgetItem &item)
{
    return item.data(Qt::UserRole).toByteArray().toStdString();
}

void SelectListed(QListWidget &box, const CaseInsensitiveStringList &selected)
{
    for (int i = 0; i < box.count(); ++i) {
        QListWidgetItem *item = box.item(i);
        item->setSelected(selected.Contains(ItemBytes(*item)));
    }
    if (box.count() > 0)
        box.setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

CaseInsensitiveStringList SelectedTexts(const QListWidget &box, bool &any)
{
    CaseInsensitiveStringList texts;
    any = false;
    for (int i = 0; i < box.count(); ++i) {
        const QListWidgetItem *item = box.item(i);
        if (item->isSelected()) {
            texts.Add(ItemBytes(*item));
            any = true;
        }
    }
    return texts;
}

} // namespace

TFilterForm::TFilterForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TFilterForm>())
{
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->OKButton, &QPushButton::clicked, this, &TFilterForm::OKButtonClick);
    connect(ui->CancelButton, &QPushButton::clicked, this, &TFilterForm::CancelButtonClick);
}

TFilterForm::~TFilterForm() = default;

void TFilterForm::Reset(TExercList *list)
{
    ExercList = list;
    SelectedPartsOfSpeech = list ? list->PartsOfSpeechList() : CaseInsensitiveStringList();
    SelectedLessons = list ? list->LessonsList() : CaseInsensitiveStringList();
    FillBox(*ui->PartsOfSpeechBox, SelectedPartsOfSpeech);
    FillBox(*ui->LessonBox, SelectedLessons);
    OnlyPronunciation = false;
    ui->OnlyPronunciationCheck->setChecked(false);
    ui->OnlyPronunciationCheck->setEnabled(list && list->AnyWithSound());
    FilterCount = list ? list->Count() : 0;
}

void TFilterForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFilterForm::FormShow()
{
    SelectListed(*ui->PartsOfSpeechBox, SelectedPartsOfSpeech);
    SelectListed(*ui->LessonBox, SelectedLessons);
    ui->OnlyPronunciationCheck->setChecked(OnlyPronunciation);
    ui->PartsOfSpeechBox->setFocus();
    ClosedByButton = false;
}

void TFilterForm::OKButtonClick()
{
    bool anyPartOfSpeech = false;
    bool anyLesson = false;
    CaseInsensitiveStringList partsOfSpeech = SelectedTexts(*ui->PartsOfSpeechBox, anyPartOfSpeech);
    CaseInsensitiveStringList lessons = SelectedTexts(*ui->LessonBox, anyLesson);
    if (!anyPartOfSpeech) {
        ShowError(LanguageText(TEntry::NoPartOfSpeechChosen));
        ui->PartsOfSpeechBox->setFocus();
        return;
    }
    if (!anyLesson) {
        ShowError(LanguageText(TEntry::NoLessonChosen));
        ui->LessonBox->setFocus();
        return;
    }
    const bool onlyPronunciation = ui->OnlyPronunciationCheck->isChecked();
    FilterCount
            = ExercList ? ExercList->CountFiltered(partsOfSpeech, lessons, onlyPronunciation) : 0;
    if (FilterCount == 0) {
        ShowError(LanguageText(TEntry::NoWordPassesFilter));
        ui->PartsOfSpeechBox->setFocus();
        return;
    }
    SelectedPartsOfSpeech = std::move(partsOfSpeech);
    SelectedLessons = std::move(lessons);
    OnlyPronunciation = onlyPronunciation;
    CloseWithResult(mrOk);
}

void TFilterForm::CancelButtonClick()
{
    CloseWithResult(mrCancel);
}

void TFilterForm::CloseWithResult(TModalResult result)
{
    ClosedByButton = true;
    done(result);
}

// Escape and the close box end the dialog as Cancel does.
void TFilterForm::reject()
{
    done(mrCancel);
}

void TFilterForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::FilterCaption));
    ui->PartsOfSpeechLabel->setText(PackText(TEntry::PartsOfSpeechFilterLabel));
    ui->LessonLabel->setText(PackText(TEntry::LessonFilterLabel));
    ui->OnlyPronunciationCheck->setText(PackText(TEntry::OnlyPronouncedCheck));
    ui->CancelButton->setText(PackText(TEntry::CancelButton));
    ui->OKButton->setText(PackText(TEntry::OkButton));
}
