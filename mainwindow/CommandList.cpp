#include "mainwindow/CommandList.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QThread>

TCommandList::TCommandList(QObject *parent)
    : QObject(parent)
{
    if (auto *dispatcher = QAbstractEventDispatcher::instance(
                QCoreApplication::instance() ? QCoreApplication::instance()->thread()
                                             : QThread::currentThread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TCommandList::Update);
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

TCommandList::~TCommandList()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void TCommandList::Add(QAction *action, std::function<void(QAction &)> update)
{
    Commands.push_back({action, std::move(update)});
}

void TCommandList::Update()
{
    // A handler that shows something could run the event loop and come back here.
    if (Updating)
        return;
    Updating = true;
    if (Prepare)
        Prepare();
    for (TCommandEntry &command : Commands)
        if (command.Action)
            command.Update(*command.Action);
    Updating = false;
}

bool TCommandList::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride)
        Update();
    return QObject::eventFilter(watched, event);
}
