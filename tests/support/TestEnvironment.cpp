#include "support/TestEnvironment.h"

#include "core/Unit_Warnings.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

// A test that reaches a real message dialog would wait for a user forever; it fails instead.
class TUnexpectedMessageBox : public IMessageBox
{
public:
    int Show(const TMessageRequest &request) override
    {
        ADD_FAILURE() << "unexpected message dialog: " << request.Text.toStdString();
        return request.EscapeButton;
    }
};

} // namespace

TTestEnvironment::TTestEnvironment()
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                 : qgetenv("QT_QPA_PLATFORM"));
    if (!IsValid())
        return;
    qputenv("TARNWICK_REGISTRY_DIR", registryDir.path().toLocal8Bit());
    // The system-wide folders (the store's, the desktop's) lie below a folder of the test's own.
    qputenv("TARNWICK_SYSTEM_ROOT", systemRoot.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (xdgDir.path() + QStringLiteral("/data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (xdgDir.path() + QStringLiteral("/config")).toLocal8Bit());
    // Tests never reach the machine's speakers or microphone.
    if (qEnvironmentVariableIsEmpty("TARNWICK_ALSA_DEVICE"))
        qputenv("TARNWICK_ALSA_DEVICE", "null");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.isValid())
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
}

int RunAllTests(int &argc, char **argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("Tarnwick"));
    TUnexpectedMessageBox unexpected;
    SetMessageBox(&unexpected);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    SetMessageBox(nullptr);
    return result;
}
