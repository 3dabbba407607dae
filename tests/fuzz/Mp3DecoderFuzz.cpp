#include "platform/Mp3Decoder.h"
#include "support/FuzzTarget.h"

#include <QFile>
#include <QTemporaryFile>
#include <cstdlib>
#include <vector>

namespace {

constexpr long BlockFrames = 1152;
// Each MPEG frame starts with a 4-byte header of its own and decodes into at most 1152 frames of
// samples. Free-format streams may set their frames as close as the next header, so the decoder
// legitimately gives several dozen sample frames per byte on small files; a truncated last frame
// may still decode in full.
constexpr int64_t MpegHeaderBytes = 4;
constexpr int64_t MaxFramesPerMpegFrame = 1152;

int64_t MaxFramesFor(size_t bytes)
{
    return (static_cast<int64_t>(bytes) / MpegHeaderBytes + 1) * MaxFramesPerMpegFrame;
}

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
        if (total > MaxFramesFor(size))
            std::abort();
    }
    return 0;
}
