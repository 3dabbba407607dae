#include "core/Unit_WordList.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

// Exporting a large list as text and importing the text into an empty list, against copying the
// same file.
namespace {

constexpr int Runs = 7;
constexpr int Words = 100000;

double MedianMs(const std::function<void()> &work)
{
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
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
    const double imported = MedianMs([&] {
        TWordList read;
        if (read.ImportFile(0, path) != Words)
            std::fprintf(stderr, "import failed\n");
    });
    const QString copy = dir.filePath(QStringLiteral("copy.txt"));
    const double copied = MedianMs([&] {
        QFile::remove(copy);
        QFile::copy(QString::fromStdString(path), copy);
    });
    const auto size = QFile(QString::fromStdString(path)).size();
    std::printf("%d lines of text, %.1f MB  import %8.1f ms  export %8.1f ms  copy %8.1f ms\n",
                Words, static_cast<double>(size) / 1e6, imported, exported, copied);
    return 0;
}
