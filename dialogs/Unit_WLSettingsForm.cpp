#include "dialogs/Unit_WLSettingsForm.h"

#include "core/Texts.h"
#include "core/Unit_Charsets.h"
#include "core/Unit_Constraints.h"
#include "core/Unit_Warnings.h"
#include "dialogs/ListSettings.h"
#include "dialogs/Unit_ForCharsForm.h"
#include "platform/CodePage.h"
#include "ui_WLSettingsForm.h"
#include "widgets/CharsetCombos.h"
#include "widgets/CodePageValidator.h"

#include <QShowEvent>
#include <QSignalBlocker>
#include <string>

TWLSettingsForm *WLSettingsForm = nullptr;

namespace {

constexpr size_t MaxLanguageName = 64;
constexpr const char *DefaultFontName = "Arial";

// The checks of one language's fields, in their order, with the texts of their failures.
struct TLanguageFields
{
    QLineEdit *LangEdit;
    QComboBox *CharsetCombo;
    QComboBox *FontCombo;
    QComboBox *SizeCombo;
    TEntry NameEmpty;
    TEntry NameTooLong;
    TEntry FontEmpty;
    TEntry FontNotInstalled;
    TEntry FontLacksCharset;
    TEntry SizeEmpty;
    TEntry SizeInvalid;
};

std::string Bytes(const QString &text)
{
    return CodePage::FromUnicodeLossy(text, CodePage::Default);
}

// Shows the first failure of the language's fields and focuses its control; true when all pass.
bool CheckLanguage(const TLanguageFields &fields)
{
    switch (CheckLanguageName(Bytes(fields.LangEdit->text()))) {
    case ncValid:
        break;
    case ncEmpty:
        ShowError(PackText(fields.NameEmpty));
        fields.LangEdit->setFocus();
        return false;
    default:
        ShowError(PackText(fields.NameTooLong,
                           {{u"%n%", QString::number(static_cast<int>(MaxLanguageName))}}));
        fields.LangEdit->setFocus();
        return false;
    }
    const int charset = IndexToCharset(fields.CharsetCombo->currentIndex());
    switch (CheckFontName(Bytes(fields.FontCombo->currentText()), charset)) {
    case fcValid:
        break;
    case fcEmpty:
        ShowError(PackText(fields.FontEmpty));
        fields.FontCombo->setFocus();
        return false;
    case fcNotInstalled:
        ShowError(PackText(fields.FontNotInstalled));
        fields.FontCombo->setFocus();
        return false;
    default:
        ShowError(PackText(fields.FontLacksCharset));
        fields.FontCombo->setFocus();
        return false;
    }
    switch (CheckIntRange(Bytes(fields.SizeCombo->currentText()), TWLSettingsForm::MinFontSize,
                          TWLSettingsForm::MaxFontSize)) {
    case rcValid:
        return true;
    case rcEmpty:
        ShowError(PackText(fields.SizeEmpty));
        break;
    default:
        ShowError(PackText(fields.SizeInvalid,
                           {{u"%min%", QString::number(TWLSettingsForm::MinFontSize)},
                            {u"%max%", QString::number(TWLSettingsForm::MaxFontSize)}}));
        break;
    }
    fields.SizeCombo->setFocus();
    return false;
}

void FillCharsets(QComboBox *combo)
{
    const QSignalBlocker blocker(combo);
    const int index = combo->currentIndex();
    FillCharsetCombo(combo);
    combo->setCurrentIndex(index < 0 ? 0 : index);
}

} // namespace

TWLSettingsForm::TWLSettingsForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TWLSettingsForm>())
{
    ui->setupUi(this);
    for (QLineEdit *edit : {ui->ForLangEdit, ui->RefLangEdit}) {
        edit->setMaxLength(static_cast<int>(MaxLanguageName));
        edit->setValidator(new TCodePageValidator(CodePage::Default, MaxLanguageName, edit));
    }
    FillCharsets(ui->ForCharsetCombo);
    FillCharsets(ui->RefCharsetCombo);
    for (QComboBox *font : {ui->ForFontCombo, ui->RefFontCombo})
        font->setEditText(QLatin1String(DefaultFontName));
    connect(ui->ForCharsetCombo, &QComboBox::currentIndexChanged, this,
            &TWLSettingsForm::ForCharsetComboChange);
    connect(ui->RefCharsetCombo, &QComboBox::currentIndexChanged, this,
            &TWLSettingsForm::RefCharsetComboChange);
    connect(ui->ForCharsButton, &QPushButton::clicked, this, &TWLSettingsForm::ForCharsButtonClick);
    connect(ui->OKButton, &QPushButton::clicked, this, &TWLSettingsForm::OKButtonClick);
    connect(ui->CancelButton, &QPushButton::clicked, this, &TWLSettingsForm::CancelButtonClick);
}

TWLSettingsForm::~TWLSettingsForm() = default;

void TWLSettingsForm::Fill(const TListSettings &settings)
{
    setWindowTitle(DecodeText(settings.Caption));
    ui->ForLangEdit->setText(DecodeText(settings.ForLanguage));
    ui->RefLangEdit->setText(DecodeText(settings.RefLanguage));
    {
        const QSignalBlocker forBlocker(ui->ForCharsetCombo);
        const QSignalBlocker refBlocker(ui->RefCharsetCombo);
        ui->ForCharsetCombo->setCurrentIndex(CharsetToIndex(settings.ForCharset));
        ui->RefCharsetCombo->setCurrentIndex(CharsetToIndex(settings.RefCharset));
    }
    ui->ForFontCombo->setEditText(DecodeText(settings.ForFontName));
    ui->RefFontCombo->setEditText(DecodeText(settings.RefFontName));
    ui->ForSizeCombo->setEditText(QString::number(settings.ForSize));
    ui->RefSizeCombo->setEditText(QString::number(settings.RefSize));
    ForeignChars = settings.ForeignChars;
}

void TWLSettingsForm::Read(TListSettings &settings) const
{
    settings.ForLanguage = Bytes(ui->ForLangEdit->text());
    settings.ForCharset = static_cast<uint8_t>(IndexToCharset(ui->ForCharsetCombo->currentIndex()));
    settings.ForFontName = Bytes(ui->ForFontCombo->currentText());
    settings.ForSize = ui->ForSizeCombo->currentText().toInt();
    settings.RefLanguage = Bytes(ui->RefLangEdit->text());
    settings.RefCharset = static_cast<uint8_t>(IndexToCharset(ui->RefCharsetCombo->currentIndex()));
    settings.RefFontName = Bytes(ui->RefFontCombo->currentText());
    settings.RefSize = ui->RefSizeCombo->currentText().toInt();
    settings.ForeignChars = ForeignChars;
}

void TWLSettingsForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TWLSettingsForm::FormShow()
{
    ClosedByButton = false;
    FillFontCombo(IndexToCharset(ui->ForCharsetCombo->currentIndex()), ui->ForFontCombo);
    FillFontCombo(IndexToCharset(ui->RefCharsetCombo->currentIndex()), ui->RefFontCombo);
    ui->ForLangEdit->setFocus();
}

void TWLSettingsForm::ForCharsetComboChange()
{
    FillFontCombo(IndexToCharset(ui->ForCharsetCombo->currentIndex()), ui->ForFontCombo);
}

void TWLSettingsForm::RefCharsetComboChange()
{
    FillFontCombo(IndexToCharset(ui->RefCharsetCombo->currentIndex()), ui->RefFontCombo);
}

// The characters show in the foreign font as far as its fields are valid; the text itself always
// follows the chosen character set, whose code page it is stored in.
void TWLSettingsForm::ForCharsButtonClick()
{
    if (!ForCharsForm)
        return;
    const int charset = IndexToCharset(ui->ForCharsetCombo->currentIndex());
    QFont font = ForCharsForm->EditFont();
    const std::string name = Bytes(ui->ForFontCombo->currentText());
    if (CheckFontName(name, charset) == fcValid)
        font.setFamily(DecodeText(name));
    const std::string size = Bytes(ui->ForSizeCombo->currentText());
    if (CheckIntRange(size, MinFontSize, MaxFontSize) == rcValid)
        font.setPointSize(std::stoi(size));
    ForCharsForm->SetEditFont(font, CodePage::ForCharset(charset));
    ForCharsForm->SetText(ForeignChars);
    if (ForCharsForm->exec() == mrOk)
        ForeignChars = ForCharsForm->Text();
}

bool TWLSettingsForm::FieldsValid()
{
    const TLanguageFields foreign{
            ui->ForLangEdit,      ui->ForCharsetCombo,         ui->ForFontCombo,
            ui->ForSizeCombo,     TEntry::ForLanguageEmpty,    TEntry::ForLanguageTooLong,
            TEntry::ForFontEmpty, TEntry::ForFontNotInstalled, TEntry::ForFontLacksCharset,
            TEntry::ForSizeEmpty, TEntry::ForSizeInvalid};
    const TLanguageFields reference{
            ui->RefLangEdit,      ui->RefCharsetCombo,         ui->RefFontCombo,
            ui->RefSizeCombo,     TEntry::RefLanguageEmpty,    TEntry::RefLanguageTooLong,
            TEntry::RefFontEmpty, TEntry::RefFontNotInstalled, TEntry::RefFontLacksCharset,
            TEntry::RefSizeEmpty, TEntry::RefSizeInvalid};
    return CheckLanguage(foreign) && CheckLanguage(reference);
}

void TWLSettingsForm::OKButtonClick()
{
    if (FieldsValid())
        CloseWithResult(mrOk);
}

void TWLSettingsForm::CancelButtonClick()
{
    CloseWithResult(mrCancel);
}

void TWLSettingsForm::CloseWithResult(TModalResult result)
{
    ClosedByButton = true;
    done(result);
}

// Escape and the close box end the dialog as Cancel does, also after a failed OK.
void TWLSettingsForm::reject()
{
    done(mrCancel);
}

void TWLSettingsForm::ApplyLanguage()
{
    ui->ForBox->setTitle(PackText(TEntry::ForLanguageBox));
    ui->ForLangLabel->setText(PackText(TEntry::ForLanguageLabel));
    ui->ForCharsetLabel->setText(PackText(TEntry::ForCharsetLabel));
    FillCharsets(ui->ForCharsetCombo);
    ui->ForFontLabel->setText(PackText(TEntry::ForFontLabel));
    ui->ForSizeLabel->setText(PackText(TEntry::ForSizeLabel));
    ui->RefBox->setTitle(PackText(TEntry::RefLanguageBox));
    ui->RefLangLabel->setText(PackText(TEntry::RefLanguageLabel));
    ui->RefCharsetLabel->setText(PackText(TEntry::RefCharsetLabel));
    FillCharsets(ui->RefCharsetCombo);
    ui->RefFontLabel->setText(PackText(TEntry::RefFontLabel));
    ui->RefSizeLabel->setText(PackText(TEntry::RefSizeLabel));
    ui->ForCharsButton->setText(PackText(TEntry::ForCharsButton));
    ui->CancelButton->setText(PackText(TEntry::CancelButton));
    ui->OKButton->setText(PackText(TEntry::OkButton));
}
