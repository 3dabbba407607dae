#include "core/HelpFile.h"
#include "helpviewer/HtmlHelp.h"
#include "kbtool/Unit_KBLayoutForm.h"
#include "mainwindow/ApplyLanguage.h"
#include "mainwindow/Main.h"
#include "platform/HelpViewerLibrary.h"
#include "support/ScriptedMessageBox.h"
#include "support/gui/ProgramFixture.h"
#include "ui_KBLayoutForm.h"
#include "ui_MainForm.h"
#include "widgets/HelpDispatcher.h"

#include <QAction>
#include <QDialog>
#include <QDirIterator>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWhatsThis>
#include <QWindow>
#include <set>

namespace {

const std::string HelpDir = TARNWICK_HELP_DIR;
const std::string DutchHelp = HelpDir + "/Tarnwick.chm";
const std::string EnglishHelp = HelpDir + "/TarnwickEN.chm";

struct TShownPopup
{
    QPoint Position;
    QString Text;
};

struct THelpRequest
{
    uint32_t Command;
    uint32_t Data;
    bool operator==(const THelpRequest &) const = default;
};

class Help : public ProgramFixture
{
protected:
    void SetUp() override
    {
        ProgramFixture::SetUp();
        BindHelpViewer();
        ASSERT_TRUE(HelpViewerBound());
        SetPopupPresenter([this](QPoint position, const QString &text) {
            Popups.push_back({position, text});
        });
    }
    void TearDown() override
    {
        SetPopupPresenter(nullptr);
        ProgramFixture::TearDown();
    }

    static bool Handle(uint32_t command, uint32_t data, bool &callHelp)
    {
        return MainForm->HelpHandler(command, data, callHelp);
    }
    static QString ShownTopic() { return HelpViewerWindow()->Browser()->source().path(); }

    std::vector<TShownPopup> Popups;
};

// Help requests recorded instead of handled, for the routing of the toolkit's requests.
class TRecordingHandler
{
public:
    TRecordingHandler()
    {
        previous = HelpDispatcher().SetHandler([this](uint32_t command, uint32_t data, bool &) {
            Commands.push_back({command, data});
            return true;
        });
    }
    ~TRecordingHandler() { HelpDispatcher().SetHandler(std::move(previous)); }

    std::vector<THelpRequest> Commands;

private:
    THelpHandler previous;
};

// The context numbers that the forms and the code give windows, menus and controls.
std::set<uint32_t> UsedContexts()
{
    std::set<uint32_t> contexts;
    const QRegularExpression form(R"(<property name="HelpContext"[^>]*>\s*<number>(\d+)</number>)");
    const QRegularExpression code(R"(\w*HelpContext\s*=\s*(\d+))");
    QDirIterator files(QStringLiteral(TARNWICK_SOURCE_DIR), {"*.ui", "*.cpp", "*.h"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        if (path.contains(QLatin1String("/build/")) || path.contains(QLatin1String("/tests/")))
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (const auto &pattern : {form, code})
            for (const auto &match : pattern.globalMatch(text))
                if (const uint32_t context = match.captured(1).toUInt())
                    contexts.insert(context);
    }
    return contexts;
}

} // namespace

TEST_F(Help, HandlerShowsTopicsAndPopupsAtTheStoredPosition)
{
    CreateProgram();
    ApplicationHelpFile = DutchHelp;
    bool callHelp = true;
    EXPECT_TRUE(Handle(HELP_SETPOPUP_POS, 0xFFFF0010u, callHelp));
    EXPECT_FALSE(callHelp);
    EXPECT_EQ(QPoint(16, -1), MainForm->PopupPos);
    EXPECT_EQ(QPoint(-300, 2), UnpackPopupPos(PackPopupPos({-300, 2})));

    // The text comes out of the help file's pop-up file, decoded from its code page.
    for (int i = 0; i < 2; ++i) {
        callHelp = true;
        EXPECT_TRUE(Handle(HELP_CONTEXTPOPUP, 10200, callHelp));
        EXPECT_FALSE(callHelp);
    }
    callHelp = true;
    EXPECT_TRUE(Handle(HELP_CONTEXTPOPUP, 4242, callHelp));
    ASSERT_EQ(2u, Popups.size());
    for (const TShownPopup &popup : Popups) {
        EXPECT_EQ(QPoint(16, -1), popup.Position);
        EXPECT_TRUE(popup.Text.startsWith(QString::fromUtf8("Ongedaan maken, knippen, kopiëren")))
                << popup.Text.toStdString();
    }

    EXPECT_TRUE(Handle(HELP_CONTEXT, 2000, callHelp));
    EXPECT_FALSE(callHelp);
    ASSERT_NE(nullptr, HelpViewerWindow());
    EXPECT_TRUE(HelpViewerWindow()->isVisible());
    EXPECT_EQ("/mainwindow.htm", ShownTopic());
    EXPECT_EQ("Tarnwick Help", HelpViewerWindow()->windowTitle());
    // An unknown context shows the default topic; the window is reused.
    THelpViewerWindow *window = HelpViewerWindow();
    Handle(HELP_CONTEXT, 4242, callHelp);
    EXPECT_EQ(window, HelpViewerWindow());
    EXPECT_EQ("/index.htm", ShownTopic());

    // Anything else is handed back to the toolkit, still with the result true.
    for (uint32_t other : {0u, 2u, 3u, 9u, 14u, 15u, 261u}) {
        callHelp = false;
        EXPECT_TRUE(Handle(other, 1, callHelp));
        EXPECT_TRUE(callHelp) << other;
    }
    EXPECT_EQ(2u, Popups.size());

    // Under a running modal dialog the help window stands on it, so that it takes input, but
    // belongs to no window.
    QDialog modal;
    QTimer::singleShot(0, &modal, [&] {
        Handle(HELP_CONTEXT, 2700, callHelp);
        EXPECT_EQ(nullptr, HelpViewerWindow()->parentWidget());
        EXPECT_EQ(modal.windowHandle(), HelpViewerWindow()->windowHandle()->transientParent());
        EXPECT_TRUE(HelpViewerWindow()->isVisible());
        modal.reject();
    });
    modal.exec();
    Handle(HELP_CONTEXT, 2000, callHelp);
    EXPECT_EQ(window, HelpViewerWindow());
    EXPECT_EQ(nullptr, HelpViewerWindow()->parentWidget());
    EXPECT_TRUE(HelpViewerWindow()->isVisible());
}

TEST_F(Help, StartUpHooksTheHandlerAndClosingPutsTheOldOneBack)
{
    auto recorder = std::make_unique<TRecordingHandler>();
    CreateProgram();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(
            QString::fromStdString(ApplicationHelpFile).endsWith(QLatin1String("/Tarnwick.chm")))
            << ApplicationHelpFile;
    // Help topics: the Dutch pack names the Dutch file.
    Form().ActHelp->trigger();
    EXPECT_TRUE(recorder->Commands.empty());
    ASSERT_NE(nullptr, HelpViewerWindow());
    EXPECT_EQ("/index.htm", ShownTopic());
    EXPECT_TRUE(
            HelpViewerWindow()->Browser()->toPlainText().contains(QLatin1String("Onderwerpen")));

    MainForm->close();
    HelpDispatcher().HelpContext(2000);
    EXPECT_EQ((std::vector<THelpRequest>{{HELP_CONTEXT, 2000}}), recorder->Commands);
}

TEST_F(Help, F1AndContextHelpUseTheNearestContext)
{
    TRecordingHandler recorder;
    QDialog dialog;
    SetHelpContext(&dialog, 2700);
    auto *edit = new QLineEdit(&dialog);
    auto *inner = new QLineEdit(&dialog);
    SetHelpContext(inner, 2803);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_F1);
    inner->setFocus();
    QTest::keyClick(inner, Qt::Key_F1);
    // A modified F1 is no help request.
    QTest::keyClick(inner, Qt::Key_F1, Qt::ControlModifier);
    EXPECT_EQ((std::vector<THelpRequest>{{HELP_CONTEXT, 2700}, {HELP_CONTEXT, 2803}}),
              recorder.Commands);
    recorder.Commands.clear();
    QTest::keyClick(inner, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();
    EXPECT_TRUE(recorder.Commands.empty());

    QEvent query(QEvent::QueryWhatsThis);
    query.ignore();
    QApplication::sendEvent(edit, &query);
    EXPECT_TRUE(query.isAccepted());
    QHelpEvent whatsThis(QEvent::WhatsThis, {2, 2}, {-20, 300});
    QApplication::sendEvent(edit, &whatsThis);
    EXPECT_EQ((std::vector<THelpRequest>{{HELP_SETPOPUP_POS, PackPopupPos({-20, 300})},
                                         {HELP_CONTEXTPOPUP, 2700}}),
              recorder.Commands);
    recorder.Commands.clear();

    // In an open menu the highlighted item's own context counts, else the menu's.
    QMenu menu(&dialog);
    SetHelpContext(&menu, 10200);
    QAction *plain = menu.addAction(QStringLiteral("Plain"));
    QAction *own = menu.addAction(QStringLiteral("Own"));
    SetHelpContext(own, 2600);
    menu.popup({10, 10});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    menu.setActiveAction(plain);
    QTest::keyClick(&menu, Qt::Key_F1);
    menu.setActiveAction(own);
    QTest::keyClick(&menu, Qt::Key_F1);
    menu.close();
    EXPECT_EQ((std::vector<THelpRequest>{{HELP_CONTEXT, 10200}, {HELP_CONTEXT, 2600}}),
              recorder.Commands);
}

TEST_F(Help, WithoutViewerOrFileARequestSaysSoAndOpensNothing)
{
    CreateProgram();
    TScriptedBox box;
    bool callHelp = false;
    ApplicationHelpFile.clear();
    Handle(HELP_CONTEXT, 1, callHelp);
    Handle(HELP_CONTEXTPOPUP, 1, callHelp);

    ReleaseHelpViewer();
    EXPECT_FALSE(HelpViewerBound());
    PutString(HelpViewerKey.data(), "", "/nonexistent/libchm.so.1", Registry::Hive::ClassesRoot);
    EXPECT_EQ("", HelpViewerPath());
    BindHelpViewer();
    EXPECT_FALSE(HelpViewerBound());
    ApplicationHelpFile = DutchHelp;
    Handle(HELP_CONTEXT, 2000, callHelp);
    Handle(HELP_CONTEXTPOPUP, 2000, callHelp);
    EXPECT_EQ(nullptr, HelpViewerWindow());
    EXPECT_TRUE(Popups.empty());
    EXPECT_EQ((std::vector<std::string>{"Help is not available.", "Help is not available."}),
              box.Take());
    EXPECT_EQ(nullptr, TChmFile::Open(DutchHelp));

    // The override names the library when it exists; binding twice keeps the one binding.
    DeleteStoredValue(HelpViewerKey.data(), "", Registry::Hive::ClassesRoot);
    const std::string found = HelpViewerPath();
    ASSERT_FALSE(found.empty());
    PutString(HelpViewerKey.data(), "", found, Registry::Hive::ClassesRoot);
    EXPECT_EQ(found, HelpViewerPath());
    BindHelpViewer();
    BindHelpViewer();
    EXPECT_TRUE(HelpViewerBound());
    // A file that is no help file is unavailable too.
    ApplicationHelpFile = HelpDir + "/../CMakeCache.txt";
    Handle(HELP_CONTEXT, 2000, callHelp);
    EXPECT_EQ(1u, box.Take().size());
    ReleaseHelpViewer();
    ReleaseHelpViewer();
    EXPECT_FALSE(HelpViewerBound());
    BindHelpViewer();
}

TEST_F(Help, TopicsLinkToEachOtherAndOutside)
{
    CreateProgram();
    ApplicationHelpFile = DutchHelp;
    bool callHelp = false;
    Handle(HELP_CONTEXT, 1, callHelp);
    THelpBrowser *browser = HelpViewerWindow()->Browser();
    std::vector<QUrl> opened;
    browser->SetUrlOpener([&](const QUrl &url) { opened.push_back(url); });

    emit browser->anchorClicked(QUrl(QStringLiteral("editmenu.htm")));
    EXPECT_EQ("/editmenu.htm", ShownTopic());
    EXPECT_TRUE(browser->toPlainText().contains(QString::fromUtf8("Kopiëren")));
    emit browser->anchorClicked(QUrl(QStringLiteral("ms-its:Tarnwick.chm::/find.htm")));
    EXPECT_EQ("/find.htm", ShownTopic());
    emit browser->anchorClicked(QUrl(QStringLiteral("mk:@MSITStore:Tarnwick.chm::/Options.HTM")));
    EXPECT_EQ("/Options.HTM", ShownTopic());
    EXPECT_TRUE(browser->toPlainText().startsWith(QLatin1String("Opties")));
    browser->backward();
    browser->backward();
    EXPECT_EQ("/editmenu.htm", ShownTopic());
    browser->forward();
    EXPECT_EQ("/find.htm", ShownTopic());

    emit browser->anchorClicked(QUrl(QStringLiteral("https://www.example.org/a")));
    emit browser->anchorClicked(QUrl(QStringLiteral("mailto:info@example.org")));
    emit browser->anchorClicked(QUrl(QStringLiteral("file:///etc/passwd")));
    EXPECT_EQ((std::vector<QUrl>{QUrl(QStringLiteral("https://www.example.org/a")),
                                 QUrl(QStringLiteral("mailto:info@example.org"))}),
              opened);
    EXPECT_EQ("/find.htm", ShownTopic());
    // The style sheet and the pages come out of the file; nothing outside it is read.
    EXPECT_FALSE(browser->loadResource(QTextDocument::StyleSheetResource,
                                       QUrl(QStringLiteral("chm:///help.css")))
                         .toString()
                         .isEmpty());
    EXPECT_FALSE(browser->loadResource(QTextDocument::HtmlResource,
                                       QUrl(QStringLiteral("file:///etc/passwd")))
                         .isValid());
}

TEST_F(Help, EveryUsedContextHasATopicAndAPopupInBothFiles)
{
    const std::set<uint32_t> used = UsedContexts();
    // The main window's menus and the exercise windows at least.
    for (uint32_t context : {1u, 2000u, 10100u, 10600u, 20000u, 1300u, 2800u, 2803u})
        EXPECT_TRUE(used.count(context)) << context;
    for (const std::string &path : {DutchHelp, EnglishHelp}) {
        const std::unique_ptr<TChmFile> file = TChmFile::Open(path);
        ASSERT_NE(nullptr, file) << path;
        const auto map = HelpFile::ParseContextMap(file->Read("/#IVB").value_or(""),
                                                   file->Read("/#STRINGS").value_or(""));
        const auto popups = HelpFile::ParsePopups(file->Read("/POPUPS.TXT").value_or(""), {});
        for (uint32_t context : used) {
            ASSERT_TRUE(map.count(context)) << path << " " << context;
            const std::string topic = HelpFile::ResolveTopic(
                    map.at(context), [&](const std::string &name) { return file->Exists(name); });
            EXPECT_FALSE(topic.empty()) << path << " " << context;
            EXPECT_FALSE(popups.count(context) == 0 || popups.at(context).empty())
                    << path << " " << context;
        }
    }
}

// F1 in the keyboard tool and on the shortcut menu's level items reaches the dispatcher with the
// context of that window or menu.
TEST_F(Help, F1GivesEachWindowItsContext)
{
    CreateProgram();
    ASSERT_TRUE(Start());
    TRecordingHandler recorder;
    KBLayoutForm->show();
    QApplication::setActiveWindow(KBLayoutForm);
    KBLayoutForm->ui->InsertEdit->setFocus();
    QTest::keyClick(KBLayoutForm->ui->InsertEdit, Qt::Key_F1);
    KBLayoutForm->KeyPrintsButtonClick();
    KBLayoutForm->KeyEdits[0]->setFocus();
    QTest::keyClick(KBLayoutForm->KeyEdits[0], Qt::Key_F1);
    KBLayoutForm->CancelPrintsButtonClick();
    KBLayoutForm->ui->InsertEdit->setFocus();
    QTest::keyClick(KBLayoutForm->ui->InsertEdit, Qt::Key_F1);
    KBLayoutForm->hide();
    EXPECT_EQ((std::vector<THelpRequest>{
                      {HELP_CONTEXT, 1800}, {HELP_CONTEXT, 1900}, {HELP_CONTEXT, 1800}}),
              recorder.Commands);
    recorder.Commands.clear();

    // The level submenus open from the shortcut menu and from the Exercise menu.
    QApplication::setActiveWindow(MainForm);
    QMenu *shortcut = Form().PopupMenu;
    QMenu *level = Form().MISetQuick;
    for (QMenu *menu : {shortcut, Form().MExercise}) {
        SCOPED_TRACE(menu->objectName().toStdString());
        menu->popup({10, 10});
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        menu->setActiveAction(level->menuAction());
        QTest::keyClick(menu, Qt::Key_F1);
        level->popup({40, 40});
        ASSERT_TRUE(QTest::qWaitForWindowExposed(level));
        level->setActiveAction(level->actions().front());
        QTest::keyClick(level, Qt::Key_F1);
        level->close();
        menu->close();
    }
    EXPECT_EQ((std::vector<THelpRequest>{{HELP_CONTEXT, 10600},
                                         {HELP_CONTEXT, 10600},
                                         {HELP_CONTEXT, 10400},
                                         {HELP_CONTEXT, 10400}}),
              recorder.Commands);
}

// The help window belongs to no dialog: called from a modal one it stands on it while it is open
// and stays when it closes, also when it was open before.
TEST_F(Help, HelpWindowOutlivesTheDialogItWasCalledFrom)
{
    CreateProgram();
    ApplicationHelpFile = DutchHelp;
    bool callHelp = false;
    for (bool openBefore : {false, true}) {
        SCOPED_TRACE(openBefore);
        CloseHelpViewer();
        if (openBefore)
            Handle(HELP_CONTEXT, 1, callHelp);
        auto *dialog = new QDialog;
        SetHelpContext(dialog, 2700);
        THelpHandler previous = HelpDispatcher().SetHandler(Handle);
        auto *edit = new QLineEdit(dialog);
        QPointer<THelpViewerWindow> during;
        QWindow *ownerDuring = nullptr;
        QTimer::singleShot(0, dialog, [&] {
            QApplication::setActiveWindow(dialog);
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_F1);
            during = HelpViewerWindow();
            ownerDuring = during ? during->windowHandle()->transientParent() : nullptr;
            dialog->reject();
        });
        dialog->exec();
        HelpDispatcher().SetHandler(std::move(previous));
        ASSERT_NE(nullptr, during);
        EXPECT_EQ(nullptr, during->parentWidget());
        EXPECT_EQ(dialog->windowHandle(), ownerDuring);
        delete dialog;
        ASSERT_NE(nullptr, during);
        EXPECT_EQ(during, HelpViewerWindow());
        EXPECT_TRUE(during->isVisible());
        // Outside the dialog it stands on its own again.
        Handle(HELP_CONTEXT, 2000, callHelp);
        EXPECT_EQ(nullptr, during->windowHandle()->transientParent());
        EXPECT_TRUE(during->isVisible());
    }
}

// A damaged help file never takes the program down: what the reader library would misuse is
// refused and every request says that help is not available instead of showing an empty window.
TEST_F(Help, DamagedHelpFileSaysSoWithoutAWindow)
{
    CreateProgram();
    TScriptedBox box;
    QFile original(QString::fromStdString(DutchHelp));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    const qsizetype control = bytes.indexOf("LZXC") - 4;
    ASSERT_GT(control, 0);
    const auto at32 = [](QByteArray data, qsizetype offset, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            data[offset + i] = static_cast<char>(value >> (8 * i) & 0xFF);
        return data;
    };
    // The directory header and its first listing chunk, which names the next one.
    const auto read32 = [&](qsizetype offset) {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= uint32_t{static_cast<unsigned char>(bytes[offset + i])} << (8 * i);
        return value;
    };
    const qsizetype directory = read32(0x48);
    ASSERT_EQ("ITSP", bytes.mid(directory, 4));
    const uint32_t head = read32(directory + 0x20);
    const qsizetype firstListing
            = directory + read32(directory + 8) + head * read32(directory + 0x10);
    ASSERT_EQ("PMGL", bytes.mid(firstListing, 4));
    struct TDamage
    {
        const char *Name;
        QByteArray Bytes;
    };
    const std::vector<TDamage> damages = {
            {"control data version", at32(bytes, control + 8, 0x69)},
            {"reset interval 0", at32(bytes, control + 12, 0)},
            {"window 0", at32(bytes, control + 16, 0)},
            {"window 2^22", at32(bytes, control + 16, 128)},
            {"window not a power of two", at32(bytes, control + 16, 3)},
            {"no windows per reset", at32(bytes, control + 20, 0)},
            {"fewer than one block per reset",
             at32(at32(bytes, control + 16, 64), control + 12, 1)},
            {"signature", at32(bytes, control + 4, 0)},
            {"half the file", bytes.left(bytes.size() / 2)},
            {"directory chunks of 1 GiB", at32(bytes, directory + 0x10, 1u << 30)},
            {"listing chunks in a circle", at32(bytes, firstListing + 16, head)},
    };
    QTemporaryDir dir;
    bool callHelp = false;
    for (const TDamage &damage : damages) {
        SCOPED_TRACE(damage.Name);
        CloseHelpViewer();
        const QString path = dir.filePath(QStringLiteral("damaged.chm"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(damage.Bytes);
        file.close();
        ApplicationHelpFile = QFile::encodeName(path).toStdString();
        Handle(HELP_CONTEXT, 2000, callHelp);
        EXPECT_EQ(std::vector<std::string>{"Help is not available."}, box.Take());
        EXPECT_TRUE(!HelpViewerWindow() || !HelpViewerWindow()->isVisible());
    }
}
