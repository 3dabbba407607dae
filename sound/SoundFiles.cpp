#include "sound/SoundFiles.h"

#include "platform/ReadOpen.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr qint64 CopyBlock = 256 * 1024;

} // namespace

QString FileNameOf(const std::string &fileName)
{
    return QFile::decodeName(QByteArray::fromStdString(fileName));
}

bool CopyBlocks(QIODevice &from, QIODevice &to, qint64 size)
{
    std::vector<char> block(static_cast<size_t>(std::min(std::max<qint64>(size, 1), CopyBlock)));
    for (qint64 left = size; left > 0;) {
        const qint64 got = from.read(block.data(), std::min<qint64>(left, CopyBlock));
        if (got <= 0 || to.write(block.data(), got) != got)
            return false;
        left -= got;
    }
    return true;
}

bool CopyFileOver(const std::string &from, const std::string &to)
{
    QString reason;
    return CopyFileOver(from, to, reason);
}

bool CopyFileOver(const std::string &from, const std::string &to, QString &reason)
{
    QFile in(FileNameOf(from));
    QFile out(FileNameOf(to));
    if (!OpenRegularFile(in)) {
        // A special file is refused before it is read; errno says which kind of refusal.
        reason = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        reason = out.errorString();
        return false;
    }
    if (!CopyBlocks(in, out, in.size()) || !out.flush()) {
        reason = out.error() != QFileDevice::NoError ? out.errorString() : in.errorString();
        return false;
    }
    return true;
}

void RemoveFile(const std::string &fileName)
{
    if (!fileName.empty())
        QFile::remove(FileNameOf(fileName));
}

qint64 FileSize(const std::string &fileName)
{
    return QFileInfo(FileNameOf(fileName)).size();
}
