#include "dialogs/Unit_ForCharsForm.h"

#include "core/Texts.h"
#include "core/Unit_GlobalSettings.h"
#include "platform/CodePage.h"
#include "ui_ForCharsForm.h"
#include "widgets/CodePageValidator.h"

#include <QShowEvent>

TForCharsForm *ForCharsForm = nullptr;

TForCharsForm::TForCharsForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TForCharsForm>())
    , Validator(new TCodePageValidator(CodePage::Default, MaxBytes, this))
{
    ui->setupUi(this);
    ui->ForCharsEdit->setMaxLength(MaxBytes);
    ui->ForCharsEdit->setValidator(Validator);
    connect(ui->SaveButton, &QPushButton::clicked, this, &TForCharsForm::SaveButtonClick);
    connect(ui->OKButton, &QPushButton::clicked, this, &TForCharsForm::OKButtonClick);
    connect(ui->CancelButton, &QPushButton::clicked, this, &TForCharsForm::CancelButtonClick);
}

TForCharsForm::~TForCharsForm() = default;

void TForCharsForm::SetEditFont(const QFont &font, int codePage)
{
    ui->ForCharsEdit->setFont(font);
    Validator->SetCodePage(codePage);
}

QFont TForCharsForm::EditFont() const
{
    return ui->ForCharsEdit->font();
}

void TForCharsForm::SetText(const std::string &bytes)
{
    ui->ForCharsEdit->setText(DecodeText(bytes, Validator->CodePage()));
}

std::string TForCharsForm::Text() const
{
    return CodePage::FromUnicodeLossy(ui->ForCharsEdit->text(), Validator->CodePage());
}

void TForCharsForm::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

// The edit takes the height its font needs; the window grows with it and the buttons keep their
// distance from its bottom edge.
void TForCharsForm::FormShow()
{
    ClosedByButton = false;
    QLineEdit &edit = *ui->ForCharsEdit;
    edit.resize(edit.width(), edit.sizeHint().height());
    const int height = edit.height() + HeightBeyondEdit;
    setFixedSize(width(), height);
    for (QPushButton *button : {ui->SaveButton, ui->CancelButton, ui->OKButton})
        button->move(button->x(), height - ButtonsFromBottom);
    edit.setFocus();
}

void TForCharsForm::SaveButtonClick()
{
    ForeignCharacters = Text();
}

void TForCharsForm::OKButtonClick()
{
    CloseWithResult(mrOk);
}

void TForCharsForm::CancelButtonClick()
{
    CloseWithResult(mrCancel);
}

void TForCharsForm::CloseWithResult(TModalResult result)
{
    ClosedByButton = true;
    done(result);
}

// Escape and the close box end the dialog as Cancel does.
void TForCharsForm::reject()
{
    done(mrCancel);
}

void TForCharsForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::ForCharsCaption));
    ui->ForCharsLabel->setText(PackText(TEntry::ForCharsExplanation));
    ui->SaveButton->setText(PackText(TEntry::SaveAsDefaultButton));
    ui->CancelButton->setText(PackText(TEntry::CancelButton));
    ui->OKButton->setText(PackText(TEntry::OkButton));
}
