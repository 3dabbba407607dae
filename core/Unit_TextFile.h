#pragma once

// How TWLFile::ReadTextField found a text field to end.
enum TTextFieldEnd {
    TextFileEnded = 0,
    TextTab = 1,
    TextLineEnd = 2,
    TextTooLong = 3
};
