#include "dialogs/Unit_ChangeFontForm.h"

#include "core/LoadHooks.h"
#include "core/Texts.h"
#include "core/Unit_Charsets.h"
#include "core/Unit_Constraints.h"
#include "core/Unit_Warnings.h"
#include "platform/CodePage.h"
#include "ui_ChangeFontForm.h"
#include "widgets/CharsetCombos.h"

#include <QShowEvent>
#include <QSignalBlocker>

TChangeFontForm *ChangeFontForm = nullptr;

TChangeFontForm::TChangeFontForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TChangeFontForm>())
{
    ui->setupUi(this);
    FillCharsetCombo(ui->CharsetCombo);
    connect(ui->CharsetCombo, &QComboBox::currentIndexChanged, this,
            &TChangeFontForm::CharsetComboChange);
    connect(ui->OKButton, &QPushButton::clicked, this, &TChangeFontForm::OKButtonClick);
    connect(ui->CancelButton, &QPushButton::clicked, this, &TChangeFontForm::CancelButtonClick);
    SetChangeFontDialog([this](int &charsetIndex, std::string &fontName) {
        return Execute(charsetIndex, fontName);
    });
}

TChangeFontForm::~TChangeFontForm()
{
    SetChangeFontDialog({});
}

int TChangeFontForm::Execute(int &charsetIndex, std::string &fontName)
{
    {
        const QSignalBlocker blocker(ui->CharsetCombo);
        ui->CharsetCombo->setCurrentIndex(charsetIndex);
    }
    const int result = exec();
    if (result != mrOk)
        return mrCancel;
    charsetIndex = ui->CharsetCombo->currentIndex();
    fontName = CodePage::FromUnicodeLossy(ui->FontCombo->currentText(), CodePage::Default);
    return mrOk;
}

void TChangeFontForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TChangeFontForm::FormShow()
{
    FillFontCombo(IndexToCharset(ui->CharsetCombo->currentIndex()), ui->FontCombo);
    ui->FontCombo->setFocus();
    ClosedByButton = false;
}

void TChangeFontForm::CharsetComboChange()
{
    FillFontCombo(IndexToCharset(ui->CharsetCombo->currentIndex()), ui->FontCombo);
}

void TChangeFontForm::OKButtonClick()
{
    const int charset = IndexToCharset(ui->CharsetCombo->currentIndex());
    const std::string name
            = CodePage::FromUnicodeLossy(ui->FontCombo->currentText(), CodePage::Default);
    switch (CheckFontName(name, charset)) {
    case fcValid:
        CloseWithResult(mrOk);
        return;
    case fcEmpty:
        ShowError(PackText(TEntry::ChangeFontNameEmpty));
        break;
    case fcNotInstalled:
        ShowError(PackText(TEntry::ChangeFontNotInstalled));
        break;
    default:
        ShowError(PackText(TEntry::ChangeFontLacksCharset,
                           {{u"%cs%", DecodeText(CharsetName(charset))}}));
        break;
    }
    ui->FontCombo->setFocus();
}

void TChangeFontForm::CancelButtonClick()
{
    CloseWithResult(mrCancel);
}

void TChangeFontForm::CloseWithResult(TModalResult result)
{
    ClosedByButton = true;
    done(result);
}

// Escape and the close box end the dialog as Cancel does.
void TChangeFontForm::reject()
{
    done(mrCancel);
}

void TChangeFontForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::ChangeFontCaption));
    ui->CharsetLabel->setText(PackText(TEntry::ChangeFontCharsetLabel));
    ui->FontLabel->setText(PackText(TEntry::ChangeFontNameLabel));
    {
        const QSignalBlocker blocker(ui->CharsetCombo);
        const int index = ui->CharsetCombo->currentIndex();
        FillCharsetCombo(ui->CharsetCombo);
        ui->CharsetCombo->setCurrentIndex(index);
    }
    ui->OKButton->setText(PackText(TEntry::OkButton));
    ui->CancelButton->setText(PackText(TEntry::CancelButton));
}
