#pragma once

#include <stdexcept>
#include <string>

// A failure of the file layer, carrying the system's text. It is caught where an operation
// started and reported there; it never crosses the event loop.
class EInOutError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Creates a new, empty file named prefix + six unique characters + ".tmp" in the temporary
// folder and returns its path. Throws EInOutError when the file cannot be created.
std::string CreateTempFile(const char *prefix);

// The system's text for errno, for EInOutError messages.
std::string SystemErrorText(int error);
