#include "setup/Unit_DataFile.h"
#include "support/FuzzTarget.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <limits>

namespace {

// Says yes to every overwrite and leaves at every other question.
class TFuzzQuestions : public TExtractQuestions
{
public:
    bool AskExit() override { return true; }
    bool AskForDisk(const std::string &) override { return true; }
    int AskOverwrite(const std::string &) override { return 1; }
    void ShowError(const std::string &) override { }
};

} // namespace

// The input is a first volume; whatever it names must land inside the install folder.
TARNWICK_FUZZ_TARGET(DataVolume)
{
    QTemporaryDir root;
    if (!root.isValid() || !QDir(root.path()).mkpath(QStringLiteral("inst")))
        return 0;
    const QString volumePath = root.filePath(QStringLiteral("Setup.d01"));
    {
        QFile volume(volumePath);
        if (!volume.open(QIODevice::WriteOnly))
            return 0;
        volume.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    }
    TExtractOutput output;
    TFuzzQuestions questions;
    TDataFile file(QFile::encodeName(volumePath).toStdString(), "Setup.d01",
                   QFile::encodeName(root.filePath(QStringLiteral("inst"))).toStdString(), nullptr,
                   output, questions);
    int32_t total = 0;
    if (file.Open() && file.ReadInt32(total) && total >= 0) {
        output.TotalLeft = total;
        bool yesToAll = false;
        int64_t done = 0;
        // Small passes first, as the worker makes them, then the rest at once.
        for (int pass = 0; pass < 16 && file.Extract(3, yesToAll, done) && done > 0; ++pass) { }
        if (file.Failure().empty())
            file.Extract(std::numeric_limits<int64_t>::max(), yesToAll, done);
        uint8_t next = 0;
        if (file.Failure().empty())
            file.ReadByte(next);
    }
    if (output.BytesLeft < 0 || output.TotalLeft < 0)
        __builtin_trap();
    output.File.close();
    QDirIterator it(root.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        const QString name = it.next();
        if (name != volumePath && name != root.filePath(QStringLiteral("inst")))
            __builtin_trap();
    }
    return 0;
}
