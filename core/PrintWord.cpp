#include "core/PrintWord.h"

std::string &TPrintWord::Text(int kind)
{
    return const_cast<std::string &>(std::as_const(*this).Text(kind));
}

const std::string &TPrintWord::Text(int kind) const
{
    switch (kind) {
    case pkForWord:
        return ForWord;
    case pkRefWord:
        return RefWord;
    case pkContext:
        return Context;
    case pkPartOfSpeech:
        return PartOfSpeech;
    default:
        return Lesson;
    }
}

const std::string &PrintedText(const TWord &word, int kind)
{
    switch (kind) {
    case pkForWord:
        return word.ForWord;
    case pkRefWord:
        return word.RefWord;
    case pkContext:
        return word.Context;
    case pkPartOfSpeech:
        return word.PartOfSpeech;
    default:
        return word.Lesson;
    }
}
