#include "sound/AudioConvert.h"
#include "sound/WavFile.h"
#include "support/FuzzTarget.h"

#include <QBuffer>
#include <cstdlib>
#include <vector>

// Whatever a WAV file holds, its chunks are walked within the file, and the samples found convert
// or are refused.
TARNWICK_FUZZ_TARGET(WavFile)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    TWaveInfo info;
    if (!ParseWav(file, info))
        return 0;
    if (info.DataOffset < 20 || info.DataLength < 0
        || info.DataOffset + info.DataLength > static_cast<int64_t>(size))
        std::abort();
    std::vector<int16_t> out;
    ConvertToRecordingFormat(info.Format, bytes.constData() + info.DataOffset,
                             static_cast<size_t>(info.DataLength), out);
    return 0;
}
