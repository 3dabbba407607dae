#include "tools/pack/Packer.h"

#include "core/Unit_Paths.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <limits>

namespace {

constexpr int MaxVolumes = 255;
constexpr qint64 ChunkSize = 64 * 1024;

QString Local(const std::string &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string VolumeFileName(int number)
{
    return (number <= 9 ? "Setup.d0" : "Setup.d") + std::to_string(number);
}

std::string Int32Bytes(int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
    return bytes;
}

class TVolumeWriter
{
public:
    TVolumeWriter(std::string folder, int64_t capacity, std::string &error)
        : folder(std::move(folder))
        , contentSize(capacity - 1)
        , error(error)
    { }

    bool Start() { return OpenVolume(1); }

    int64_t Room() const { return contentSize - used; }
    int Count() const { return number; }

    bool Write(const char *bytes, int64_t size)
    {
        if (file.write(bytes, size) != size)
            return Fail("could not write " + VolumeFileName(number));
        used += size;
        return true;
    }

    bool Write(const std::string &bytes)
    {
        return Write(bytes.data(), static_cast<int64_t>(bytes.size()));
    }

    // Closes this volume with the number of the one after it and opens that.
    bool Next()
    {
        if (number == MaxVolumes)
            return Fail("more than 255 volumes");
        return Close() && OpenVolume(number + 1);
    }

    bool Close()
    {
        const char next = static_cast<char>(number % MaxVolumes + 1);
        if (file.write(&next, 1) != 1 || !file.flush())
            return Fail("could not write " + VolumeFileName(number));
        file.close();
        return true;
    }

private:
    bool OpenVolume(int volume)
    {
        number = volume;
        used = 0;
        file.setFileName(Local(JoinPath(folder, VolumeFileName(volume))));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return Fail("could not create " + VolumeFileName(volume));
        return true;
    }

    bool Fail(const std::string &text)
    {
        error = text;
        return false;
    }

    std::string folder;
    int64_t contentSize;
    std::string &error;
    QFile file;
    int number = 0;
    int64_t used = 0;
};

bool CopyContent(TVolumeWriter &writer, const TPackItem &item, int64_t size, std::string &error)
{
    QFile source(Local(item.Path));
    if (!source.open(QIODevice::ReadOnly)) {
        error = "could not read " + item.Path;
        return false;
    }
    std::vector<char> chunk(ChunkSize);
    int64_t left = size;
    while (left > 0) {
        if (writer.Room() == 0 && !writer.Next())
            return false;
        const int64_t want = std::min<int64_t>({left, writer.Room(), ChunkSize});
        if (source.read(chunk.data(), want) != want) {
            error = "could not read " + item.Path;
            return false;
        }
        if (!writer.Write(chunk.data(), want))
            return false;
        left -= want;
    }
    return true;
}

} // namespace

int PackVolumes(const std::vector<TPackItem> &items, int64_t capacity, const std::string &folder,
                std::string &error)
{
    std::vector<int64_t> sizes;
    int64_t total = 0;
    for (const TPackItem &item : items) {
        const QFileInfo info(Local(item.Path));
        if (!info.isFile()) {
            error = "not a file: " + item.Path;
            return 0;
        }
        if (item.Name.empty() || item.Name.find('\0') != std::string::npos) {
            error = "bad name for " + item.Path;
            return 0;
        }
        sizes.push_back(info.size());
        total += info.size();
        if (total > std::numeric_limits<int32_t>::max()) {
            error = "more than 2 GiB of content";
            return 0;
        }
    }
    // The first volume must hold the total and a whole entry header.
    size_t longestHeader = 0;
    for (const TPackItem &item : items)
        longestHeader = std::max(longestHeader, item.Name.size() + 5);
    if (capacity < static_cast<int64_t>(4 + longestHeader + 1)) {
        error = "the volume capacity is too small";
        return 0;
    }

    TVolumeWriter writer(folder, capacity, error);
    if (!writer.Start() || !writer.Write(Int32Bytes(static_cast<int32_t>(total))))
        return 0;
    int64_t contentLeft = total;
    for (size_t i = 0; i < items.size(); ++i) {
        const std::string header
                = items[i].Name + '\0' + Int32Bytes(static_cast<int32_t>(sizes[i]));
        // The reader stops in the volume that holds the last content byte, so the empty files
        // after it must be there too.
        const bool trailingEmpty = contentLeft == 0;
        if (!trailingEmpty && writer.Room() < static_cast<int64_t>(header.size()) && !writer.Next())
            return 0;
        if (!writer.Write(header) || !CopyContent(writer, items[i], sizes[i], error))
            return 0;
        contentLeft -= sizes[i];
    }
    if (!writer.Close())
        return 0;
    return writer.Count();
}
