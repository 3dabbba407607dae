#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Every test process gets a store of its own, so tests that ctest runs side by side never share
// settings, and nothing a test writes reaches the developer's own configuration.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                 : qgetenv("QT_QPA_PLATFORM"));
    QTemporaryDir registryDir;
    if (!registryDir.isValid())
        return 2;
    qputenv("TARNWICK_REGISTRY_DIR", registryDir.path().toLocal8Bit());
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.isValid())
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
