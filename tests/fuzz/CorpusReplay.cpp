#include "support/FuzzTarget.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

std::map<std::string, FuzzTargets::Entry> &Targets()
{
    static std::map<std::string, FuzzTargets::Entry> targets;
    return targets;
}

} // namespace

bool FuzzTargets::Register(const char *name, Entry entry)
{
    Targets()[name] = entry;
    return true;
}

// Replays every seed of every fuzz target: each must run to its end under the sanitizers.
TEST(CorpusReplay, EveryTargetRunsOverItsWholeCorpus)
{
    ASSERT_FALSE(Targets().empty());
    for (const auto &[name, entry] : Targets()) {
        QDir corpus(QStringLiteral(TARNWICK_CORPUS_DIR "/") + QString::fromStdString(name));
        const QStringList seeds = corpus.entryList(QDir::Files, QDir::Name);
        EXPECT_FALSE(seeds.isEmpty()) << "no seed corpus for " << name;
        for (const QString &seed : seeds) {
            SCOPED_TRACE(name + "/" + seed.toStdString());
            QFile file(corpus.filePath(seed));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            EXPECT_EQ(0,
                      entry(reinterpret_cast<const uint8_t *>(bytes.constData()),
                            static_cast<size_t>(bytes.size())));
        }
    }
}
