#include "core/Unit_WLFile.h"

#include "core/LoadHooks.h"
#include "core/Texts.h"
#include "core/Unit_Charsets.h"
#include "core/Unit_Constraints.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Streams.h"
#include "core/Unit_Warnings.h"
#include "core/Unit_WordList.h"
#include "platform/ReadOpen.h"
#include "platform/TempFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace {

constexpr size_t MaxWordBytes = 512;
constexpr size_t MaxContextBytes = 1000;
constexpr size_t MaxShortBytes = 64;
constexpr size_t MaxOldLessonBytes = 512;
constexpr size_t MaxForeignCharsBytes = 100;
constexpr int32_t MaxCount = 5;
constexpr size_t CopyBlock = 256 * 1024;
const std::string EndMark = "\r";

bool ReadText(TStreamReader &in, std::string &text, size_t limit)
{
    return in.ReadStr(text) && text.size() <= limit;
}

bool ReadEndMark(TStreamReader &in)
{
    std::string mark;
    return in.ReadStr(mark, EndMark.size()) && mark == EndMark;
}

// Reads one language with its font; false when a value is out of its limits.
bool ReadLanguage(TStreamReader &in, std::string &language, TListFont &font, bool &installed,
                  bool &hasFace)
{
    std::string name;
    uint8_t size = 0;
    if (!in.ReadStr(language) || CheckLanguageName(language) != 0)
        return false;
    if (!in.ReadCharset(font.Charset) || !in.ReadStr(name))
        return false;
    const int check = CheckFontName(name, font.Charset);
    if (check == 1)
        return false;
    font.Name = name;
    installed = check != 3;
    hasFace = check != 2;
    if (!in.ReadByte(size))
        return false;
    font.Size = size;
    return true;
}

// Reads the sound of a record into the end of the store; size 0 is no sound.
bool ReadSound(TStreamReader &in, TStreamWriter &store, TWord &word)
{
    int32_t size = 0;
    if (!in.ReadInt(size) || size < 0 || size > in.Remaining())
        return false;
    if (size == 0)
        return true;
    const int64_t offset = store.Position();
    if (offset + size > INT32_MAX || !CopyBytes(in, store, size))
        return false;
    word.Sound = std::make_unique<TSoundRec>(TSoundRec{static_cast<int32_t>(offset), size});
    return true;
}

// The first format kept only levels and scores: the answers behind a score count as right ones.
bool ReadFirstFormatCounters(TStreamReader &in, TWord &word)
{
    uint8_t score1 = 0, score2 = 0;
    if (!in.ReadLevel(word.Level1) || !in.ReadLevel(word.Level2) || !in.ReadByte(score1)
        || !in.ReadByte(score2))
        return false;
    word.Score1 = score1;
    word.Score2 = score2;
    word.Count1 = std::min<int32_t>(score1, MaxCount);
    word.Count2 = std::min<int32_t>(score2, MaxCount);
    word.History1 = (1U << word.Count1) - 1;
    word.History2 = (1U << word.Count2) - 1;
    return true;
}

std::unique_ptr<TWord> ReadRecord(TStreamReader &in, TStreamWriter &store, int format)
{
    std::string forWord, refWord, context, partOfSpeech, lesson;
    if (!ReadText(in, forWord, MaxWordBytes) || !ReadText(in, refWord, MaxWordBytes))
        return nullptr;
    if (format >= 2 && !ReadText(in, context, MaxContextBytes))
        return nullptr;
    if (format >= 4 && !ReadText(in, partOfSpeech, MaxShortBytes))
        return nullptr;
    if (!ReadText(in, lesson, format >= 4 ? MaxShortBytes : MaxOldLessonBytes))
        return nullptr;
    // Older formats allowed longer lessons than the current one holds; cut them, or the list
    // would save to a file that no longer opens.
    if (lesson.size() > MaxShortBytes)
        lesson.resize(MaxShortBytes);
    auto word = std::make_unique<TWord>(std::move(forWord), std::move(refWord), std::move(lesson));
    word->PartOfSpeech = std::move(partOfSpeech);
    word->Context = std::move(context);
    if (format == 1) {
        if (!ReadFirstFormatCounters(in, *word))
            return nullptr;
    } else if (!ReadSound(in, store, *word) || !ReadCounters(in, *word)) {
        return nullptr;
    }
    if (!ReadEndMark(in))
        return nullptr;
    return word;
}

void WriteLanguage(TStreamWriter &out, const std::string &language, const TListFont *font)
{
    const TListFont none;
    const TListFont &f = font ? *font : none;
    out.WriteStr(language);
    out.WriteCharset(f.Charset);
    out.WriteStr(f.Name);
    out.WriteByte(static_cast<uint32_t>(f.Size));
}

// Copies one sound out of the old store into the file and, unless null, the new store.
void CopySound(QFile &oldStore, const TSoundRec &sound, std::vector<char> &block,
               TStreamWriter &file, TStreamWriter *newStore)
{
    if (sound.Offset < 0 || sound.Size <= 0 || int64_t{sound.Offset} + sound.Size > oldStore.size()
        || !oldStore.seek(sound.Offset))
        throw EInOutError(oldStore.fileName().toStdString()
                          + ": a sound lies outside the sound store");
    for (int64_t left = sound.Size; left > 0;) {
        const auto part = static_cast<qint64>(std::min<int64_t>(left, block.size()));
        if (oldStore.read(block.data(), part) != part)
            throw EInOutError(FileErrorText(oldStore));
        file.WriteBytes(block.data(), static_cast<size_t>(part));
        if (newStore)
            newStore->WriteBytes(block.data(), static_cast<size_t>(part));
        left -= part;
    }
}

// Whether the store holds exactly the list's sounds, in list order, back to back: then writing
// a new one would copy it byte for byte.
bool StoreIsCompact(const TWordList &list, int64_t storeSize)
{
    int64_t next = 0;
    for (int i = 0; i < list.Count(); ++i) {
        const TSoundRec *sound = list.GetSound(i);
        if (!sound)
            continue;
        if (sound->Offset != next)
            return false;
        next += sound->Size;
    }
    return next == storeSize;
}

void WriteRecordTexts(TStreamWriter &out, const TWord &word)
{
    out.WriteStr(word.ForWord);
    out.WriteStr(word.RefWord);
    out.WriteStr(word.Context);
    out.WriteStr(word.PartOfSpeech);
    out.WriteStr(word.Lesson);
}

} // namespace

bool ReadCounters(TStreamReader &in, TWord &word)
{
    uint8_t score1 = 0, score2 = 0, count1 = 0, count2 = 0, history1 = 0, history2 = 0;
    if (!in.ReadLevel(word.Level1) || !in.ReadLevel(word.Level2) || !in.ReadByte(score1)
        || !in.ReadByte(score2) || !in.ReadByte(count1) || !in.ReadByte(count2)
        || !in.ReadByte(history1) || !in.ReadByte(history2))
        return false;
    word.Score1 = score1;
    word.Score2 = score2;
    word.Count1 = count1;
    word.Count2 = count2;
    word.History1 = history1;
    word.History2 = history2;
    return true;
}

void WriteCounters(TStreamWriter &out, const TWord &word)
{
    out.WriteLevel(word.Level1);
    out.WriteLevel(word.Level2);
    out.WriteByte(static_cast<uint32_t>(word.Score1));
    out.WriteByte(static_cast<uint32_t>(word.Score2));
    out.WriteByte(static_cast<uint32_t>(word.Count1));
    out.WriteByte(static_cast<uint32_t>(word.Count2));
    out.WriteByte(word.History1);
    out.WriteByte(word.History2);
}

std::string Signature(int format)
{
    std::string signature = "Tarnwick word list\r\n";
    signature += static_cast<char>('0' + std::clamp(format, 1, LatestFormat));
    return signature;
}

TWLFile::TWLFile(QIODevice &device)
    : Device(device)
{ }

TWLFile::~TWLFile() = default;

int TWLFile::ReadBody(TWordList &list, bool &forFontInstalled, bool &forFontHasFace,
                      bool &refFontInstalled, bool &refFontHasFace, int &format)
{
    TStreamReader in(Device);
    std::string text;
    if (!in.ReadStr(text))
        return ReadNotAWordList;
    format = 0;
    for (int candidate = 1; candidate <= LatestFormat; ++candidate) {
        if (text == Signature(candidate))
            format = candidate;
    }
    if (format == 0)
        return ReadNotAWordList;

    std::string language;
    auto forFont = std::make_unique<TListFont>();
    if (!ReadLanguage(in, language, *forFont, forFontInstalled, forFontHasFace))
        return ReadNotAWordList;
    list.SetForLanguage(language);
    list.SetForFont(std::move(forFont));
    auto refFont = std::make_unique<TListFont>();
    if (!ReadLanguage(in, language, *refFont, refFontInstalled, refFontHasFace))
        return ReadNotAWordList;
    list.SetRefLanguage(language);
    list.SetRefFont(std::move(refFont));

    if (format == LatestFormat) {
        if (!ReadText(in, text, MaxForeignCharsBytes))
            return ReadNotAWordList;
        list.SetForeignChars(text);
    } else {
        list.SetForeignChars(ForeignCharacters);
    }
    if (!ReadEndMark(in))
        return ReadNotAWordList;

    QFile storeFile(QString::fromStdString(list.SoundTempFile));
    if (!storeFile.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        throw EInOutError(FileErrorText(storeFile));
    TStreamWriter store(storeFile);
    while (!in.AtEnd()) {
        auto word = ReadRecord(in, store, format);
        if (store.Failed())
            throw EInOutError(FileErrorText(storeFile));
        if (!word)
            return ReadNotAWordList;
        list.Add(std::move(word));
    }
    if (!store.Flush())
        throw EInOutError(FileErrorText(storeFile));
    storeFile.close();

    if (format == 2) {
        switch (LoadHooks().ConvertList(list)) {
        case 2:
            LoadHooks().ShowError(PackText(TEntry::ConversionFailed));
            return ReadOk;
        case 3:
            return ReadCancelled;
        default:
            return ReadOk;
        }
    }
    return ReadOk;
}

namespace {

// Asks about a font that is missing or cannot show its character set; false when the user
// declines or cancels. The font takes what the user chose.
bool AskForFont(TListFont &font, bool installed, bool hasFace, TEntry missingEntry,
                TEntry noFaceEntry, bool &changed)
{
    if (installed && hasFace)
        return true;
    const std::string question = installed
            ? ReplacePlaceholders(LanguageText(noFaceEntry),
                                  {{"%f%", font.Name}, {"%cs%", CharsetName(font.Charset)}})
            : ReplacePlaceholders(LanguageText(missingEntry), {{"%f%", font.Name}});
    if (LoadHooks().WarnYesNo(question) != mbYes)
        return false;
    int charsetIndex = CharsetToIndex(font.Charset);
    std::string name = font.Name;
    if (LoadHooks().ChangeFont(charsetIndex, name) != 1)
        return false;
    font.Name = name;
    font.Charset = static_cast<uint8_t>(IndexToCharset(charsetIndex));
    changed = true;
    return true;
}

} // namespace

int TWLFile::LoadList(TWordList &list, int &format)
{
    bool forInstalled = true, forHasFace = true, refInstalled = true, refHasFace = true;
    const int read = ReadBody(list, forInstalled, forHasFace, refInstalled, refHasFace, format);
    if (read == ReadCancelled)
        return LoadCancelled;
    if (read == ReadNotAWordList) {
        LoadHooks().ShowError(PackText(TEntry::NotAWordList));
        return LoadNotAWordList;
    }
    bool changed = false;
    if (!AskForFont(*list.ForFont, forInstalled, forHasFace, TEntry::ForFontMissing,
                    TEntry::ForFontNoFace, changed)
        || !AskForFont(*list.RefFont, refInstalled, refHasFace, TEntry::RefFontMissing,
                       TEntry::RefFontNoFace, changed))
        return LoadCancelled;
    if (format < LatestFormat)
        changed = true;
    return changed ? LoadChanged : LoadUnchanged;
}

TWrittenStore TWLFile::WriteList(const TWordList &list)
{
    TStreamWriter out(Device);
    out.WriteStr(Signature(LatestFormat));
    WriteLanguage(out, list.ForLanguage, list.ForFont.get());
    WriteLanguage(out, list.RefLanguage, list.RefFont.get());
    out.WriteStr(list.ForeignChars);
    out.WriteStr(EndMark);

    QFile oldStore(QString::fromStdString(list.SoundTempFile));
    if (!oldStore.open(QIODevice::ReadOnly))
        throw EInOutError(FileErrorText(oldStore));
    std::vector<char> block(CopyBlock);
    TWrittenStore written;
    written.Offsets.reserve(static_cast<size_t>(list.Count()));
    if (StoreIsCompact(list, oldStore.size())) {
        for (int i = 0; i < list.Count(); ++i) {
            const TWord &word = list.Word(i);
            WriteRecordTexts(out, word);
            out.WriteInt(word.Sound ? word.Sound->Size : 0);
            written.Offsets.push_back(word.Sound ? word.Sound->Offset : -1);
            if (word.Sound)
                CopySound(oldStore, *word.Sound, block, out, nullptr);
            WriteCounters(out, word);
            out.WriteStr(EndMark);
        }
        if (!out.Flush())
            throw EInOutError(FileErrorText(Device));
        return written;
    }

    written.Path = CreateTempFile("ZRS");
    QFile newStoreFile(QString::fromStdString(written.Path));
    try {
        if (!newStoreFile.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
            throw EInOutError(FileErrorText(newStoreFile));
        TStreamWriter newStore(newStoreFile);
        for (int i = 0; i < list.Count(); ++i) {
            const TWord &word = list.Word(i);
            WriteRecordTexts(out, word);
            if (word.Sound) {
                out.WriteInt(word.Sound->Size);
                written.Offsets.push_back(static_cast<int32_t>(newStore.Position()));
                CopySound(oldStore, *word.Sound, block, out, &newStore);
            } else {
                out.WriteInt(0);
                written.Offsets.push_back(-1);
            }
            WriteCounters(out, word);
            out.WriteStr(EndMark);
        }
        if (!newStore.Flush() || !newStoreFile.flush())
            throw EInOutError(FileErrorText(newStoreFile));
        if (!out.Flush())
            throw EInOutError(FileErrorText(Device));
    } catch (...) {
        newStoreFile.close();
        std::remove(written.Path.c_str());
        throw;
    }
    return written;
}

void TWordList::LoadFromFile(const std::string &fileName, bool &ok, int &format)
{
    ok = true;
    const QString path = QString::fromStdString(fileName);
    QFileInfo info(path);
    if (!info.exists()) {
        ok = false;
        return;
    }
    QFile file(path);
    std::string openError;
    if (!OpenRegularFile(file, &openError)) {
        LoadHooks().ShowError(QString::fromUtf8(openError));
        ok = false;
        return;
    }
    FileName = info.absoluteFilePath().toStdString();
    try {
        TWLFile wlFile(file);
        const int result = wlFile.LoadList(*this, format);
        Saved = result == LoadUnchanged;
        ok = result == LoadUnchanged || result == LoadChanged;
    } catch (const EInOutError &error) {
        LoadHooks().ShowError(QString::fromUtf8(error.what()));
        ok = false;
    }
}

void TWordList::SaveToFile(const std::string &fileName)
{
    for (int i = 0; i < Count(); ++i)
        StoreRecordedSound(i);
    QSaveFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw EInOutError(FileErrorText(file));
    TWLFile wlFile(file);
    TWrittenStore store = wlFile.WriteList(*this);
    if (!file.commit()) {
        if (!store.Path.empty())
            std::remove(store.Path.c_str());
        throw EInOutError(FileErrorText(file));
    }
    for (int i = 0; i < Count(); ++i) {
        if (store.Offsets[static_cast<size_t>(i)] >= 0)
            Word(i).Sound->Offset = store.Offsets[static_cast<size_t>(i)];
    }
    if (!store.Path.empty()) {
        std::remove(SoundTempFile.c_str());
        SoundTempFile = std::move(store.Path);
    }
    FileName = fileName;
    Saved = true;
}
