#include "platform/Mp3Decoder.h"
#include "support/FuzzTarget.h"

#include <QFile>
#include <QTemporaryFile>
#include <cstdlib>
#include <vector>

namespace {

constexpr long BlockFrames = 1152;
// A file of n bytes cannot decode into more frames than this many per byte (a frame of 1152
// samples takes at least 24 bytes at 8 kbit/s).
constexpr int64_t MaxFramesPerByte = 1152 / 24 + 1;

} // namespace

// Whatever a sound file holds, the decoder opens it or refuses it, and never gives more frames
// than asked for or than the file could hold.
TARNWICK_FUZZ_TARGET(Mp3Decoder)
{
    QTemporaryFile file;
    if (!file.open()
        || file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size))
                != static_cast<qint64>(size)
        || !file.flush())
        return 0;
    TMp3Decoder decoder;
    int error = 0;
    if (!decoder.Open(QFile::encodeName(file.fileName()).toStdString(), error))
        return 0;
    if (decoder.Rate() <= 0 || decoder.Channels() < 1 || decoder.Channels() > 2)
        std::abort();
    std::vector<int16_t> block(static_cast<size_t>(BlockFrames * decoder.Channels()));
    int64_t total = 0;
    for (long got; (got = decoder.Read(block.data(), BlockFrames)) > 0;) {
        if (got > BlockFrames)
            std::abort();
        total += got;
        if (total > static_cast<int64_t>(size + 1) * MaxFramesPerByte)
            std::abort();
    }
    return 0;
}
