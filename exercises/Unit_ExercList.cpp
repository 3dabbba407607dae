#include "exercises/Unit_ExercList.h"

#include "core/Unit_WordList.h"
#include "exercises/Random.h"
#include "platform/TempFile.h"

#include <QFile>
#include <algorithm>
#include <bit>

namespace {

// The answer that leaves the newest ones when another is recorded.
constexpr uint32_t LeavingAnswer = 1U << (RecentAnswers - 1);

// Positions still present in a sequence, for finding the j-th remaining one in logarithmic time.
class TRemainingPositions
{
public:
    explicit TRemainingPositions(size_t count)
        : Tree(count + 1, 0)
    {
        for (size_t i = 1; i <= count; ++i) {
            Tree[i] += 1;
            const size_t parent = i + (i & (~i + 1));
            if (parent <= count)
                Tree[parent] += Tree[i];
        }
    }

    // Takes the j-th (from 0) remaining position out and gives it.
    size_t Take(size_t j)
    {
        size_t position = 0;
        size_t left = j + 1;
        for (size_t step = std::bit_floor(Tree.size() - 1); step > 0; step /= 2) {
            if (position + step < Tree.size() && Tree[position + step] < left) {
                position += step;
                left -= Tree[position];
            }
        }
        for (size_t i = position + 1; i < Tree.size(); i += i & (~i + 1))
            Tree[i] -= 1;
        return position;
    }

private:
    std::vector<size_t> Tree;
};

bool CopyBytes(QFile &from, QFile &to, qint64 size)
{
    std::vector<char> block(static_cast<size_t>(std::min<qint64>(size, 64 * 1024)));
    for (qint64 left = size; left > 0;) {
        const qint64 want = std::min<qint64>(left, static_cast<qint64>(block.size()));
        if (from.read(block.data(), want) != want || to.write(block.data(), want) != want)
            return false;
        left -= want;
    }
    return to.flush();
}

} // namespace

TExercList::TExercList(TWordList *wordList, bool exercise)
    : WordList(wordList)
    , Exercise(exercise)
{ }

TExercList::TExercList(TWordList &wordList, bool exercise, uint8_t &status)
    : TExercList(&wordList, exercise)
{
    StoreFreshRecordings();
    status = 1;
    for (int i = 0; i < wordList.Count(); ++i) {
        const TWord &word = wordList.Word(i);
        if (!exercise) {
            if (AnyDirectionEnabled(word)) {
                AddWord(i);
                status = 0;
            }
            continue;
        }
        bool enabled = false;
        bool needsPractice = false;
        for (const TDirection direction : BothDirections) {
            const TDirectionRecord record(word, direction);
            const int threshold = record.Threshold();
            if (threshold < 1)
                continue;
            enabled = true;
            NumRight += record.RightAmongCounted();
            NumAnswered += record.Count();
            Progress += std::min(threshold, record.Score());
            ProgressTotal += threshold;
            needsPractice = needsPractice || record.NeedsPractice();
        }
        if (needsPractice) {
            AddWord(i);
            status = 0;
        } else if (enabled && status == 1) {
            status = 2;
        }
    }
}

// The run reuses the recording file for the sound of each question, so a fresh recording must
// reach the sound store first. One that cannot stay where it is and sounds are not extracted.
void TExercList::StoreFreshRecordings()
{
    for (int i = 0; i < WordList->Count(); ++i) {
        const TSoundRec *sound = WordList->GetSound(i);
        if (!sound || sound->Offset != -1)
            continue;
        try {
            WordList->StoreRecordedSound(i);
        } catch (const EInOutError &) {
            RecordingKept = true;
        }
    }
}

void TExercList::AddWord(int wordIndex)
{
    Items.push_back(TExercItem{wordIndex});
}

void TExercList::Delete(int index)
{
    Items.erase(Items.begin() + index);
}

std::unique_ptr<TExercList> TExercList::Shuffle()
{
    std::unique_ptr<TExercList> shuffled(new TExercList(WordList, Exercise));
    shuffled->NumRight = NumRight;
    shuffled->NumAnswered = NumAnswered;
    shuffled->Progress = Progress;
    shuffled->ProgressTotal = ProgressTotal;
    shuffled->RecordingKept = RecordingKept;
    shuffled->Items.reserve(Items.size());
    TRemainingPositions remaining(Items.size());
    for (size_t left = Items.size(); left > 0; --left) {
        const int j = RandomBelow(static_cast<int>(left));
        shuffled->Items.push_back(Items[remaining.Take(static_cast<size_t>(j))]);
    }
    Items.clear();
    return shuffled;
}

bool TExercList::Passes(int index, const CaseInsensitiveStringList &partsOfSpeech,
                        const CaseInsensitiveStringList &lessons, bool onlyWithSound) const
{
    return partsOfSpeech.Contains(GetPartOfSpeech(index)) && lessons.Contains(GetLesson(index))
            && (!onlyWithSound || HasSound(index));
}

int TExercList::CountFiltered(const CaseInsensitiveStringList &partsOfSpeech,
                              const CaseInsensitiveStringList &lessons, bool onlyWithSound) const
{
    int passed = 0;
    for (int i = 0; i < Count(); ++i) {
        if (Passes(i, partsOfSpeech, lessons, onlyWithSound))
            ++passed;
    }
    return passed;
}

void TExercList::ApplyFilter(const CaseInsensitiveStringList &partsOfSpeech,
                             const CaseInsensitiveStringList &lessons, bool onlyWithSound)
{
    std::vector<TExercItem> kept;
    for (int i = 0; i < Count(); ++i) {
        if (Passes(i, partsOfSpeech, lessons, onlyWithSound))
            kept.push_back(Items[static_cast<size_t>(i)]);
    }
    Items = std::move(kept);
}

TChoices TExercList::GetChoices(int index) const
{
    const int w = WordOf(index);
    const std::string &partOfSpeech = WordList->GetPartOfSpeech(w);
    const std::string &lesson = WordList->GetLesson(w);
    std::array<std::vector<int>, 4> buckets;
    for (int i = 0; i < WordList->Count(); ++i) {
        const TWord &word = WordList->Word(i);
        if (i == w || !HasAnyLevel(word))
            continue;
        const bool samePart = word.PartOfSpeech == partOfSpeech;
        const bool sameLesson = word.Lesson == lesson;
        buckets[static_cast<size_t>((samePart ? 0 : 2) + (sameLesson ? 0 : 1))].push_back(i);
    }

    TChoices result;
    int drawn = 0;
    for (auto &bucket : buckets) {
        while (!bucket.empty() && drawn < 3) {
            const int k = bucket.size() == 1 ? 0 : RandomBelow(static_cast<int>(bucket.size()));
            result.Choices[static_cast<size_t>(drawn++)] = bucket[static_cast<size_t>(k)];
            bucket.erase(bucket.begin() + k);
        }
    }

    result.CorrectPos = std::min(RandomBelow(4), drawn);
    for (int slot = drawn; slot > result.CorrectPos; --slot)
        result.Choices[static_cast<size_t>(slot)] = result.Choices[static_cast<size_t>(slot - 1)];
    result.Choices[static_cast<size_t>(result.CorrectPos)] = w;
    for (int slot = drawn + 1; slot < 4; ++slot)
        result.Choices[static_cast<size_t>(slot)] = -1;
    return result;
}

bool TExercList::ExtractSound(int index, std::string &fileName) const
{
    const TSoundRec *sound = WordList->GetSound(WordOf(index));
    if (!sound || sound->Offset < 0 || sound->Size <= 0 || RecordingKept)
        return false;
    QFile store(QString::fromStdString(WordList->SoundTempFile));
    if (!store.open(QIODevice::ReadOnly) || qint64{sound->Offset} + sound->Size > store.size()
        || !store.seek(sound->Offset))
        return false;
    QFile recording(QString::fromStdString(WordList->RecordTempFile));
    if (!recording.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || !CopyBytes(store, recording, sound->Size))
        return false;
    fileName = WordList->RecordTempFile;
    return true;
}

TDirectionRecord TExercList::Record(int index, TDirection direction) const
{
    return TDirectionRecord(WordList->Word(WordOf(index)), direction);
}

TDirection TExercList::ChooseDirection(int index) const
{
    auto qualifies = [this, index](TDirection direction) {
        const TDirectionRecord record = Record(index, direction);
        return Exercise ? record.NeedsPractice() : record.Enabled();
    };
    const bool foreign = qualifies(TDirection::Foreign);
    const bool reference = qualifies(TDirection::Reference);
    if (foreign && reference)
        return RandomBelow(2) == 1 ? TDirection::Foreign : TDirection::Reference;
    return foreign ? TDirection::Foreign : TDirection::Reference;
}

void TExercList::BookAnswer(int index, TDirection direction, bool right)
{
    const TDirectionRecord record = Record(index, direction);
    if (right)
        ++NumRight;
    // Once the record holds all its recent answers, this one pushes the oldest out of the totals.
    if (record.Count() < RecentAnswers)
        ++NumAnswered;
    else if ((record.History() & LeavingAnswer) != 0)
        --NumRight;
    if (right && record.Score() < record.Threshold())
        ++Progress;
    if (direction == TDirection::Foreign)
        WordList->RecordAnswer1(WordOf(index), right);
    else
        WordList->RecordAnswer2(WordOf(index), right);
}

bool TExercList::Learned(int index) const
{
    return std::ranges::none_of(BothDirections, [this, index](TDirection direction) {
        return Record(index, direction).NeedsPractice();
    });
}

int TExercList::EndTurn(int index, bool right)
{
    if (!right || !Learned(index))
        return index + 1;
    Delete(index);
    return index;
}

CaseInsensitiveStringList TExercList::PartsOfSpeechList() const
{
    CaseInsensitiveStringList list;
    for (int i = 0; i < Count(); ++i)
        list.Add(GetPartOfSpeech(i));
    return list;
}

CaseInsensitiveStringList TExercList::LessonsList() const
{
    CaseInsensitiveStringList list;
    for (int i = 0; i < Count(); ++i)
        list.Add(GetLesson(i));
    return list;
}

bool TExercList::AnyWithSound() const
{
    for (int i = 0; i < Count(); ++i) {
        if (HasSound(i))
            return true;
    }
    return false;
}

const std::string &TExercList::GetForWord(int index) const
{
    return WordList->GetForWord(WordOf(index));
}

const std::string &TExercList::GetRefWord(int index) const
{
    return WordList->GetRefWord(WordOf(index));
}

const std::string &TExercList::GetContext(int index) const
{
    return WordList->GetContext(WordOf(index));
}

const std::string &TExercList::GetPartOfSpeech(int index) const
{
    return WordList->GetPartOfSpeech(WordOf(index));
}

const std::string &TExercList::GetLesson(int index) const
{
    return WordList->GetLesson(WordOf(index));
}

bool TExercList::HasSound(int index) const
{
    return WordList->GetSound(WordOf(index)) != nullptr;
}

const std::string &TExercList::GetForLanguage() const
{
    return WordList->ForLanguage;
}

const std::string &TExercList::GetRefLanguage() const
{
    return WordList->RefLanguage;
}

const TListFont *TExercList::GetForFont() const
{
    return WordList->ForFont.get();
}

const TListFont *TExercList::GetRefFont() const
{
    return WordList->RefFont.get();
}
