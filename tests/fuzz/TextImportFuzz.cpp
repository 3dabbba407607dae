#include "core/Unit_WLFile.h"
#include "core/Unit_WordList.h"
#include "fuzz/AgreeingHooks.h"
#include "platform/TempFile.h"
#include "support/FuzzTarget.h"
#include "support/LocaleCodeset.h"

#include <QBuffer>
#include <QFile>
#include <cstdlib>

namespace {

int Import(QByteArray bytes, int index, TWordList &list)
{
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    return TWLFile(in).ImportList(index, list);
}

QByteArray Export(const TWordList &list, int first, int count)
{
    TWordList part;
    for (int i = first; i < first + count; ++i)
        part.Add(list.Word(i).Clone());
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    TWLFile(out).ExportText(part);
    return bytes;
}

bool Clean(const std::string &text, size_t limit)
{
    return text.size() <= limit
            && text.find_first_of(std::string("\t\r\n\0", 4)) == std::string::npos;
}

bool Exportable(const TWord &word)
{
    return Clean(word.ForWord, 512) && Clean(word.RefWord, 512) && Clean(word.Context, 1000)
            && Clean(word.PartOfSpeech, 64) && Clean(word.Lesson, 64);
}

bool SoundInStore(const TWord &word, int64_t storeSize)
{
    return !word.Sound
            || (word.Sound->Offset >= 0 && word.Sound->Size > 0
                && int64_t{word.Sound->Offset} + word.Sound->Size <= storeSize);
}

} // namespace

// Whatever a file holds, an import inserts between the words already there, every word it brings
// keeps to the limits of a word list and has its sound in the store, and text words come back
// unchanged through an export and a second import on a UTF-8 desktop. (The trainer itself turns a
// bare C locale into C.UTF-8; in an 8-bit locale stored bytes that happen to form UTF-8 are read
// back decoded, as the import takes any well-formed UTF-8 file to be one.)
TARNWICK_FUZZ_TARGET(TextImport)
{
    static TAgreeingCatalog catalog;
    static TAgreeingHooks hooks;
    SetFontCatalog(&catalog);
    SetLoadHooks(&hooks);
    try {
        TWordList list;
        list.Add(std::make_unique<TWord>("first", "", ""));
        list.Add(std::make_unique<TWord>("last", "", ""));
        const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
        const int count = Import(bytes, 1, list);
        if (count < 0 || list.Count() != count + 2 || list.GetForWord(0) != "first"
            || list.GetForWord(count + 1) != "last")
            std::abort();
        const int64_t storeSize = QFile(QString::fromStdString(list.SoundTempFile)).size();
        bool exportable = true;
        for (int i = 1; i <= count; ++i) {
            const TWord &word = list.Word(i);
            if (!SoundInStore(word, storeSize) || word.Level1 > 3 || word.Level2 > 3)
                std::abort();
            exportable = exportable && Exportable(word);
        }
        if (exportable && count > 0) {
            const TLocaleCodeset utf8("C.UTF-8");
            const QByteArray text = Export(list, 1, count);
            TWordList again;
            if (Import(text, 0, again) != count || Export(again, 0, count) != text)
                std::abort();
        }
    } catch (const EInOutError &) { }
    SetLoadHooks(nullptr);
    SetFontCatalog(nullptr);
    return 0;
}
