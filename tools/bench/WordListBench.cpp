#include "core/Unit_WordList.h"
#include "platform/FontCatalog.h"

#include "tools/bench/BenchTiming.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

// Opening and saving large word lists, against copying the same file; bulk edits of large lists.
namespace {

class TAllFonts : public IFontCatalog
{
public:
    std::vector<std::string> Families(int) const override { return {}; }
    bool IsInstalled(const std::string &) const override { return true; }
    bool Supports(const std::string &, int) const override { return true; }
};

const int Repeats = Runs(7);
constexpr int BulkWords = 100000;

void Generate(TWordList &list, int words, int soundSize)
{
    list.InitLanguages("Frans", 0, "Arial", 12, "Nederlands", 0, "Arial", 10);
    QFile store(QString::fromStdString(list.SoundTempFile));
    store.open(QIODevice::WriteOnly);
    const QByteArray sound(soundSize, 'm');
    for (int i = 0; i < words; ++i) {
        auto word
                = std::make_unique<TWord>("mot " + std::to_string(i), "woord " + std::to_string(i),
                                          "les " + std::to_string(i % 40));
        word->Context = "un exemple pour le mot " + std::to_string(i);
        word->PartOfSpeech = "zn";
        word->Score1 = i % 31;
        word->History1 = static_cast<uint32_t>(i);
        list.Add(std::move(word));
        if (soundSize > 0) {
            list.SetSound(i, static_cast<int32_t>(store.pos()), soundSize);
            store.write(sound);
        }
    }
}

void Measure(const char *name, int words, int soundSize, const QTemporaryDir &dir)
{
    const std::string path = dir.filePath(QStringLiteral("list.wdl")).toStdString();
    TWordList list;
    Generate(list, words, soundSize);
    const double save = MedianMs(Repeats, [&] { list.SaveToFile(path); });
    const double open = MedianMs(Repeats, [&] {
        TWordList read;
        bool ok = false;
        int format = 0;
        read.LoadFromFile(path, ok, format);
        if (!ok || read.Count() != words)
            std::fprintf(stderr, "open failed\n");
    });
    const QString copy = dir.filePath(QStringLiteral("copy.wdl"));
    const double copied = MedianMs(Repeats, [&] {
        QFile::remove(copy);
        QFile::copy(QString::fromStdString(path), copy);
    });
    const auto size = QFile(QString::fromStdString(path)).size();
    std::printf("%-28s %9.1f MB  open %8.1f ms  save %8.1f ms  copy %8.1f ms  "
                "open/copy %.2f  save/copy %.2f\n",
                name, static_cast<double>(size) / 1e6, open, save, copied, open / copied,
                save / copied);
}

// Inserts a 100,000-word list into the middle of another and removes it again, in one move
// each, and pastes a clipboard payload of that size: each run starts from a fresh list, whose
// making is not timed.
void MeasureBulk(int words)
{
    TWordList source;
    Generate(source, words, 0);
    const std::unique_ptr<QBuffer> payload = source.CopyToStream(0, words - 1);
    std::vector<double> inserts, deletes, pastes;
    for (int run = 0; run < Repeats; ++run) {
        TWordList list;
        Generate(list, words, 0);
        std::vector<std::unique_ptr<TWord>> block;
        block.reserve(static_cast<size_t>(words));
        for (int i = 0; i < words; ++i)
            block.push_back(source.Word(i).Clone());
        QElapsedTimer timer;
        timer.start();
        list.InsertRange(words / 2, std::move(block));
        inserts.push_back(ElapsedMs(timer));
        timer.restart();
        const auto removed = list.DeleteRange(words / 2, words);
        deletes.push_back(ElapsedMs(timer));
        if (static_cast<int>(removed.size()) != words || list.Count() != words)
            std::fprintf(stderr, "bulk insert or removal lost words\n");
        payload->seek(0);
        timer.restart();
        const int pasted = list.PasteFromStream(*payload, words / 2);
        pastes.push_back(ElapsedMs(timer));
        if (pasted != words)
            std::fprintf(stderr, "paste failed\n");
    }
    std::printf("%d words into %d: insert %8.1f ms  remove %d of %d %8.1f ms  "
                "paste %8.1f ms\n",
                words, words, Median(inserts), words, 2 * words, Median(deletes), Median(pastes));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TAllFonts fonts;
    SetFontCatalog(&fonts);
    QTemporaryDir dir;
    Measure("100000 words, no sounds", 100000, 0, dir);
    Measure("5000 words, 16 KB sound each", 5000, 16 * 1024, dir);
    MeasureBulk(BulkWords);
    return 0;
}
