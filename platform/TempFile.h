#pragma once

#include <stdexcept>
#include <string>

class QIODevice;

// A failure of the file layer, carrying the system's text. It is caught where an operation
// started and reported there; it never crosses the event loop.
class EInOutError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Creates a new, empty file named prefix + the process id + "-" + six unique characters + ".tmp"
// in the temporary folder and returns its path. Throws EInOutError when the file cannot be
// created.
std::string CreateTempFile(const char *prefix);

// Removes the temporary files of the program's kinds ("ZRS", "ZRW", "ZRM") that belong to this
// user and to a process that no longer runs, as a killed trainer leaves them; a file of a running
// process or of unknown owner stays. Gives the number removed.
int RemoveStaleTempFiles(const std::string &folder);
int RemoveStaleTempFiles();

// The system's text for errno, for EInOutError messages.
std::string SystemErrorText(int error);

// How every failure of the file layer reads: "<file>: <the system's reason>", the file named by
// the bytes the file system knows it by. The device's form takes the reason of its last failure,
// and names the file when the device is one.
std::string FileErrorText(const std::string &fileName, int error);
std::string FileErrorText(const QIODevice &device);
