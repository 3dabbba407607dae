#include "grid/WordsGrid.h"

#include "core/Texts.h"
#include "core/Unit_GlobalSettings.h"

#include <QPainter>
#include <algorithm>

// Painting the cells: headers, texts, the sound picture, levels and scores.

namespace {

constexpr int MaxRecentScore = 5;

const QColor LevelGrey(128, 128, 128);
const QColor BarRed(255, 102, 102);
const QColor BarGreen(115, 230, 115);
const QColor MarkBlack(0, 0, 0);

// The first three characters of a language name, as the level headers show it.
std::string Abbreviation(const std::string &language)
{
    return language.substr(0, 3);
}

// Rectangle outline with exclusive right and bottom edges, in the current pen and brush.
void OutlineRect(QPainter &painter, int left, int top, int right, int bottom)
{
    painter.drawRect(left, top, right - left - 1, bottom - top - 1);
}

// Vertical line whose end point is left out.
void VerticalLine(QPainter &painter, int x, int top, int bottom, const QColor &color)
{
    if (bottom <= top)
        return;
    painter.setPen(color);
    painter.drawLine(x, top, x, bottom - 1);
}

// Where the progress mark of a direction stands: how far its score is through the right answers
// its level needs. A level without a threshold (only in damaged data) puts it at the end.
int MarkX(int left, int width, int level, int score)
{
    const int threshold = LevelThreshold(level);
    if (threshold <= 0)
        return left + 4 + (width - 1);
    return left + 4 + (width - 1) * std::clamp(score, 0, threshold) / threshold;
}

} // namespace

void TWordsGrid::DrawCell(QPainter &painter, int col, int row, const QRect &rect,
                          TGridDrawState state)
{
    const bool selected = RowSelection && state.Selected;
    const QPalette &colors = palette();
    const QPalette::ColorRole background = selected ? QPalette::Highlight
            : state.Fixed                           ? QPalette::Button
                                                    : QPalette::Base;
    painter.fillRect(rect, colors.color(background));
    if (WordList) {
        const uint8_t kind = ColumnKind(col);
        if (row == 0) {
            DrawHeader(painter, kind, rect);
        } else if (row <= WordList->Count()) {
            const TWord &word = WordList->Word(row - 1);
            if (IsTextKind(kind))
                DrawText(painter, kind, word, rect, selected);
            else if (kind == ckSound)
                DrawSound(painter, word, rect, selected);
            else if (kind == ckLevel1 || kind == ckLevel2)
                DrawLevel(painter, kind == ckLevel1 ? word.Level1 : word.Level2, rect, selected);
            else if (kind == ckScore)
                DrawScore(painter, word, row - 1, rect, selected);
        }
    }
    if (state.Fixed)
        DrawRaisedEdge(painter, rect);
}

void TWordsGrid::DrawHeader(QPainter &painter, uint8_t kind, const QRect &rect)
{
    QString text;
    switch (kind) {
    case ckForWord:
        text = DecodeText(WordList->ForLanguage);
        break;
    case ckRefWord:
        text = DecodeText(WordList->RefLanguage);
        break;
    case ckContext:
        text = PackText(TEntry::ContextHeader);
        break;
    case ckPartOfSpeech:
        text = PackText(TEntry::PartOfSpeechHeader);
        break;
    case ckLesson:
        text = PackText(TEntry::LessonHeader);
        break;
    case ckSound:
        text = PackText(TEntry::SoundHeader);
        break;
    case ckLevel1:
        text = DecodeText(Abbreviation(WordList->ForLanguage) + "->"
                          + Abbreviation(WordList->RefLanguage));
        break;
    case ckLevel2:
        text = DecodeText(Abbreviation(WordList->RefLanguage) + "->"
                          + Abbreviation(WordList->ForLanguage));
        break;
    case ckScore:
        text = PackText(TEntry::ScoreHeader);
        break;
    default:
        return;
    }
    painter.setFont(HeaderFont);
    painter.setPen(palette().color(QPalette::Text));
    const QRect area(rect.left() + 2, rect.top() + 2, rect.width(), rect.height());
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

void TWordsGrid::DrawText(QPainter &painter, uint8_t kind, const TWord &word, const QRect &rect,
                          bool selected)
{
    const std::string *text = WordText(word, kind);
    if (!text || text->empty())
        return;
    const TKindFont &font = KindFonts[kind];
    // The text stands where the editor's text will stand when the cell is edited.
    const int top = rect.top() + 2 + (DefaultRowHeight() - font.EditorHeight) / 2;
    painter.setFont(font.Font);
    painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect area(rect.left() + 2, top, rect.width(), rect.bottom() + 1 - top);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     DecodeText(*text, font.CodePage));
}

void TWordsGrid::DrawSound(QPainter &painter, const TWord &word, const QRect &rect, bool selected)
{
    if (!word.Sound)
        return;
    const QPixmap &bitmap = selected ? SoundInvBmp : SoundBmp;
    if (bitmap.isNull())
        return;
    painter.drawPixmap(rect.left() + (rect.width() - bitmap.width()) / 2,
                       rect.top() + (rect.height() - bitmap.height()) / 2, bitmap);
}

void TWordsGrid::DrawLevel(QPainter &painter, uint8_t level, const QRect &rect, bool selected)
{
    if (level == 0)
        return;
    const QColor color = selected ? palette().color(QPalette::HighlightedText) : LevelGrey;
    painter.setPen(color);
    painter.setBrush(color);
    const int top = rect.top() + (DefaultRowHeight() - 7) / 2;
    const int left = rect.left() + 16;
    for (int square = 0; square < 3; ++square) {
        if (square == level)
            painter.setBrush(Qt::NoBrush);
        OutlineRect(painter, left + 10 * square, top, left + 10 * square + 7, top + 7);
    }
    painter.setBrush(Qt::NoBrush);
}

void TWordsGrid::DrawScore(QPainter &painter, const TWord &word, int index, const QRect &rect,
                           bool selected)
{
    if (word.Level1 == 0 && word.Level2 == 0)
        return;
    const int left = rect.left();
    const int top = rect.top();
    const int right = rect.left() + rect.width();
    const int bottom = rect.top() + rect.height();
    const int w = rect.width() - 8;
    const int m = (rect.height() - 14) / 2;
    const int required = ExerciseOptions.RequiredScore;
    const QColor highlight = palette().color(QPalette::HighlightedText);
    const QColor mark = selected ? highlight : MarkBlack;
    auto barColor = [&](int recent) {
        return selected ? highlight : recent < required ? BarRed : BarGreen;
    };
    const int recent1 = std::clamp(WordList->GetRecentScore1(index), 0, MaxRecentScore);
    const int recent2 = std::clamp(WordList->GetRecentScore2(index), 0, MaxRecentScore);
    painter.setBrush(Qt::NoBrush);
    if (word.Level1 != 0 && word.Level2 != 0) {
        const bool bothReached = recent1 >= required && recent2 >= required;
        painter.setPen(selected ? highlight : bothReached ? BarGreen : BarRed);
        OutlineRect(painter, left + 4, top + m, left + 4 + w, bottom - m);
        painter.fillRect(QRect(left + 5, top + m + 1, (w - 2) * recent1 / MaxRecentScore, 6),
                         barColor(recent1));
        VerticalLine(painter, MarkX(left, w, word.Level1, word.Score1), top + m - 1, top + m + 7,
                     mark);
        painter.fillRect(QRect(left + 5, top + m + 8, (w - 2) * recent2 / MaxRecentScore,
                               bottom - m - 1 - (top + m + 8)),
                         barColor(recent2));
        VerticalLine(painter, MarkX(left, w, word.Level2, word.Score2), top + m + 8, bottom - m + 1,
                     mark);
        return;
    }
    const bool first = word.Level1 != 0;
    const int recent = first ? recent1 : recent2;
    const QColor color = barColor(recent);
    painter.setPen(color);
    OutlineRect(painter, left + 4, top + m, right - 4, bottom - m);
    painter.fillRect(QRect(left + 4, top + m, w * recent / MaxRecentScore, bottom - m - (top + m)),
                     color);
    VerticalLine(
            painter,
            MarkX(left, w, first ? word.Level1 : word.Level2, first ? word.Score1 : word.Score2),
            top + m - 1, bottom - m + 1, mark);
}

void TWordsGrid::DrawRaisedEdge(QPainter &painter, const QRect &rect)
{
    const int left = rect.left();
    const int top = rect.top();
    const int right = rect.left() + rect.width() - 1;
    const int bottom = rect.top() + rect.height() - 1;
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(left, top, right, top);
    painter.drawLine(left, top, left, bottom);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(left, bottom, right, bottom);
    painter.drawLine(right, top, right, bottom);
}
