#include "core/Unit_Warnings.h"
#include "widgets/Application.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A test that reaches a real message dialog would wait for a user forever; it fails instead.
class TUnexpectedMessageBox : public IMessageBox
{
public:
    int Show(const TMessageRequest &request) override
    {
        ADD_FAILURE() << "unexpected message dialog: " << request.Text;
        return request.EscapeButton;
    }
};

} // namespace

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
    // Nothing a test registers reaches the developer's desktop.
    QTemporaryDir xdgDir;
    if (!xdgDir.isValid())
        return 2;
    qputenv("XDG_DATA_HOME", (xdgDir.path() + QStringLiteral("/data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (xdgDir.path() + QStringLiteral("/config")).toLocal8Bit());
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.isValid())
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));
    TUnexpectedMessageBox unexpected;
    SetMessageBox(&unexpected);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    SetMessageBox(nullptr);
    return result;
}
