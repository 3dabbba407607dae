#include "kbtool/KeyboardChart.h"
#include "kbtool/Unit_KBLayoutForm.h"
#include "platform/KbKeymap.h"
#include "platform/KeyboardLayouts.h"
#include "tools/bench/BenchTiming.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

// Opening the keyboard tool (every key's characters in four shift states and every dead key's
// compositions) for layouts with few and with many dead keys, and painting the chart.
namespace {

constexpr int ChartDpi = 150;
constexpr int LetterLongSide = 11;
constexpr double LetterShortSide = 8.5;
constexpr double MetresPerInch = 0.0254;

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    KbKeymap::UseSystemFilesOnly();
    TKBLayoutForm form;
    for (const char *name : {"us", "ru", "fr", "us(intl)", "de"}) {
        if (!KbLayouts::ActivateKeyboardLayout(KbLayout::FromName(name)))
            continue;
        // The first opening compiles the keymap, later ones find it compiled.
        QElapsedTimer first;
        first.start();
        form.show();
        const double firstMs = ElapsedMs(first);
        form.hide();
        const double ms = MedianMs(Runs(20), [&] {
            form.show();
            form.hide();
        });
        std::printf("open the keyboard tool on %-9s first %7.2f ms  then median %7.2f ms\n", name,
                    firstMs, ms);
    }

    QImage page(ChartDpi * LetterLongSide, qRound(ChartDpi * LetterShortSide),
                QImage::Format_RGB32);
    const int dotsPerMetre = qRound(ChartDpi / MetresPerInch);
    page.setDotsPerMeterX(dotsPerMetre);
    page.setDotsPerMeterY(dotsPerMetre);
    const TChartContent content{form.KeyChars, form.KeyCodePage, form.KeyFont, "", "German"};
    const TChartDevice device{ChartDpi, ChartDpi, page.size(), page.rect()};
    int pages = 0;
    const double chartMs = MedianMs(Runs(20), [&] {
        page.fill(Qt::white);
        QPainter painter(&page);
        pages = PaintKeyboardChart(painter, device, content, [] { return true; });
    });
    std::printf("paint the keyboard chart of de at %d dpi (%d pages)  median %7.2f ms\n", ChartDpi,
                pages, chartMs);
    return 0;
}
