#include "core/Unit_Sort.h"

#include "core/Unit_WordList.h"
#include "platform/CodePage.h"
#include "platform/CollationKeys.h"
#include "platform/WorkBlocks.h"

#include <algorithm>
#include <memory>
#include <span>
#include <string_view>
#include <thread>
#include <unordered_map>

// A sort first gives every word one compact key, then orders the keys alone, and finally moves
// the words into that order in one pass: the comparisons never reach into the words, and the
// words are never copied. The arrays of a long list's sort are left unwritten when they are made,
// so that their pages are first touched by the threads that fill them: on a large list, taking
// fresh memory from the system costs more than the sort's own work.

namespace {

// One word in a text sort: eight bytes of its collation key from some depth on, as a number
// that orders as those bytes do, and the word's position before the sort, which breaks every tie.
struct TSortItem
{
    uint64_t Prefix;
    uint32_t Index;
};

// A function object rather than a function, so that the sort can inline it.
constexpr auto ItemLess = [](const TSortItem &a, const TSortItem &b) {
    return a.Prefix != b.Prefix ? a.Prefix < b.Prefix : a.Index < b.Index;
};

constexpr size_t PrefixBytes = sizeof(uint64_t);
// Room reserved per key before building: most keys of word-list texts are shorter.
constexpr size_t TypicalKeyBytes = 48;
// Lessons and parts of speech repeat throughout a list, so a text met before shares the key built
// for it. The texts remembered stop at this many per thread, so that a column of mostly distinct
// words costs no more than one lookup a word.
constexpr size_t RememberedTexts = 4096;

// The collation keys of one text column: the bytes of all keys of a block of words lie in one
// arena; each word's key is found through its position before the sort.
struct TTextKeys
{
    size_t Count = 0;
    std::vector<std::vector<uint8_t>> Arenas;
    std::unique_ptr<const uint8_t *[]> Data;
    std::unique_ptr<uint32_t[]> Size;

    uint64_t Prefix(uint32_t index, size_t from) const
    {
        const uint8_t *key = Data[index];
        const size_t end = std::min<size_t>(Size[index], from + PrefixBytes);
        uint64_t prefix = 0;
        size_t at = from;
        for (; at < end; ++at)
            prefix = prefix << 8 | key[at];
        // Bytes past the key's end count as 0, below every byte of a key but its end.
        return prefix << (8 * (from + PrefixBytes - at));
    }
};

const std::string &TextOf(const TWord &word, TSortKey text)
{
    switch (text) {
    case TSortKey::RefWord:
        return word.RefWord;
    case TSortKey::Context:
        return word.Context;
    case TSortKey::PartOfSpeech:
        return word.PartOfSpeech;
    case TSortKey::Lesson:
        return word.Lesson;
    default:
        return word.ForWord;
    }
}

int CodePageOf(const TWordList &list, TSortKey text)
{
    const TListFont *font = nullptr;
    if (text == TSortKey::ForWord || text == TSortKey::Context)
        font = list.ForFont.get();
    else if (text == TSortKey::RefWord)
        font = list.RefFont.get();
    return font ? CodePage::ForCharset(font->Charset) : CodePage::Default;
}

TTextKeys TextKeys(const TWordList &list, TSortKey key)
{
    const auto count = static_cast<size_t>(list.Count());
    const std::string locale = SortCollationLocale().bcp47Name().toStdString();
    const int codePage = CodePageOf(list, key);
    const unsigned threads = WorkerThreads(count);
    TTextKeys keys;
    keys.Count = count;
    keys.Arenas.resize(threads);
    keys.Data = std::make_unique_for_overwrite<const uint8_t *[]>(count);
    keys.Size = std::make_unique_for_overwrite<uint32_t[]>(count);
    // Offsets until the arena has its final place.
    const auto offsets = std::make_unique_for_overwrite<size_t[]>(count);
    InBlocks(count, threads, [&](unsigned block, size_t first, size_t last) {
        TCollationKeys collation(locale);
        std::vector<uint8_t> &arena = keys.Arenas[block];
        arena.reserve((last - first) * TypicalKeyBytes);
        std::unordered_map<std::string_view, size_t> keyed;
        QString text;
        for (size_t i = first; i < last; ++i) {
            const std::string &bytes = TextOf(list.Word(static_cast<int>(i)), key);
            if (const auto found = keyed.find(bytes); found != keyed.end()) {
                offsets[i] = offsets[found->second];
                keys.Size[i] = keys.Size[found->second];
                continue;
            }
            if (keyed.size() < RememberedTexts)
                keyed.emplace(bytes, i);
            offsets[i] = arena.size();
            text.resize(0);
            CodePage::AppendUnicode(bytes, codePage, text);
            keys.Size[i] = static_cast<uint32_t>(collation.Append(text, arena));
        }
        for (size_t i = first; i < last; ++i)
            keys.Data[i] = arena.data() + offsets[i];
    });
    return keys;
}

// Sorts a long list's items on several threads: blocks are sorted side by side, then merged in
// pairs, the merges of each round side by side as well. The order is the same as one sort's, as
// no two items compare equal. The merges go back and forth between the items and one buffer made
// here, so that the threads take no memory of their own, which the heap would keep.
template<typename T, typename TLess> void SortInParallel(std::span<T> items, TLess less)
{
    const unsigned threads = WorkerThreads(items.size());
    if (threads == 1) {
        std::sort(items.begin(), items.end(), less);
        return;
    }
    const auto bound = [&](unsigned block) {
        return static_cast<std::ptrdiff_t>(
                BlockStart(items.size(), std::min(block, threads), threads));
    };
    InBlocks(items.size(), threads, [&](unsigned, size_t first, size_t last) {
        std::sort(items.begin() + static_cast<std::ptrdiff_t>(first),
                  items.begin() + static_cast<std::ptrdiff_t>(last), less);
    });
    const auto buffer = std::make_unique_for_overwrite<T[]>(items.size());
    std::span<T> from = items;
    std::span<T> to(buffer.get(), items.size());
    for (unsigned width = 1; width < threads; width *= 2) {
        {
            std::vector<std::jthread> workers;
            for (unsigned block = 0; block < threads; block += 2 * width)
                workers.emplace_back([&, block, width] {
                    const auto first = bound(block);
                    const auto middle = bound(block + width);
                    const auto last = bound(block + 2 * width);
                    std::merge(from.begin() + first, from.begin() + middle, from.begin() + middle,
                               from.begin() + last, to.begin() + first, less);
                });
        }
        std::swap(from, to);
    }
    if (from.data() != items.data())
        std::copy(from.begin(), from.end(), items.begin());
}

// Orders items by their keys from depth on, where all of them agree on the bytes before it.
// Runs that agree on the next eight bytes as well go on with the bytes after them; items with
// equal keys end in the order of their positions. A long run, as when most texts of a column
// begin alike, is taken on by several threads again.
void SortByKeys(std::span<TSortItem> items, const TTextKeys &keys, size_t depth)
{
    if (!std::is_sorted(items.begin(), items.end(), ItemLess))
        SortInParallel(items, ItemLess);
    const size_t next = depth + PrefixBytes;
    for (size_t run = 0; run < items.size();) {
        size_t end = run + 1;
        while (end < items.size() && items[end].Prefix == items[run].Prefix)
            ++end;
        // A key that ends within the bytes compared so far is equal to every other of its run.
        if (end - run > 1 && keys.Size[items[run].Index] > next) {
            const std::span<TSortItem> tied = items.subspan(run, end - run);
            InBlocks(tied.size(), [&](unsigned, size_t first, size_t last) {
                for (TSortItem &item : tied.subspan(first, last - first))
                    item.Prefix = keys.Prefix(item.Index, next);
            });
            SortByKeys(tied, keys, next);
        }
        run = end;
    }
}

std::vector<uint32_t> TextOrder(const TWordList &list, TSortKey key)
{
    const TTextKeys keys = TextKeys(list, key);
    const auto store = std::make_unique_for_overwrite<TSortItem[]>(keys.Count);
    const std::span<TSortItem> items(store.get(), keys.Count);
    InBlocks(items.size(), [&](unsigned, size_t first, size_t last) {
        for (size_t i = first; i < last; ++i)
            items[i] = {keys.Prefix(static_cast<uint32_t>(i), 0), static_cast<uint32_t>(i)};
    });
    SortInParallel(items, ItemLess);
    SortByKeys(items, keys, 0);
    std::vector<uint32_t> order(items.size());
    std::transform(items.begin(), items.end(), order.begin(),
                   [](const TSortItem &item) { return item.Index; });
    return order;
}

// The positions in the order of their ranks, equal ranks in the order of their positions.
std::vector<uint32_t> RankOrder(const std::vector<uint8_t> &ranks, size_t rankCount)
{
    std::vector<uint32_t> starts(rankCount + 1, 0);
    for (uint8_t rank : ranks)
        ++starts[rank + 1];
    for (size_t rank = 1; rank <= rankCount; ++rank)
        starts[rank] += starts[rank - 1];
    std::vector<uint32_t> order(ranks.size());
    for (uint32_t i = 0; i < ranks.size(); ++i)
        order[starts[ranks[i]]++] = i;
    return order;
}

// Level 0 is off and goes after the three levels that are on.
uint8_t LevelRank(uint8_t level)
{
    return level == 0 ? 4 : level;
}

constexpr size_t ByteRanks = 256;

// How much a word still needs practice: the right answers its enabled directions need, how many
// of those it has, and its recent score over both directions; and its position before the sort.
struct TPracticeNeed
{
    int64_t Needed;
    int64_t Progress;
    int32_t Recent;
    uint32_t Index;
};

TPracticeNeed NeedOf(const TWord &word, uint32_t index)
{
    const int64_t needed = LevelThreshold(word.Level1) + LevelThreshold(word.Level2);
    const int64_t progress = std::min<int64_t>(needed, int64_t{word.Score1} + word.Score2);
    int recent = word.RecentScore1() + word.RecentScore2();
    if (word.Level1 == 0)
        recent = 2 * word.RecentScore2();
    else if (word.Level2 == 0)
        recent = 2 * word.RecentScore1();
    return {needed, progress, recent, index};
}

constexpr auto NeedierFirst = [](const TPracticeNeed &a, const TPracticeNeed &b) {
    if (a.Needed > 0 && b.Needed > 0) {
        if (a.Recent != b.Recent)
            return a.Recent < b.Recent;
        // Progress / Needed ascending, compared without division.
        const int64_t order = a.Progress * b.Needed - b.Progress * a.Needed;
        if (order != 0)
            return order < 0;
    } else if ((a.Needed == 0) != (b.Needed == 0)) {
        // A word with both directions off goes after every other.
        return b.Needed == 0;
    }
    return a.Index < b.Index;
};

std::vector<uint32_t> ScoreOrder(const TWordList &list)
{
    const auto count = static_cast<size_t>(list.Count());
    const auto store = std::make_unique_for_overwrite<TPracticeNeed[]>(count);
    const std::span<TPracticeNeed> needs(store.get(), count);
    InBlocks(count, [&](unsigned, size_t first, size_t last) {
        for (size_t i = first; i < last; ++i)
            needs[i] = NeedOf(list.Word(static_cast<int>(i)), static_cast<uint32_t>(i));
    });
    SortInParallel(needs, NeedierFirst);
    std::vector<uint32_t> order(needs.size());
    std::transform(needs.begin(), needs.end(), order.begin(),
                   [](const TPracticeNeed &need) { return need.Index; });
    return order;
}

std::vector<uint32_t> SortOrder(const TWordList &list, TSortKey key)
{
    const auto count = static_cast<size_t>(list.Count());
    std::vector<uint8_t> ranks(count);
    switch (key) {
    case TSortKey::Sound:
        for (size_t i = 0; i < count; ++i)
            ranks[i] = list.Word(static_cast<int>(i)).Sound ? 0 : 1;
        return RankOrder(ranks, 2);
    case TSortKey::Level1:
        for (size_t i = 0; i < count; ++i)
            ranks[i] = LevelRank(list.Word(static_cast<int>(i)).Level1);
        return RankOrder(ranks, ByteRanks);
    case TSortKey::Level2:
        for (size_t i = 0; i < count; ++i)
            ranks[i] = LevelRank(list.Word(static_cast<int>(i)).Level2);
        return RankOrder(ranks, ByteRanks);
    case TSortKey::Score:
        return ScoreOrder(list);
    default:
        return TextOrder(list, key);
    }
}

} // namespace

QLocale SortCollationLocale()
{
    const QLocale user;
    return user.language() == QLocale::C ? QLocale(QLocale::English) : user;
}

const TWordCompare CompareForWord{TSortKey::ForWord};
const TWordCompare CompareRefWord{TSortKey::RefWord};
const TWordCompare CompareContext{TSortKey::Context};
const TWordCompare ComparePartOfSpeech{TSortKey::PartOfSpeech};
const TWordCompare CompareLesson{TSortKey::Lesson};
const TWordCompare CompareSound{TSortKey::Sound};
const TWordCompare CompareLevel1{TSortKey::Level1};
const TWordCompare CompareLevel2{TSortKey::Level2};
const TWordCompare CompareScore{TSortKey::Score};

void TWordList::Sort(const TWordCompare &compare)
{
    for (size_t i = 0; i < Words.size(); ++i)
        Words[i]->SortIndex = static_cast<int32_t>(i);
    const std::vector<uint32_t> order = SortOrder(*this, compare.Key);
    std::vector<std::unique_ptr<TWord>> sorted;
    sorted.reserve(Words.size());
    for (uint32_t index : order)
        sorted.push_back(std::move(Words[index]));
    Words.swap(sorted);
    Saved = false;
}

std::vector<const TWord *> TWordList::Order() const
{
    std::vector<const TWord *> order;
    order.reserve(Words.size());
    for (const auto &word : Words)
        order.push_back(word.get());
    return order;
}

bool TWordList::RestoreOrder(const std::vector<const TWord *> &before)
{
    const size_t count = Words.size();
    if (before.size() != count)
        return false;
    // Each word names its old place; the list holds exactly the words of before when every
    // place named holds the word that names it.
    for (const auto &word : Words) {
        const auto index = static_cast<size_t>(word->SortIndex);
        if (word->SortIndex < 0 || index >= count || before[index] != word.get())
            return false;
    }
    std::vector<std::unique_ptr<TWord>> restored(count);
    for (auto &word : Words) {
        const auto index = static_cast<size_t>(word->SortIndex);
        restored[index] = std::move(word);
    }
    Words.swap(restored);
    Saved = false;
    return true;
}
