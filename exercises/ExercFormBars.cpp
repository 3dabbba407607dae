#include "exercises/Unit_ExercForm.h"

#include "core/Unit_GlobalSettings.h"
#include "exercises/ExercFormParts.h"
#include "exercises/Unit_ExercList.h"
#include "ui_ExercForm.h"

#include <QPainter>
#include <algorithm>

// The score display: the last five answers, the word's bars and the overall bars of an exercise,
// the counters of a test.

using namespace ExercFormParts;

namespace {

constexpr int FillHeight = 12;
constexpr int MarkSize = 18;

const QColor ScoreRed(255, 102, 102);
const QColor ScoreGreen(115, 230, 115);
const QColor FillGrey(128, 128, 128);

void SetFill(QWidget &fill, const QWidget &bar, int64_t width, const QColor &colour)
{
    const int widest = std::max(0, bar.width() - 1);
    fill.resize(static_cast<int>(std::clamp<int64_t>(width, 0, widest)), FillHeight);
    QPalette palette = fill.palette();
    palette.setColor(QPalette::Window, colour);
    fill.setPalette(palette);
    fill.setAutoFillBackground(true);
    fill.update();
}

QPixmap MarkPicture(bool right)
{
    QPixmap picture(MarkSize, MarkSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(right ? RightAnswerColour : WrongAnswerColour, 3));
    if (right) {
        painter.drawPolyline(QPolygon({QPoint(3, 9), QPoint(7, 14), QPoint(15, 4)}));
    } else {
        painter.drawLine(4, 4, 14, 14);
        painter.drawLine(14, 4, 4, 14);
    }
    return picture;
}

} // namespace

void TExercForm::CreateScoreDisplay()
{
    LastFiveImages = {ui->RightWrong1Img, ui->RightWrong2Img, ui->RightWrong3Img,
                      ui->RightWrong4Img, ui->RightWrong5Img};
    ui->RightImage->setPixmap(MarkPicture(true));
    ui->WrongImage->setPixmap(MarkPicture(false));
    ui->RightImage->hide();
    ui->WrongImage->hide();
    QFont counterFont = ui->NumWrongLabel->font();
    counterFont.setPixelSize(48);
    counterFont.setBold(true);
    ui->NumWrongLabel->setFont(counterFont);
    ui->NumRightLabel->setFont(counterFont);
    for (QWidget *fill :
         {ui->LocalScoreFill, ui->LocalProgressFill, ui->AverageScoreFill, ui->TotalProgressFill})
        SetFill(*fill, *fill->parentWidget(), 0, FillGrey);
}

void TExercForm::UpdateWordBars()
{
    if (!ExercList || CurIndex >= ExercList->Count())
        return;
    const TDirectionRecord record = ExercList->Record(CurIndex, Asked);
    const int t = record.Threshold();
    const int p = std::min(t, record.Score());
    // A count read from a file may lie outside 0..5.
    const int n = std::clamp(record.Count(), 0, RecentAnswers);
    const uint32_t h = record.History();
    const int r = record.RecentScore();

    for (int j = 0; j < RecentAnswers; ++j) {
        QLabel &image = *LastFiveImages[static_cast<size_t>(RecentAnswers - 1 - j)];
        if (j < n) {
            image.setPixmap(((h >> j) & 1U) ? ui->RightImage->pixmap() : ui->WrongImage->pixmap());
            image.show();
        } else {
            image.hide();
        }
    }
    const int required = ExerciseOptions.RequiredScore;
    SetFill(*ui->LocalScoreFill, *ui->LocalScoreBar,
            int64_t{ui->LocalScoreBar->width() - 1} * r / RecentAnswers,
            r < required ? ScoreRed : ScoreGreen);
    SetFill(*ui->LocalProgressFill, *ui->LocalProgressBar,
            t >= 1 ? int64_t{ui->LocalProgressBar->width() - 1} * p / t : 0, FillGrey);
}

void TExercForm::UpdateTotalBars()
{
    if (!ExercList)
        return;
    const TExercList &list = *ExercList;
    if (list.NumAnswered < 1) {
        SetFill(*ui->AverageScoreFill, *ui->AverageScoreBar, 0, ScoreRed);
    } else {
        const bool enough = int64_t{list.NumRight} * RecentAnswers / list.NumAnswered
                >= ExerciseOptions.RequiredScore;
        SetFill(*ui->AverageScoreFill, *ui->AverageScoreBar,
                int64_t{ui->AverageScoreBar->width() - 1} * list.NumRight / list.NumAnswered,
                enough ? ScoreGreen : ScoreRed);
    }
    SetFill(*ui->TotalProgressFill, *ui->TotalProgressBar,
            list.ProgressTotal >= 1 ? int64_t{ui->TotalProgressBar->width() - 1} * list.Progress
                            / list.ProgressTotal
                                    : 0,
            FillGrey);
}
