#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The help viewer's reading side: the CHM reader library (chmlib), found and loaded at run time
// so that help degrades to "unbound" on a machine without it.
//
// The classes root's viewer registration, when the store holds one, names the library (a missing
// file then leaves help unbound); without it the usual library folders are searched.
std::string HelpViewerPath();
// Loads the library once and takes its entries; nothing when already bound or when any entry is
// missing (the library is then unloaded again).
void BindHelpViewer();
// Unloads the library; every open help file must be closed before.
void ReleaseHelpViewer();
bool HelpViewerBound();

// The store key that may name the reader library (default value), for setup and tests.
inline constexpr std::string_view HelpViewerKey
        = "CLSID\\{adb880a6-d8ff-11cf-9377-00aa003b7a11}\\InprocServer32";

// One help object as the reader library gave it: readable, or present but not decodable.
struct THelpObject
{
    std::string Name;
    bool Readable = false;
    std::string Bytes;
};

// Why a help file cannot be shown.
enum class THelpFailure {
    None,
    Unbound,
    // Missing, unreadable, or not a regular file.
    NotOpened,
    // Not a CHM, or one whose decompression data the reader library would misuse.
    Damaged,
    // The reader library faulted or took too long on it.
    ReaderFailed,
};

// Reads every object of the CHM at path through the bound library, in the calling process, and
// hands each to take (which may stop the walk by returning false); THelpFailure::Damaged when
// the file is refused (ChmIsSafeToOpen) or the library cannot open it. The trainer runs it only in
// a child process (TChmFile::Open); the fuzz target runs it directly.
THelpFailure UnpackChm(const std::string &path,
                       const std::function<bool(const THelpObject &)> &take);

// One help file, read whole in a child process so that a fault or an endless loop of the reader
// library on a damaged file cannot take the program down. Object names are looked up without
// regard to case, as the help compiler's names are.
class TChmFile
{
public:
    // nullptr, with the reason in failure when given, when the viewer is unbound or the file
    // cannot be read as a CHM.
    static std::unique_ptr<TChmFile> Open(const std::string &path, THelpFailure *failure = nullptr);
    ~TChmFile();
    TChmFile(const TChmFile &) = delete;
    TChmFile &operator=(const TChmFile &) = delete;

    // The whole object ("/index.htm"); nullopt when it is absent, unreadable or implausibly big.
    std::optional<std::string> Read(std::string_view objectPath) const;
    bool Exists(std::string_view objectPath) const;
    // The names of the ordinary files inside.
    std::vector<std::string> Files() const;

private:
    TChmFile() = default;
    // By the lower-cased name.
    std::map<std::string, THelpObject> objects;
};
