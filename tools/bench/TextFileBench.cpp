#include "core/Unit_WordList.h"

#include "tools/bench/BenchTiming.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

// Exporting a large list as text and importing the text into an empty list, against copying the
// same file.
namespace {

const int Repeats = Runs(7);
constexpr int Words = 100000;

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
    const double exported = MedianMs(Repeats, [&] { list.ExportTextFile(path); });
    // The import into a fresh list, and apart from it the release of that list.
    std::vector<double> imports, releases;
    for (int run = 0; run < Repeats; ++run) {
        auto read = std::make_unique<TWordList>();
        QElapsedTimer timer;
        timer.start();
        if (read->ImportFile(0, path) != Words)
            std::fprintf(stderr, "import failed\n");
        imports.push_back(ElapsedMs(timer));
        timer.restart();
        read.reset();
        releases.push_back(ElapsedMs(timer));
    }
    const QString copy = dir.filePath(QStringLiteral("copy.txt"));
    const double copied = MedianMs(Repeats, [&] {
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
