#include "support/StoreFixture.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

TStoreDir::TStoreDir()
    : saved(qgetenv("TARNWICK_REGISTRY_DIR"))
{
    qputenv("TARNWICK_REGISTRY_DIR", dir.path().toLocal8Bit());
}

TStoreDir::~TStoreDir()
{
    qputenv("TARNWICK_REGISTRY_DIR", saved);
}

std::string TStoreDir::Path() const
{
    return dir.path().toStdString();
}

std::string TStoreDir::ReadFile(const std::string &name) const
{
    QFile file(dir.filePath(QString::fromStdString(name)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

void TStoreDir::WriteFile(const std::string &name, const std::string &bytes) const
{
    QFile file(dir.filePath(QString::fromStdString(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())),
              static_cast<qint64>(bytes.size()));
}

int RunTarnreg(const QStringList &arguments, std::string *output)
{
    QProcess process;
    process.start(QStringLiteral(TARNREG_PATH), arguments);
    if (!process.waitForFinished(30000))
        return -1;
    if (output)
        *output = process.readAllStandardOutput().toStdString();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}
