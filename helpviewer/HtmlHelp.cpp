#include "helpviewer/HtmlHelp.h"

#include "platform/CodePage.h"
#include "platform/HelpViewerLibrary.h"

#include <QApplication>
#include <QPointer>
#include <QWhatsThis>
#include <QWindow>

namespace {

QPointer<THelpViewerWindow> Viewer;

void ShowWhatsThis(QPoint position, const QString &text)
{
    QWhatsThis::showText(position, text);
}

TPopupPresenter PopupPresenter = ShowWhatsThis;

bool EndsWith(const std::string &text, std::string_view end)
{
    if (text.size() < end.size())
        return false;
    return std::equal(end.rbegin(), end.rend(), text.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a))
                == std::tolower(static_cast<unsigned char>(b));
    });
}

// The help window has no owner, so that it stays when the dialog it was called from closes. Under
// a running modal dialog the toolkit blocks every window that does not belong to that dialog, so
// for as long as the dialog is open the help window stands on it as a transient window only.
THelpViewerWindow *ViewerWindow()
{
    if (!Viewer)
        Viewer = new THelpViewerWindow(nullptr);
    // The native window is what a transient owner is set on.
    Viewer->winId();
    QWidget *modal = QApplication::activeModalWidget();
    QWindow *owner = modal ? modal->windowHandle() : nullptr;
    if (Viewer->windowHandle()->transientParent() != owner) {
        // The toolkit settles blocking when a window is shown; a visible window is shown anew.
        const bool visible = Viewer->isVisible();
        const QRect geometry = Viewer->geometry();
        if (visible)
            Viewer->hide();
        Viewer->windowHandle()->setTransientParent(owner);
        Viewer->setGeometry(geometry);
    }
    return Viewer;
}

QWidget *ShowContext(const std::string &chmPath, uint32_t context)
{
    THelpViewerWindow *window = ViewerWindow();
    if (!window->ShowContext(chmPath, context))
        return nullptr;
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void ShowPopup(const std::string &chmPath, const std::string &inner, const THtmlHelpData &data)
{
    const std::unique_ptr<TChmFile> file = TChmFile::Open(chmPath);
    if (!file || inner.empty())
        return;
    const std::optional<std::string> text = file->Read(inner);
    if (!text)
        return;
    std::map<std::string, uint32_t> defines;
    for (const std::string &name : file->Files())
        if (EndsWith(name, ".h"))
            defines.merge(HelpFile::ParseDefines(file->Read(name).value_or("")));
    const auto popups = HelpFile::ParsePopups(*text, defines);
    const auto found = popups.find(data.Context);
    if (found == popups.end())
        return;
    const std::string system = file->Read("/#SYSTEM").value_or("");
    const int codePage = HelpFile::PageCodePage({}, HelpFile::ParseSystem(system).Lcid);
    PopupPresenter(data.Position, CodePage::ToUnicode(found->second, codePage));
}

} // namespace

QWidget *HtmlHelpEntry(QWidget *, const std::string &file, THtmlHelpCommand command,
                       const THtmlHelpData &data)
{
    const size_t split = file.find("::");
    const std::string chmPath = file.substr(0, split);
    const std::string inner = split == std::string::npos ? std::string() : file.substr(split + 2);
    if (chmPath.empty() || !HelpViewerBound())
        return nullptr;
    switch (command) {
    case HH_HELP_CONTEXT:
        return ShowContext(chmPath, data.Context);
    case HH_DISPLAY_TEXT_POPUP:
        ShowPopup(chmPath, inner, data);
        return nullptr;
    }
    return nullptr;
}

THelpViewerWindow *HelpViewerWindow()
{
    return Viewer;
}

void CloseHelpViewer()
{
    delete Viewer;
}

void SetPopupPresenter(TPopupPresenter presenter)
{
    PopupPresenter = presenter ? std::move(presenter) : TPopupPresenter(ShowWhatsThis);
}
