#pragma once

#include <cstdint>
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

// One open CHM file, read through the bound library. Object names are looked up without regard to
// case, as the help compiler's names are.
class TChmFile
{
public:
    // nullptr when the viewer is unbound or the file cannot be opened as a CHM.
    static std::unique_ptr<TChmFile> Open(const std::string &path);
    ~TChmFile();
    TChmFile(const TChmFile &) = delete;
    TChmFile &operator=(const TChmFile &) = delete;

    // The whole object ("/index.htm"); nullopt when it is absent, unreadable or implausibly big.
    std::optional<std::string> Read(std::string_view objectPath) const;
    bool Exists(std::string_view objectPath) const;
    // The names of the ordinary files inside.
    std::vector<std::string> Files() const;

private:
    explicit TChmFile(void *handle);
    void *handle;
};
