#include "core/Unit_WLFile.h"
#include "core/Unit_WordList.h"
#include "fuzz/AgreeingHooks.h"
#include "platform/TempFile.h"
#include "support/FuzzTarget.h"

#include <QBuffer>
#include <cstdio>
#include <cstdlib>

namespace {

// Every face is installed, and every question is answered yes, so as much of the reader runs as
QByteArray Write(TWordList &list)
{
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    const TWrittenStore store = TWLFile(out).WriteList(list);
    std::remove(store.Path.c_str());
    return bytes;
}

int Read(QByteArray bytes, TWordList &list)
{
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    int format = 0;
    return TWLFile(in).LoadList(list, format);
}

} // namespace

// Whatever a list file holds, reading it must fail cleanly or give a list that writes, reads back
// and writes again to the same bytes.
TARNWICK_FUZZ_TARGET(WordListReader)
{
    static TAgreeingCatalog catalog;
    static TAgreeingHooks hooks;
    SetFontCatalog(&catalog);
    SetLoadHooks(&hooks);
    try {
        TWordList list;
        const int result = Read(
                QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)),
                list);
        if (result == LoadUnchanged || result == LoadChanged) {
            const QByteArray written = Write(list);
            TWordList again;
            if (Read(written, again) != LoadUnchanged || Write(again) != written)
                std::abort();
        }
    } catch (const EInOutError &) { }
    SetLoadHooks(nullptr);
    SetFontCatalog(nullptr);
    return 0;
}
