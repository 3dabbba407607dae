#include "core/Unit_WordList.h"
#include "platform/TempFile.h"
#include "support/FuzzTarget.h"

#include <QBuffer>
#include <QFile>
#include <cstdlib>

namespace {

QByteArray Copy(TWordList &list, int first, int last)
{
    return list.CopyToStream(first, last)->data();
}

int Paste(TWordList &list, QByteArray bytes, int index)
{
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    return list.PasteFromStream(in, index);
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckSoundsLieInTheStore(const TWordList &list)
{
    const qint64 store = QFile(QString::fromStdString(list.SoundTempFile)).size();
    for (int i = 0; i < list.Count(); ++i) {
        if (const TSoundRec *sound = list.GetSound(i))
            Check(sound->Offset >= 0 && sound->Size > 0 && sound->Offset + sound->Size <= store);
    }
}

} // namespace

// Whatever a clipboard holds, a paste must insert only whole, valid records whose sounds lie in
// the store, and copying them again must give the very bytes they were read from. The same bytes
// pasted as a sound must come back unchanged.
TARNWICK_FUZZ_TARGET(ClipboardPayload)
{
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    try {
        TWordList list;
        list.Add(std::make_unique<TWord>("before", "", ""));
        list.Add(std::make_unique<TWord>("after", "", ""));
        QBuffer existing;
        existing.setData("existing sound");
        existing.open(QIODevice::ReadOnly);
        list.PasteSoundFromStream(existing, 0);

        const int inserted = Paste(list, input, 1);
        Check(inserted >= 0 && list.Count() == inserted + 2);
        Check(list.GetForWord(0) == "before" && list.GetForWord(inserted + 1) == "after");
        CheckSoundsLieInTheStore(list);
        if (inserted > 0) {
            const QByteArray copied = Copy(list, 1, inserted);
            Check(input.mid(4).startsWith(copied.mid(4)));
            TWordList again;
            Check(Paste(again, copied, 0) == inserted && Copy(again, 0, inserted - 1) == copied);
        }

        QBuffer sound;
        sound.setData(input);
        sound.open(QIODevice::ReadOnly);
        list.PasteSoundFromStream(sound, 0);
        CheckSoundsLieInTheStore(list);
        Check(list.CopySoundToStream(0)->data() == input);
    } catch (const EInOutError &) { }
    return 0;
}
