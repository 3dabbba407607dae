#pragma once

#include <string>
#include <vector>

class QWidget;

// "Window.Control: text" for every visible label and box title of the window that does not show
// its whole text: a one-line label narrower than its text, a word-wrapped one too low for its
// lines or narrower than its longest word, a box title wider than its box.
std::vector<std::string> CutTexts(const QWidget &window);
