#include "core/Unit_GlobalSettings.h"
#include "core/Unit_WordList.h"
#include "platform/HeapTuning.h"
#include "print/Unit_Print.h"
#include "print/Unit_PrintLayout.h"
#include "print/Unit_PrintPreviewForm.h"
#include "tools/bench/BenchTiming.h"

#include <QApplication>
#include <QImage>
#include <QPrinter>
#include <cstdio>
#include <iterator>
#include <memory>
#include <random>
#include <string>

// Printing what users wait for: laying out a list on the pages of an A4 printer at 1200 dpi
// (each showing of the preview and each change of its columns does it), and drawing one page of
// the preview.
namespace {

constexpr int SmallList = 10000;
constexpr int LargeList = 100000;
constexpr int HugeList = 1000000;
constexpr double LayoutGoalMs = 150.0;
constexpr double LargeGoalMs = 50.0;
constexpr double HugeGoalMs = 500.0;
constexpr double PageGoalMs = 16.0;

// Words of one to three syllables, so that no two texts share more than chance gives them.
std::string RandomWord(std::mt19937 &random)
{
    static const char *const Syllables[]
            = {"ma",  "ison", "che", "val",  "four", "chette", "pa",  "pier",
               "sou", "ris",  "ver", "te",   "mon",  "tagne",  "ri",  "vi\xE8",
               "re",  "\xE9", "co",  "le",   "gar",  "\xE7on", "bou", "lan",
               "ge",  "rie",  "fen", "\xEA", "tre",  "jar",    "din"};
    std::string word;
    const int count = 1 + static_cast<int>(random() % 3);
    for (int i = 0; i < count; ++i)
        word += Syllables[random() % std::size(Syllables)];
    return word;
}

std::string RandomText(std::mt19937 &random, int words)
{
    std::string text = RandomWord(random);
    for (int i = 1; i < words; ++i)
        text += " " + RandomWord(random);
    return text;
}

std::unique_ptr<TWordList> Generate(int words)
{
    std::mt19937 random(words);
    auto list = std::make_unique<TWordList>();
    list->InitLanguages("Frans", 0, "Arial", 12, "Nederlands", 0, "Arial", 10);
    list->FileName = "/lijsten/Frans.wdl";
    for (int i = 0; i < words; ++i) {
        auto word = std::make_unique<TWord>(RandomText(random, 1 + static_cast<int>(random() % 3)),
                                            RandomText(random, 1 + static_cast<int>(random() % 2)),
                                            "les " + std::to_string(i % 40));
        // Contexts of two to sixteen words: the longer ones wrap in their column.
        word->Context = RandomText(random, 2 + static_cast<int>(random() % 15)) + ".";
        word->PartOfSpeech = "zn";
        list->Add(std::move(word));
    }
    return list;
}

double LayoutMs(const TWordList &list, const TPrinterMetrics &metrics, size_t &pages)
{
    return MedianMs(Runs(5), [&] {
        const TFontMeasurer measurer(list, metrics.LogPixelsY);
        pages = TPrintLayout(list, PrintSettings.Columns, metrics, measurer)
                        .Paginate(0, list.Count() - 1)
                        .size();
    });
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    KeepFreedMemory();
    QApplication app(argc, argv);
    SetDefaultSettings();
    QPrinter &printer = SharedPrinter();
    printer.setPageSize(QPageSize(QPageSize::A4));
    const TPrinterMetrics metrics = ReadPrinterMetrics(printer);
    std::printf("printer: %d dpi, %d x %d pixels\n", metrics.LogPixelsY, metrics.PhysicalWidth,
                metrics.PhysicalHeight);

    bool withinGoals = true;
    const auto small = Generate(SmallList);
    size_t pages = 0;
    const double smallMs = LayoutMs(*small, metrics, pages);
    std::printf("layout of %6d words  %8.1f ms  %5zu pages  (goal < %.0f ms)\n", SmallList, smallMs,
                pages, LayoutGoalMs);
    withinGoals &= smallMs < LayoutGoalMs;
    const auto large = Generate(LargeList);
    const double largeMs = LayoutMs(*large, metrics, pages);
    std::printf(
            "layout of %6d words  %8.1f ms  %5zu pages  (%.1f x the small list; goal < %.0f ms)\n",
            LargeList, largeMs, pages, largeMs / smallMs, LargeGoalMs);
    // The quick run that only sees that every benchmark works leaves the largest list out.
    if (Runs(2) > 1) {
        const auto huge = Generate(HugeList);
        const double hugeMs = LayoutMs(*huge, metrics, pages);
        std::printf("layout of %6d words  %8.1f ms  %5zu pages  (%.1f x 100000 words; goal < %.0f "
                    "ms)\n",
                    HugeList, hugeMs, pages, hugeMs / largeMs, HugeGoalMs);
    }

    // The preview as a user opens it: its window at the placement's default size.
    TPrintPreviewForm form;
    form.resize(800, 600);
    PrintList = small.get();
    PrintFirst = 0;
    PrintLast = small->Count() - 1;
    form.show();
    QApplication::processEvents();
    QImage target(form.PrintSheet->size(), QImage::Format_ARGB32_Premultiplied);
    const double fitMs = MedianMs(Runs(50), [&] { form.PrintSheet->render(&target); });
    form.ZoomInButtonClick();
    form.ZoomInButtonClick();
    target = QImage(form.PrintSheet->size(), QImage::Format_ARGB32_Premultiplied);
    const double zoomedMs = MedianMs(Runs(50), [&] { form.PrintSheet->render(&target); });
    std::printf("one preview page, fitting zoom  %6.2f ms  (goal < %.0f ms)\n", fitMs, PageGoalMs);
    std::printf("one preview page, zoomed twice  %6.2f ms  (%d x %d pixels)\n", zoomedMs,
                target.width(), target.height());
    withinGoals &= fitMs < PageGoalMs && zoomedMs < PageGoalMs;
    form.hide();
    PrintList = nullptr;
    return withinGoals ? 0 : 1;
}
