#include "widgets/Application.h"
#include "core/Unit_Warnings.h"
#include "platform/TempFile.h"
#include "support/ScriptedMessageBox.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <gtest/gtest.h>

// Runs with the tests of the windows, the only ones that run under the trainer's application
// object.
namespace {

class TFailingObject : public QObject
{
public:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::User)
            throw EInOutError("/data/list.wdl: No space left on device");
        return QObject::event(event);
    }
};

} // namespace

TEST(Application, AFailureInAnEventHandlerIsShownAndTheLoopGoesOn)
{
    ASSERT_NE(nullptr, qobject_cast<TApplication *>(QCoreApplication::instance()));
    TScriptedBox box;
    TFailingObject failing;
    QEvent sent(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&failing, &sent));
    QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
    bool ranOn = false;
    QTimer::singleShot(0, [&] {
        ranOn = true;
        QCoreApplication::exit(0);
    });
    EXPECT_EQ(0, QCoreApplication::exec());
    EXPECT_TRUE(ranOn);
    ASSERT_EQ(2u, box.Requests.size());
    EXPECT_EQ("Tarnwick", box.Requests[0].Title);
    EXPECT_EQ("/data/list.wdl: No space left on device.", box.Requests[0].Text);
    EXPECT_EQ(TMessageIcon::Stop, box.Requests[1].Icon);
}
