#pragma once

#include <string>

// The mark of a test in tenths, from 10 (all wrong) to 100 (all right); right + wrong is at
// least 1.
int TestMark(int right, int wrong);
// The mark as shown: whole marks alone, else the whole part, the decimal separator and the tenth.
std::string MarkText(int tenths, const std::string &separator);
bool MarkPassed(int tenths);
