#include "core/Unit_WordList.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

// Exporting a large list as text and importing the text into an empty list, against copying the
// same file.
namespace {

constexpr int Runs = 7;
constexpr int Words = 100000;

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double MedianMs(const std::function<void()> &work)
{
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return Median(times);
}

void Generate(TWordList &list)
{
    for (int i = 0; i < Words; ++i) {
        auto word
                = std::make_unique<TWord>("mot " + std::to_string(i), "woord " + std::to_string(i),
                                          "les " + std::to_string(i % 40));
        word->Context = "un exemple pour le mot " + std::to_string(i);
        word->PartOfSpeech = "zn";
        list.Add(std::move(word));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("list.txt")).toStdString();
    TWordList list;
    Generate(list);
    const double exported = MedianMs([&] { list.ExportTextFile(path); });
    // The import into a fresh list, and apart from it the release of that list.
    std::vector<double> imports, releases;
    for (int run = 0; run < Runs; ++run) {
        auto read = std::make_unique<TWordList>();
        QElapsedTimer timer;
        timer.start();
        if (read->ImportFile(0, path) != Words)
            std::fprintf(stderr, "import failed\n");
        imports.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        read.reset();
        releases.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    const QString copy = dir.filePath(QStringLiteral("copy.txt"));
    const double copied = MedianMs([&] {
        QFile::remove(copy);
        QFile::copy(QString::fromStdString(path), copy);
    });
    const auto size = QFile(QString::fromStdString(path)).size();
    std::printf("%d lines of text, %.1f MB  import %8.1f ms  (release of the list %6.1f ms)  "
                "export %8.1f ms  copy %8.1f ms\n",
                Words, static_cast<double>(size) / 1e6, Median(imports), Median(releases), exported,
                copied);
    return 0;
}
