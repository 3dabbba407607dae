#include "dialogs/Unit_PartsOfSpeechForm.h"

#include "ui_PartsOfSpeechForm.h"

#include "core/Texts.h"
#include "core/Unit_Constraints.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Warnings.h"
#include "platform/Beep.h"
#include "platform/CodePage.h"
#include "widgets/CodePageValidator.h"

#include <QComboBox>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStringList>
#include <algorithm>

TPartsOfSpeechForm *PartsOfSpeechForm = nullptr;

namespace {

std::string Bytes(const QString &text)
{
    return CodePage::FromUnicodeLossy(text, CodePage::Default);
}

std::string JoinItems(const QListWidget &list)
{
    std::string text;
    for (int i = 0; i < list.count(); ++i) {
        if (i > 0)
            text += ',';
        text += Bytes(list.item(i)->text());
    }
    return text;
}

// Every selected item, from the top, goes to the end of the other list and is selected there.
void MoveSelected(QListWidget &from, QListWidget &to)
{
    to.clearSelection();
    for (int i = 0; i < from.count();) {
        if (!from.item(i)->isSelected()) {
            ++i;
            continue;
        }
        QListWidgetItem *item = from.takeItem(i);
        to.addItem(item);
        item->setSelected(true);
    }
}

} // namespace

TPartsOfSpeechForm::TPartsOfSpeechForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TPartsOfSpeechForm>())
{
    ui->setupUi(this);
    ui->NewEdit->setMaxLength(MaxPartLength);
    ui->NewEdit->setValidator(new TCodePageValidator(CodePage::Default, MaxPartLength, this));
    for (QWidget *source :
         std::initializer_list<QWidget *>{ui->UsedBox, ui->AvailableBox, ui->NewEdit})
        source->installEventFilter(this);
    // The keyboard changes a selection as much as the mouse does.
    connect(ui->UsedBox, &QListWidget::itemSelectionChanged, this, [this] {
        if (Source == psUsed)
            UpdateListButtons(*ui->UsedBox);
    });
    connect(ui->AvailableBox, &QListWidget::itemSelectionChanged, this, [this] {
        if (Source == psAvailable)
            UpdateListButtons(*ui->AvailableBox);
    });
    connect(ui->NewEdit, &QLineEdit::textChanged, this, &TPartsOfSpeechForm::NewEditChange);
    connect(ui->UseButton, &QPushButton::clicked, this, &TPartsOfSpeechForm::UseButtonClick);
    connect(ui->UpButton, &QPushButton::clicked, this, &TPartsOfSpeechForm::UpButtonClick);
    connect(ui->DownButton, &QPushButton::clicked, this, &TPartsOfSpeechForm::DownButtonClick);
    connect(ui->DeleteButton, &QPushButton::clicked, this, &TPartsOfSpeechForm::DeleteButtonClick);
    connect(ui->DefaultButton, &QPushButton::clicked, this,
            &TPartsOfSpeechForm::DefaultButtonClick);
    connect(ui->OKButton, &QPushButton::clicked, this, [this] { CloseWithResult(mrOk); });
    connect(ui->CancelButton, &QPushButton::clicked, this, [this] { CloseWithResult(mrCancel); });
}

TPartsOfSpeechForm::~TPartsOfSpeechForm() = default;

void TPartsOfSpeechForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TPartsOfSpeechForm::FormShow()
{
    ClosedByButton = false;
    PartsText = PartsOfSpeech;
    LoadPartsOfSpeechLists();
}

void TPartsOfSpeechForm::LoadPartsOfSpeechLists()
{
    const size_t separator = PartsText.find(';');
    QStringList used;
    QStringList available;
    AddCommaList(used, PartsText.substr(0, separator));
    if (separator != std::string::npos)
        AddCommaList(available, PartsText.substr(separator + 1));
    ui->UsedBox->clear();
    ui->UsedBox->addItems(used);
    ui->AvailableBox->clear();
    ui->AvailableBox->addItems(available);
    QListWidget *first = ui->AvailableBox->count() > 0 ? ui->AvailableBox
            : ui->UsedBox->count() > 0                 ? ui->UsedBox
                                                       : nullptr;
    if (!first) {
        ui->NewEdit->setFocus();
        SourceEntered(psNew);
        return;
    }
    first->setFocus();
    SourceEntered(first == ui->UsedBox ? psUsed : psAvailable);
    first->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
}

bool TPartsOfSpeechForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == ui->UsedBox)
            SourceEntered(psUsed);
        else if (watched == ui->AvailableBox)
            SourceEntered(psAvailable);
        else if (watched == ui->NewEdit)
            SourceEntered(psNew);
    }
    return QDialog::eventFilter(watched, event);
}

void TPartsOfSpeechForm::SourceEntered(TSource source)
{
    Source = source;
    switch (source) {
    case psUsed:
        ui->UseButton->setText(PackText(TEntry::DoNotUseButton));
        UpdateListButtons(*ui->UsedBox);
        break;
    case psAvailable:
        ui->UseButton->setText(PackText(TEntry::UseButton));
        UpdateListButtons(*ui->AvailableBox);
        break;
    case psNew:
        ui->UpButton->setEnabled(false);
        ui->DownButton->setEnabled(false);
        ui->DeleteButton->setEnabled(false);
        ui->UseButton->setText(PackText(TEntry::UseButton));
        NewEditChange();
        break;
    }
}

void TPartsOfSpeechForm::NewEditChange()
{
    if (Source == psNew)
        ui->UseButton->setEnabled(!ui->NewEdit->text().isEmpty());
}

QListWidget *TPartsOfSpeechForm::SourceList() const
{
    switch (Source) {
    case psUsed:
        return ui->UsedBox;
    case psAvailable:
        return ui->AvailableBox;
    default:
        return nullptr;
    }
}

void TPartsOfSpeechForm::UpdateListButtons(QListWidget &list)
{
    int first = -1;
    int last = -1;
    for (int i = 0; i < list.count(); ++i) {
        if (!list.item(i)->isSelected())
            continue;
        if (first < 0)
            first = i;
        last = i;
    }
    const bool any = first >= 0;
    ui->UseButton->setEnabled(any);
    ui->DeleteButton->setEnabled(any);
    ui->UpButton->setEnabled(any && first > 0);
    ui->DownButton->setEnabled(any && last < list.count() - 1);
}

void TPartsOfSpeechForm::UseButtonClick()
{
    switch (Source) {
    case psAvailable:
        MoveSelected(*ui->AvailableBox, *ui->UsedBox);
        ui->UsedBox->setFocus();
        break;
    case psUsed:
        MoveSelected(*ui->UsedBox, *ui->AvailableBox);
        ui->AvailableBox->setFocus();
        break;
    case psNew:
        UseNewPart();
        break;
    }
}

// A comma or a semicolon would split the item in the stored setting, and the loader would then
// throw the whole setting away; such a text is refused as a too long one is.
void TPartsOfSpeechForm::UseNewPart()
{
    ui->UsedBox->clearSelection();
    const QString text = ui->NewEdit->text();
    if (text.isEmpty())
        return;
    if (PartOfSpeechTooLong(Bytes(text))) {
        ShowError(PackText(TEntry::NewPartTooLong, {{u"%n%", QString::number(MaxPartLength)}}));
        ui->NewEdit->selectAll();
        ui->NewEdit->setFocus();
        return;
    }
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char(';'))) {
        PlatformBeep(TBeepKind::Default);
        ui->NewEdit->selectAll();
        ui->NewEdit->setFocus();
        return;
    }
    ui->UsedBox->addItem(text);
    ui->UsedBox->item(ui->UsedBox->count() - 1)->setSelected(true);
    ui->NewEdit->clear();
    ui->UsedBox->setFocus();
}

// A selected block moves by one place; the buttons are enabled only while it can.
void TPartsOfSpeechForm::UpButtonClick()
{
    QListWidget *list = SourceList();
    if (!list)
        return;
    if (list->count() > 0 && list->item(0)->isSelected())
        return;
    for (int i = 1; i < list->count(); ++i) {
        if (!list->item(i)->isSelected())
            continue;
        QListWidgetItem *item = list->takeItem(i);
        list->insertItem(i - 1, item);
        item->setSelected(true);
    }
    UpdateListButtons(*list);
    list->setFocus();
}

void TPartsOfSpeechForm::DownButtonClick()
{
    QListWidget *list = SourceList();
    if (!list)
        return;
    const int last = list->count() - 1;
    if (last >= 0 && list->item(last)->isSelected())
        return;
    for (int i = last - 1; i >= 0; --i) {
        if (!list->item(i)->isSelected())
            continue;
        QListWidgetItem *item = list->takeItem(i);
        list->insertItem(i + 1, item);
        item->setSelected(true);
    }
    UpdateListButtons(*list);
    list->setFocus();
}

void TPartsOfSpeechForm::DeleteButtonClick()
{
    QListWidget *list = SourceList();
    if (!list)
        return;
    for (int i = list->count() - 1; i >= 0; --i) {
        if (list->item(i)->isSelected())
            delete list->takeItem(i);
    }
    UpdateListButtons(*list);
    list->setFocus();
}

void TPartsOfSpeechForm::DefaultButtonClick()
{
    PartsText = LanguageText(TEntry::DefaultPartsOfSpeech);
    LoadPartsOfSpeechLists();
}

std::string TPartsOfSpeechForm::PartsOfSpeechText() const
{
    return JoinItems(*ui->UsedBox) + ';' + JoinItems(*ui->AvailableBox);
}

void TPartsOfSpeechForm::CloseWithResult(TModalResult result)
{
    ClosedByButton = true;
    done(result);
}

// Escape and the close box end the dialog as Cancel does.
void TPartsOfSpeechForm::reject()
{
    done(mrCancel);
}

void TPartsOfSpeechForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::PartsOfSpeechCaption));
    ui->TopLabel->setText(PackText(TEntry::PartsOfSpeechTopLabel));
    ui->UsedLabel->setText(PackText(TEntry::UsedPartsLabel));
    ui->AvailableLabel->setText(PackText(TEntry::AvailablePartsLabel));
    ui->NewLabel->setText(PackText(TEntry::NewPartLabel));
    ui->UseButton->setText(PackText(Source == psUsed ? TEntry::DoNotUseButton : TEntry::UseButton));
    ui->UpButton->setText(PackText(TEntry::MoveUpButton));
    ui->DownButton->setText(PackText(TEntry::MoveDownButton));
    ui->DeleteButton->setText(PackText(TEntry::DeletePartButton));
    ui->DefaultButton->setText(PackText(TEntry::RestoreDefaultsButton));
    ui->OKButton->setText(PackText(TEntry::OkButton));
    ui->CancelButton->setText(PackText(TEntry::CancelButton));
}

// The editor may be showing a word's part of speech: its text stays, and nothing of the refill
// reaches the word.
void TPartsOfSpeechForm::FillPartsOfSpeechCombo(QComboBox &combo)
{
    const QSignalBlocker blocker(&combo);
    const QString shown = combo.currentText();
    combo.clear();
    combo.setEditText(QString());
    const size_t separator = PartsOfSpeech.find(';');
    if (separator != std::string::npos) {
        QStringList items;
        AddCommaList(items, PartsOfSpeech.substr(0, separator));
        combo.addItems(items);
        combo.setEditText(QString());
    }
    if (combo.isVisible())
        combo.setEditText(shown);
}

void TPartsOfSpeechForm::AddCommaList(QStringList &items, const std::string &text)
{
    items.clear();
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            break;
        items.append(DecodeText(std::string_view(text).substr(start, comma - start)));
        start = comma + 1;
    }
    if (start < text.size())
        items.append(DecodeText(std::string_view(text).substr(start)));
}
