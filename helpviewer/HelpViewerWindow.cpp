#include "helpviewer/HelpViewerWindow.h"

#include "platform/CodePage.h"
#include "platform/HelpViewerLibrary.h"

#include <QDesktopServices>
#include <QStyle>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

constexpr const char *HelpScheme = "chm";
constexpr int DefaultWidth = 720;
constexpr int DefaultHeight = 560;

QString Decode(const std::string &bytes, int codePage)
{
    if (codePage == HelpFile::Utf8CodePage)
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return CodePage::ToUnicode(bytes, codePage);
}

QUrl TopicUrl(const std::string &objectPath)
{
    QUrl url;
    url.setScheme(QLatin1String(HelpScheme));
    url.setPath(QString::fromUtf8(objectPath.c_str()));
    return url;
}

// "ms-its:file.chm::/topic.htm" and "mk:@MSITStore:file.chm::/topic.htm" name a topic inside a
// help file; only the part after "::" matters, as there is one file on show.
std::string InnerPath(const QString &link)
{
    const qsizetype split = link.indexOf(QLatin1String("::"));
    return split < 0 ? std::string() : link.mid(split + 2).toStdString();
}

void OpenOutside(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}

} // namespace

THelpBrowser::THelpBrowser(QWidget *parent)
    : QTextBrowser(parent)
    , urlOpener(OpenOutside)
{
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &THelpBrowser::LinkClicked);
}

THelpBrowser::~THelpBrowser() = default;

void THelpBrowser::ShowFile(std::unique_ptr<TChmFile> newFile, const std::string &path)
{
    file = std::move(newFile);
    filePath = path;
    system = HelpFile::ParseSystem(file->Read("/#SYSTEM").value_or(""));
    contexts = HelpFile::ParseContextMap(file->Read("/#IVB").value_or(""),
                                         file->Read("/#STRINGS").value_or(""));
    clearHistory();
}

void THelpBrowser::CloseFile()
{
    clear();
    clearHistory();
    file.reset();
    filePath.clear();
    contexts.clear();
}

bool THelpBrowser::ShowContext(uint32_t context)
{
    const auto found = contexts.find(context);
    if (found == contexts.end())
        return ShowDefaultTopic();
    return ShowTopic(found->second);
}

bool THelpBrowser::ShowDefaultTopic()
{
    return ShowTopic(system.DefaultTopic);
}

bool THelpBrowser::ShowTopic(const std::string &storedPath)
{
    if (!file)
        return false;
    const std::string path = HelpFile::ResolveTopic(
            storedPath, [this](const std::string &name) { return file->Exists(name); });
    // A topic that the file names but cannot give is not shown as an empty page; a page is text,
    // so one that is empty or holds a NUL byte came out of damaged data.
    const std::optional<std::string> page = path.empty() ? std::nullopt : file->Read(path);
    if (!page || page->empty() || page->find('\0') != std::string::npos)
        return false;
    // Damaged compressed data decompresses to bytes that may show nothing at all.
    QTextDocument shown;
    shown.setHtml(Decode(*page, HelpFile::PageCodePage(*page, system.Lcid)));
    if (shown.toPlainText().trimmed().isEmpty())
        return false;
    setSource(TopicUrl(path), QTextDocument::HtmlResource);
    return true;
}

void THelpBrowser::LinkClicked(const QUrl &link)
{
    const QString scheme = link.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https")
        || scheme == QLatin1String("mailto")) {
        urlOpener(link);
        return;
    }
    if (scheme == QLatin1String("ms-its") || scheme == QLatin1String("mk")) {
        const std::string inner = InnerPath(link.toString());
        if (!inner.empty())
            ShowTopic(inner);
        return;
    }
    if (!scheme.isEmpty() && scheme != QLatin1String(HelpScheme))
        return;
    const QUrl target = source().resolved(link);
    if (target.path() == source().path() && target.hasFragment())
        scrollToAnchor(target.fragment());
    else if (file && file->Read(target.path().toStdString()))
        setSource(target, QTextDocument::HtmlResource);
}

QVariant THelpBrowser::loadResource(int type, const QUrl &name)
{
    if (!file || name.scheme() != QLatin1String(HelpScheme))
        return {};
    const std::optional<std::string> bytes = file->Read(name.path().toStdString());
    if (!bytes)
        return {};
    if (type == QTextDocument::ImageResource)
        return QByteArray::fromStdString(*bytes);
    return Decode(*bytes, HelpFile::PageCodePage(*bytes, system.Lcid));
}

THelpViewerWindow::THelpViewerWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , browser(new THelpBrowser(this))
{
    auto *toolBar = new QToolBar(this);
    backAction = toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QString(), browser,
                                    &QTextBrowser::backward);
    forwardAction = toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QString(),
                                       browser, &QTextBrowser::forward);
    toolBar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QString(), browser,
                       &THelpBrowser::ShowDefaultTopic);
    backAction->setEnabled(false);
    forwardAction->setEnabled(false);
    connect(browser, &QTextBrowser::backwardAvailable, backAction, &QAction::setEnabled);
    connect(browser, &QTextBrowser::forwardAvailable, forwardAction, &QAction::setEnabled);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(browser);
    resize(DefaultWidth, DefaultHeight);
}

THelpViewerWindow::~THelpViewerWindow() = default;

bool THelpViewerWindow::ShowContext(const std::string &path, uint32_t context)
{
    if (browser->FilePath() != path) {
        std::unique_ptr<TChmFile> file = TChmFile::Open(path);
        if (!file)
            return false;
        browser->ShowFile(std::move(file), path);
        setWindowTitle(Decode(browser->System().Title,
                              HelpFile::PageCodePage({}, browser->System().Lcid)));
    }
    return browser->ShowContext(context);
}
