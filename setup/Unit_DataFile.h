#pragma once

#include <QFile>
#include <cstdint>
#include <string>
#include <vector>

class TLogFile;

// What the extraction asks the user, so that it runs without one in tests. Texts are DEFAULT
// code-page bytes.
class TExtractQuestions
{
public:
    virtual ~TExtractQuestions() = default;
    // The question whether to leave setup: true for Exit, false for Resume.
    virtual bool AskExit() = 0;
    // The missing-volume question: true when Cancel was chosen.
    virtual bool AskForDisk(const std::string &text) = 0;
    // The overwrite question: TOverwriteForm's results (1 yes, 2 no, 3 yes to all).
    virtual int AskOverwrite(const std::string &text) = 0;
    // A failure in a fixed English text; the extraction stops after it.
    virtual void ShowError(const std::string &text) = 0;
};

// The file being written, which an entry's content may carry over from one volume to the next.
struct TExtractOutput
{
    QFile File;
    std::string CurrentName; // local path of the file being written
    int64_t BytesLeft = 0; // content bytes still to write for it; 0 between entries
    int64_t TotalLeft = 0; // content bytes of the whole payload not yet begun or written
    std::string Head; // its first bytes, to tell programs from data
};

// The name of data volume n: "Setup.d01" .. "Setup.d09", "Setup.d10" ...
std::string VolumeName(int number);
// The local path of a volume: in each folder in turn, the exact name, then a name that differs
// only in case. Empty when it is in none of them.
std::string FindVolume(const std::string &name, const std::vector<std::string> &folders);
// The working folder, then the folder of the running program.
std::vector<std::string> DefaultVolumeFolders();

// One open data volume. Volume 1 begins with the payload's total size; then entries back to
// back: a 0-terminated name (relative, "\" separated), a 32-bit size and that many content bytes,
// which may run on into the next volume. A volume's last byte is the next volume's number.
// Integers are little-endian.
class TDataFile
{
public:
    // displayName names the volume in messages.
    TDataFile(const std::string &path, const std::string &displayName, std::string destFolder,
              TLogFile *log, TExtractOutput &output, TExtractQuestions &questions);

    // False (and Failure set) when the volume cannot be opened or is empty.
    bool Open();

    bool ReadName(std::string &name);
    bool ReadInt32(int32_t &value);
    bool ReadByte(uint8_t &value);

    // Writes up to MaxBytes content bytes, beginning entries as needed, and stops at the end of the
    // volume's content. False when the user left at the overwrite question or on a failure
    // (Failure() says which).
    bool Extract(int64_t MaxBytes, bool &YesToAll, int64_t &Done);

    // An English text for a damaged or unreadable volume, or for an output that failed with the
    // file and the system's reason; "" while all went well.
    const std::string &Failure() const { return failure; }
    const std::string &CurrentName() const { return output.CurrentName; }

    TLogFile *Log;
    std::string DestFolder;

private:
    bool Fill();
    bool BeginEntry(bool &YesToAll, bool &exitChosen);
    bool CopyContent(int64_t n);
    void FinishEntry();
    bool Corrupt();
    bool Fail(const std::string &text);
    int64_t ContentEnd() const { return size - 1; }
    int64_t Position() const { return position; }

    QFile file;
    std::string displayName;
    TExtractOutput &output;
    TExtractQuestions &questions;
    std::string failure;
    int64_t size = 0;
    int64_t position = 0;
    std::vector<char> buffer;
    size_t bufferPos = 0;
};
