#include "core/Unit_GlobalSettings.h"
#include "core/Unit_WordList.h"
#include "grid/SoundGlyph.h"
#include "grid/WordsGrid.h"
#include "platform/HeapTuning.h"
#include "tools/bench/BenchTiming.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <vector>

// Painting the word grid at 1280 x 800 with 100,000 words: one screen, and page by page through
// the whole list.
namespace {

constexpr int32_t SoundSize = 100;

std::unique_ptr<TWordList> Generate(int words)
{
    auto list = std::make_unique<TWordList>();
    list->InitLanguages("Frans", 0, "Arial", 12, "Nederlands", 0, "Arial", 10);
    // Every third word shares one stored sound, so that copying reads real bytes.
    QFile store(QString::fromStdString(list->SoundTempFile));
    if (store.open(QIODevice::WriteOnly))
        store.write(QByteArray(SoundSize, 'm'));
    for (int i = 0; i < words; ++i) {
        auto word = std::make_unique<TWord>("le mot fran\xE7"
                                            "ais " + std::to_string(i),
                                            "woord " + std::to_string(i),
                                            "les " + std::to_string(i % 40));
        word->Context = "un exemple pour le mot " + std::to_string(i);
        word->PartOfSpeech = "zn";
        word->Level1 = static_cast<uint8_t>(i % 4);
        word->Level2 = static_cast<uint8_t>((i / 4) % 4);
        word->Score1 = i % 7;
        word->Count1 = 5;
        word->History1 = static_cast<uint32_t>(i);
        word->Count2 = 3;
        word->History2 = static_cast<uint32_t>(i * 7);
        if (i % 3 == 0)
            word->Sound = std::make_unique<TSoundRec>(TSoundRec{0, SoundSize});
        list->Add(std::move(word));
    }
    return list;
}

double PaintMs(TWordsGrid &grid, QImage &target)
{
    QElapsedTimer timer;
    timer.start();
    grid.viewport()->render(&target);
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void SendMouse(QWidget &target, QEvent::Type type, QPoint pos)
{
    const Qt::MouseButtons buttons
            = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, target.mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&target, &event);
}

// A press, a move and a release, as the user's mouse gives them.
void MouseDrag(TWordsGrid &grid, QPoint from, QPoint to)
{
    QWidget &viewport = *grid.viewport();
    SendMouse(viewport, QEvent::MouseButtonPress, from);
    SendMouse(viewport, QEvent::MouseMove, to);
    SendMouse(viewport, QEvent::MouseButtonRelease, to);
}

void Report(const char *name, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    double total = 0;
    for (double time : times)
        total += time;
    std::printf("%-34s %6zu screens  median %6.2f ms  mean %6.2f ms  p95 %6.2f ms  max %6.2f ms\n",
                name, times.size(), times[times.size() / 2],
                total / static_cast<double>(times.size()), times[times.size() * 95 / 100],
                times.back());
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // As the program does.
    KeepFreedMemory();
    QApplication app(argc, argv);
    constexpr int Words = 100000;
    TWordsGrid grid;
    grid.resize(1280, 800);
    grid.SetSoundBmp(SoundGlyph(Qt::black));
    grid.SetSoundInvBmp(SoundGlyph(Qt::white));
    QElapsedTimer timer;
    timer.start();
    grid.SetWordList(Generate(Words));
    std::printf("list of %d words set in %.1f ms (generation included)\n", Words,
                static_cast<double>(timer.nsecsElapsed()) / 1e6);
    QImage target(grid.viewport()->size(), QImage::Format_ARGB32_Premultiplied);

    std::vector<double> screen;
    for (int run = 0; run < Runs(50); ++run)
        screen.push_back(PaintMs(grid, target));
    Report("one screen (top of the list)", screen);

    std::vector<double> pages;
    const int step = grid.VisibleRowCount();
    for (int top = 1; top < grid.RowCount(); top += step) {
        grid.SetTopRow(top);
        pages.push_back(PaintMs(grid, target));
    }
    Report("page by page through the list", pages);

    grid.SelectRows(1, false, true);
    grid.SelectRows(20, true, true);
    std::vector<double> selected;
    for (int run = 0; run < Runs(50); ++run)
        selected.push_back(PaintMs(grid, target));
    Report("one screen, 20 rows selected", selected);
    std::printf("%d rows on a screen, %d columns\n", step, grid.VisibleColCount());

    // The word commands on every word at once: each must stay well under a tenth of a second.
    const auto timed = [&](const char *name, auto &&command, int words) {
        QElapsedTimer clock;
        clock.start();
        command();
        const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        std::printf("%-34s %8.1f ms  (%d words after)\n", name, ms, grid.GetWordCount());
        return grid.GetWordCount() == words;
    };
    grid.SelectAll();
    bool copied = false;
    bool counts = timed(
                          "copy 100000 words", [&] { copied = grid.Copy(); }, Words)
            && copied;
    grid.SelectCellAt(1, 1);
    counts &= timed(
            "paste 100000 words into 100000", [&] { grid.Paste(); }, 2 * Words);
    counts &= timed(
            "undo of that paste", [&] { grid.Undo(); }, Words);
    grid.SelectAll();
    counts &= timed(
            "delete 100000 selected words", [&] { grid.DeleteSelection(); }, 0);
    counts &= timed(
            "undo of that delete", [&] { grid.Undo(); }, Words);

    // Sorting, replacing and dragging, each from the user's action to the repainted screen.
    EditOptions.ConfirmSort = false;
    grid.SelectCellAt(1, 1);
    const QPoint forHeader = grid.CellRect(grid.ColumnOfKind(ckForWord), 0).center();
    counts &= timed(
            "sort 100000 by foreign word (click)",
            [&] {
                MouseDrag(grid, forHeader, forHeader);
                PaintMs(grid, target);
            },
            Words);
    counts &= grid.GetWordList()->GetForWord(1)
            == "le mot fran\xE7"
               "ais 1";
    counts &= timed(
            "undo of that sort",
            [&] {
                grid.Undo();
                PaintMs(grid, target);
            },
            Words);
    grid.SelectCellAt(1, 1);
    grid.PrepareTargetRows();
    counts &= timed(
            "replace all, 100000 matches",
            [&] {
                grid.ReplaceAll(FindForWord, FindContains, "mot", "woord");
                PaintMs(grid, target);
            },
            Words);
    counts &= grid.GetWordList()->GetForWord(Words - 1).starts_with("le woord ");
    grid.SelectRows(5, false, false);
    grid.SelectRows(10004, true, false);
    counts &= timed(
            "drag 10000 rows from 5 onto 2",
            [&] {
                MouseDrag(grid, grid.CellRect(0, 5).center(), grid.CellRect(0, 2).center());
                PaintMs(grid, target);
            },
            Words);
    counts &= grid.GetWordList()->GetForWord(1)
            == "le woord fran\xE7"
               "ais 4";
    return counts ? 0 : 1;
}
