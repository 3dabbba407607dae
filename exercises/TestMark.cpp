#include "exercises/TestMark.h"

int TestMark(int right, int wrong)
{
    return right * 90 / (right + wrong) + 10;
}

std::string MarkText(int tenths, const std::string &separator)
{
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0)
        text += separator + std::to_string(tenths % 10);
    return text;
}

bool MarkPassed(int tenths)
{
    return tenths >= 60;
}
