#pragma once

#include <QString>
#include <string>

class QWidget;

namespace Setup {

// What the wizard asks the user, so that it runs without one in tests.
class ISetupDialogs
{
public:
    virtual ~ISetupDialogs() = default;
    // A notice with an OK button.
    virtual void ShowMessage(const QString &text) = 0;
    virtual void ShowError(const QString &text) = 0;
    // The exit question: 1 Resume, 2 Exit.
    virtual int AskExit() = 0;
    // The overwrite question (DEFAULT code-page bytes): 1 yes, 2 no, 3 yes to all.
    virtual int AskOverwrite(const std::string &text) = 0;
    // The folder browser; "" when no folder was picked.
    virtual QString BrowseForFolder(QWidget *owner, const QString &title) = 0;
};

// The desktop's message boxes and folder browser, and setup's exit and overwrite windows.
class TDesktopDialogs : public ISetupDialogs
{
public:
    void ShowMessage(const QString &text) override;
    void ShowError(const QString &text) override;
    int AskExit() override;
    int AskOverwrite(const std::string &text) override;
    QString BrowseForFolder(QWidget *owner, const QString &title) override;
};

} // namespace Setup
