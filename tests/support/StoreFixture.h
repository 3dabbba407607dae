#pragma once

#include <QStringList>
#include <QTemporaryDir>
#include <string>

// A settings store of its own for one test: TARNWICK_REGISTRY_DIR points to a fresh folder while
// the object lives.
class TStoreDir
{
public:
    TStoreDir();
    ~TStoreDir();
    TStoreDir(const TStoreDir &) = delete;
    TStoreDir &operator=(const TStoreDir &) = delete;

    std::string Path() const;
    // The bytes of a file in the folder ("" when it does not exist).
    std::string ReadFile(const std::string &name) const;
    void WriteFile(const std::string &name, const std::string &bytes) const;

private:
    QTemporaryDir dir;
    QByteArray saved;
};

// Runs the tarnreg tool on the current store; its exit status, and what it printed in *output.
int RunTarnreg(const QStringList &arguments, std::string *output = nullptr);
