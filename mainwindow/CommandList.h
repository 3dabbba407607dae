#pragma once

#include <QObject>
#include <functional>
#include <vector>

class QAction;

// The main window's commands with their update handlers. The handlers run whenever the program
// goes idle and before a shortcut is looked up, so enabled states, captions and shortcuts follow
// the grid without explicit calls.
class TCommandList : public QObject
{
    Q_OBJECT

public:
    explicit TCommandList(QObject *parent = nullptr);
    ~TCommandList() override;

    void Add(QAction *action, std::function<void(QAction &)> update);
    // Runs before the handlers of each pass, to gather once what they all ask.
    void SetPrepare(std::function<void()> prepare) { Prepare = std::move(prepare); }
    // Runs every update handler now.
    void Update();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct TCommandEntry
    {
        QAction *Action;
        std::function<void(QAction &)> Update;
    };
    std::vector<TCommandEntry> Commands;
    std::function<void()> Prepare;
    bool Updating = false;
};
