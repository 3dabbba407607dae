#pragma once

#include "core/HelpFile.h"

#include <QTextBrowser>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>

class TChmFile;
class QAction;

// Opens a web or mail address outside the program; tests put in a recorder.
using TUrlOpener = std::function<void(const QUrl &url)>;

// The pages of one help file: topics, pictures and style sheets come out of the CHM, links
// between topics stay inside it, web and mail links go to the desktop.
class THelpBrowser : public QTextBrowser
{
    Q_OBJECT

public:
    explicit THelpBrowser(QWidget *parent = nullptr);
    ~THelpBrowser() override;

    // Shows the file's topic for a context, or its default topic when the context is unknown;
    // false, with the page unchanged, when that topic cannot be read.
    void ShowFile(std::unique_ptr<TChmFile> file, const std::string &path);
    bool ShowContext(uint32_t context);
    bool ShowDefaultTopic();
    const std::string &FilePath() const { return filePath; }
    const HelpFile::TSystemInfo &System() const { return system; }
    void CloseFile();
    void SetUrlOpener(TUrlOpener opener) { urlOpener = std::move(opener); }

    QVariant loadResource(int type, const QUrl &name) override;

private:
    void LinkClicked(const QUrl &link);
    bool ShowTopic(const std::string &storedPath);

    std::unique_ptr<TChmFile> file;
    std::string filePath;
    HelpFile::TSystemInfo system;
    std::map<uint32_t, std::string> contexts;
    TUrlOpener urlOpener;
};

// The help window: one for the program, modeless, with Back, Forward and Home.
class THelpViewerWindow : public QWidget
{
    Q_OBJECT

public:
    explicit THelpViewerWindow(QWidget *parent = nullptr);
    ~THelpViewerWindow() override;

    // False when the file cannot be read as a help file or the topic cannot be read from it.
    bool ShowContext(const std::string &path, uint32_t context);
    THelpBrowser *Browser() const { return browser; }

private:
    THelpBrowser *browser;
    QAction *backAction;
    QAction *forwardAction;
};
