#include "widgets/Application.h"
#include "core/Unit_Warnings.h"
#include "platform/TempFile.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class TRecordingBox : public IMessageBox
{
public:
    int Show(const TMessageRequest &request) override
    {
        Shown.push_back(request);
        return 0;
    }
    std::vector<TMessageRequest> Shown;
};

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
    TRecordingBox box;
    IMessageBox *previous = SetMessageBox(&box);
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
    SetMessageBox(previous);
    ASSERT_EQ(2u, box.Shown.size());
    EXPECT_EQ("Tarnwick", box.Shown[0].Title);
    EXPECT_EQ("/data/list.wdl: No space left on device.", box.Shown[0].Text);
    EXPECT_EQ(TMessageIcon::Stop, box.Shown[1].Icon);
}
