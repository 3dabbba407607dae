#include "exercises/Unit_SetLessonForm.h"

#include "core/Texts.h"
#include "core/Unit_Constraints.h"
#include "core/Unit_Warnings.h"
#include "platform/Beep.h"
#include "ui_SetLessonForm.h"

#include <QShowEvent>

TSetLessonForm *SetLessonForm = nullptr;

namespace {

constexpr int MaxLessonLength = 64;

} // namespace

TSetLessonForm::TSetLessonForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TSetLessonForm>())
{
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->OKButton, &QPushButton::clicked, this, &TSetLessonForm::OKButtonClick);
    connect(ui->CancelButton, &QPushButton::clicked, this, &TSetLessonForm::CancelButtonClick);
    FormCreate();
}

TSetLessonForm::~TSetLessonForm() = default;

// The edit counts characters; the lesson's limit counts bytes, which OK checks.
void TSetLessonForm::FormCreate()
{
    ui->LessonEdit->setMaxLength(MaxLessonLength);
    ui->LessonEdit->AcceptAllKeys = true;
}

void TSetLessonForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TSetLessonForm::FormShow()
{
    ClosedByButton = false;
    ui->LessonEdit->clear();
    ui->LessonEdit->setFocus();
}

std::string TSetLessonForm::Lesson() const
{
    std::string lesson;
    (void)CodePage::FromUnicode(ui->LessonEdit->text(), ui->LessonEdit->CodePage, lesson);
    return lesson;
}

// The text is taken as it is, spaces included. A pasted character that the lesson's code page
// cannot hold only beeps: there would be no lesson to store.
void TSetLessonForm::OKButtonClick()
{
    std::string lesson;
    if (!CodePage::FromUnicode(ui->LessonEdit->text(), ui->LessonEdit->CodePage, lesson)) {
        PlatformBeep(TBeepKind::Default);
        ui->LessonEdit->setFocus();
        return;
    }
    if (LessonTooLong(lesson)) {
        ShowError(PackText(TEntry::LessonTooLongMessage,
                           {{u"%n%", QString::number(MaxLessonLength)}}));
        ui->LessonEdit->setFocus();
        return;
    }
    CloseWithResult(mrOk);
}

void TSetLessonForm::CancelButtonClick()
{
    CloseWithResult(mrCancel);
}

void TSetLessonForm::CloseWithResult(TModalResult result)
{
    ClosedByButton = true;
    done(result);
}

// Escape and the close box end the dialog as Cancel does.
void TSetLessonForm::reject()
{
    done(mrCancel);
}

void TSetLessonForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::SetLessonCaption));
    ui->LessonLabel->setText(PackText(TEntry::LessonLabel));
    ui->OKButton->setText(PackText(TEntry::OkButton));
    ui->CancelButton->setText(PackText(TEntry::CancelButton));
}
