#include "exercises/Unit_ExercForm.h"

#include "ui_ExercForm.h"

#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

// Where the controls go when the window's size changes, and the heights of the answer area.

namespace {

// Controls that follow the window's outer width W: (W - Margin) / Share wide.
struct TStretch
{
    QWidget *Control;
    int Margin;
    int Share;
};

// Where a control's left edge goes: where it was, or Left from the middle or the right of the
// window's outer width.
enum class THorizontalAnchor : uint8_t {
    Kept,
    Middle,
    Right,
};

// The messages above the answer buttons: one line of the form's height, its top edge this far
// over the window's outer height.
constexpr int MessageAboveBottom = 148;
constexpr int MessageHeight = 17;

// A control whose top edge stays AboveBottom over the window's outer height.
struct TAnchor
{
    QWidget *Control;
    THorizontalAnchor Horizontal;
    int Left;
    int AboveBottom;
};

int LeftEdge(const TAnchor &anchor, int outerWidth)
{
    switch (anchor.Horizontal) {
    case THorizontalAnchor::Middle:
        return outerWidth / 2 + anchor.Left;
    case THorizontalAnchor::Right:
        return outerWidth + anchor.Left;
    case THorizontalAnchor::Kept:
        break;
    }
    return anchor.Control->x();
}

} // namespace

void TExercForm::FormResize()
{
    const int W = width() + ExercFrameWidth;
    const int H = height() + ExercFrameHeight;
    Tools->setGeometry(0, 0, width(), Tools->sizeHint().height());
    const int statusHeight = StatusBar->sizeHint().height();
    StatusBar->setGeometry(0, height() - statusHeight, width(), statusHeight);

    const TStretch stretches[] = {
            {ui->QuestionBox, 40, 1},       {ui->OpenAnswerBox, 40, 1},
            {ui->MultipleAnswerBox, 40, 1}, {ui->QuestionRichEdit, 56, 1},
            {ui->AnswerRichEdit, 56, 1},    {ui->AnswerEdit, 56, 1},
            {ui->ARichEdit, 95, 2},         {ui->BRichEdit, 95, 2},
            {ui->CRichEdit, 95, 2},         {ui->DRichEdit, 95, 2},
    };
    for (const TStretch &stretch : stretches)
        stretch.Control->resize((W - stretch.Margin) / stretch.Share, stretch.Control->height());
    // The right column of alternatives keeps its margin, its letters stay beside the memos.
    for (const auto &[memo, letter] :
         {std::pair{ui->CRichEdit, ui->CLabel}, {ui->DRichEdit, ui->DLabel}}) {
        memo->move(W - memo->width() - 48, memo->y());
        letter->move(memo->x() - 16, letter->y());
    }

    using enum THorizontalAnchor;
    const TAnchor anchors[] = {
            {ui->LocalScoreBox, Kept, 0, 156},
            {ui->GlobalScoreBox, Right, -169, 156},
            {ui->CorrectLabel, Middle, -88, MessageAboveBottom},
            {ui->AButton, Middle, -88, 148},
            {ui->CButton, Middle, 0, 148},
            {ui->MultipleLabel, Middle, -88, 148},
            {ui->ShowButton, Middle, -88, 140},
            {ui->YesButton, Middle, -88, 124},
            {ui->NoButton, Middle, 0, 124},
            {ui->NextButton, Middle, -88, 124},
            {ui->BButton, Middle, -88, 116},
            {ui->DButton, Middle, 0, 116},
            {ui->StopButton, Middle, -88, 84},
    };
    for (const TAnchor &anchor : anchors)
        anchor.Control->move(LeftEdge(anchor, W), H - anchor.AboveBottom);
    PlaceMessageLabels();
    ArrangeAnswerArea();
}

// A message longer than a line wraps within the width of the buttons below it and grows upwards,
// into the room under the answer area, so that the buttons stay where they are.
void TExercForm::PlaceMessageLabels()
{
    const int bottom = height() + ExercFrameHeight - MessageAboveBottom + MessageHeight;
    for (QLabel *label : {ui->CorrectLabel, ui->MultipleLabel}) {
        const int needed = std::max(MessageHeight, label->heightForWidth(label->width()));
        label->setGeometry(label->x(), bottom - needed, label->width(), needed);
    }
}

void TExercForm::ArrangeAnswerArea()
{
    const int H = height() + ExercFrameHeight;
    auto setHeight = [](QWidget *control, int h) { control->resize(control->width(), h); };
    auto setTop = [](QWidget *control, int top) { control->move(control->x(), top); };
    auto bottom = [](const QWidget *control) { return control->y() + control->height(); };
    if (!ui->OpenAnswerBox->isVisibleTo(this)) {
        const int q = (H - 265) / 3;
        for (QWidget *memo :
             {ui->QuestionRichEdit, ui->ARichEdit, ui->BRichEdit, ui->CRichEdit, ui->DRichEdit})
            setHeight(memo, q);
        setTop(ui->BLabel, ui->ARichEdit->y() + q + 7);
        setTop(ui->BRichEdit, ui->ARichEdit->y() + q + 7);
        setTop(ui->DLabel, ui->CRichEdit->y() + q + 7);
        setTop(ui->DRichEdit, ui->CRichEdit->y() + q + 7);
        setHeight(ui->QuestionBox, q + 24);
        setHeight(ui->MultipleAnswerBox, ui->ARichEdit->height() + ui->BRichEdit->height() + 31);
        setTop(ui->MultipleAnswerBox, bottom(ui->QuestionBox) + 7);
        return;
    }
    const int edit = ui->AnswerEdit->height();
    const int q = (H - edit - 269) / 2;
    setHeight(ui->QuestionRichEdit, q);
    setHeight(ui->AnswerRichEdit, q);
    setHeight(ui->QuestionBox, q + 24);
    setHeight(ui->OpenAnswerBox, q + edit + 35);
    setTop(ui->AnswerEdit, ui->OpenAnswerBox->height() - edit - 12);
    setTop(ui->OpenAnswerBox, bottom(ui->QuestionBox) + 7);
}
