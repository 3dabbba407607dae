#include "core/BusyCursor.h"
#include "core/PrivateMessages.h"
#include "core/Texts.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Warnings.h"
#include "core/Unit_WordList.h"
#include "dialogs/Unit_AboutForm.h"
#include "dialogs/Unit_OptionsForm.h"
#include "exercises/Unit_SetExercWordsForm.h"
#include "exercises/Unit_SetLessonForm.h"
#include "grid/WordsGrid.h"
#include "kbtool/Unit_KBLayoutForm.h"
#include "mainwindow/CommandRules.h"
#include "mainwindow/FileDialogs.h"
#include "mainwindow/Main.h"
#include "mainwindow/ProgramStart.h"
#include "platform/Beep.h"
#include "support/ScriptedMessageBox.h"
#include "support/WordListFixtures.h"
#include "support/gui/ProgramFixture.h"
#include "support/gui/ScriptedFileDialogs.h"

#include "ui_KBLayoutForm.h"
#include "ui_MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

TCommandState IdleWithList(int words = 3)
{
    TCommandState state;
    state.List = true;
    state.WordCount = words;
    state.Mode = TSelectionMode::Rows;
    state.Targets = true;
    state.CanInsert = true;
    state.CanInsertSound = true;
    state.CanPaste = true;
    state.CanSelectAll = true;
    state.UndoKind = TUndoKind::DeleteWords;
    state.TextEditorActive = true;
    state.FindButtonEnabled = true;
    return state;
}

constexpr TCommand AllCommands[] = {
        TCommand::New,           TCommand::Open,
        TCommand::Save,          TCommand::SaveAs,
        TCommand::Import,        TCommand::Export,
        TCommand::PrinterSetup,  TCommand::Print,
        TCommand::Exit,          TCommand::Undo,
        TCommand::Cut,           TCommand::Copy,
        TCommand::Paste,         TCommand::Delete,
        TCommand::SelectAll,     TCommand::KeyboardLayout,
        TCommand::Options,       TCommand::InsertNewWord,
        TCommand::SetLesson,     TCommand::BatchRec,
        TCommand::InsertSound,   TCommand::Find,
        TCommand::FindNext,      TCommand::WordlistSettings,
        TCommand::SetWords,      TCommand::ResetScore,
        TCommand::StartExercise, TCommand::StartTest,
        TCommand::Help,          TCommand::Homepage,
        TCommand::About,         TCommand::SetLevel,
        TCommand::LevelSubmenu,
};

TEST(CommandRules, EveryCommandIsOnWhenItsConditionsHoldAndOffWhileBusy)
{
    TCommandState state = IdleWithList();
    for (TCommand command : AllCommands)
        EXPECT_TRUE(CommandEnabled(command, state)) << static_cast<int>(command);
    state.Busy = true;
    for (TCommand command : AllCommands)
        EXPECT_FALSE(CommandEnabled(command, state)) << static_cast<int>(command);
}

TEST(CommandRules, EachConditionSwitchesOffItsOwnCommands)
{
    TCommandState saved = IdleWithList();
    saved.Saved = true;
    EXPECT_FALSE(CommandEnabled(TCommand::Save, saved));
    EXPECT_TRUE(CommandEnabled(TCommand::SaveAs, saved));

    const TCommandState empty = IdleWithList(0);
    EXPECT_FALSE(CommandEnabled(TCommand::Find, empty));
    EXPECT_TRUE(CommandEnabled(TCommand::StartExercise, empty));
    EXPECT_TRUE(CommandEnabled(TCommand::StartTest, empty));
    EXPECT_TRUE(CommandEnabled(TCommand::Print, empty));
    EXPECT_TRUE(CommandEnabled(TCommand::Export, empty));

    TCommandState noList;
    for (TCommand command :
         {TCommand::Save, TCommand::SaveAs, TCommand::Import, TCommand::Export, TCommand::Print,
          TCommand::Find, TCommand::WordlistSettings, TCommand::StartExercise, TCommand::StartTest,
          TCommand::Cut, TCommand::Delete, TCommand::Undo, TCommand::SetLevel})
        EXPECT_FALSE(CommandEnabled(command, noList)) << static_cast<int>(command);
    for (TCommand command :
         {TCommand::New, TCommand::Open, TCommand::Exit, TCommand::Options, TCommand::PrinterSetup,
          TCommand::Help, TCommand::Homepage, TCommand::About})
        EXPECT_TRUE(CommandEnabled(command, noList)) << static_cast<int>(command);

    TCommandState other = IdleWithList();
    other.Mode = TSelectionMode::Nothing;
    other.CanInsert = false;
    other.Targets = false;
    other.CanInsertSound = false;
    other.UndoKind = TUndoKind::None;
    other.TextEditorActive = false;
    other.FindButtonEnabled = false;
    for (TCommand command :
         {TCommand::Cut, TCommand::Copy, TCommand::Delete, TCommand::Import,
          TCommand::InsertNewWord, TCommand::SetLesson, TCommand::BatchRec, TCommand::SetWords,
          TCommand::ResetScore, TCommand::SetLevel, TCommand::LevelSubmenu, TCommand::InsertSound,
          TCommand::Undo, TCommand::KeyboardLayout, TCommand::FindNext})
        EXPECT_FALSE(CommandEnabled(command, other)) << static_cast<int>(command);
    other.Mode = TSelectionMode::Sound;
    EXPECT_TRUE(CommandEnabled(TCommand::Delete, other));
}

TEST(CommandRules, DelIsTheDeleteShortcutOnlyForRowsAndSoundInTheActiveMainWindow)
{
    TCommandState state = IdleWithList();
    state.MainWindowActive = true;
    for (TSelectionMode mode : {TSelectionMode::Rows, TSelectionMode::Sound}) {
        state.Mode = mode;
        EXPECT_EQ(QKeySequence(Qt::Key_Delete), DeleteShortcut(state));
    }
    for (TSelectionMode mode : {TSelectionMode::EditorText, TSelectionMode::Nothing}) {
        state.Mode = mode;
        EXPECT_TRUE(DeleteShortcut(state).isEmpty());
    }
    state.Mode = TSelectionMode::Rows;
    state.MainWindowActive = false;
    EXPECT_TRUE(DeleteShortcut(state).isEmpty());
}

TEST(CommandRules, PlaceholdersAreReplacedInOnePass)
{
    EXPECT_EQ("Frans - Nederlands", ForToRefCaption("%fl% - %tl%", "Frans", "Nederlands"));
    EXPECT_EQ("Nederlands - Frans", RefToForCaption("%fl% - %tl%", "Frans", "Nederlands"));
    // A language name holding a placeholder stays as it is.
    EXPECT_EQ("a%tl%b to X", ForToRefCaption("%fl% to %tl%", "a%tl%b", "X"));
    EXPECT_EQ("%fl%% to %", ForToRefCaption("%fl%% to %", "%fl%", "X"));
    EXPECT_EQ("12 words, 12", ReplacePlaceholders("%n% words, %n%", {{"%n%", "12"}}));
}

TEST(CommandRules, SetWordsChoicesMapToLevelsOfAtMostThree)
{
    EXPECT_FALSE(LevelChoice(false, true, 2).Change);
    EXPECT_EQ(0, LevelChoice(false, true, 2).Level);
    EXPECT_TRUE(LevelChoice(true, false, 2).Change);
    EXPECT_EQ(0, LevelChoice(true, false, 2).Level);
    EXPECT_EQ(3, LevelChoice(true, true, 2).Level);
    EXPECT_EQ(1, LevelChoice(true, true, 0).Level);
    EXPECT_EQ(3, LevelChoice(true, true, 7).Level);
    EXPECT_TRUE(LevelChoice(true, true, -1).Change);
    EXPECT_EQ(0, LevelChoice(true, true, -1).Level) << "nothing chosen is off, not quick";
}

TEST(CommandRules, OnlyWebAndMailAddressesAreOpened)
{
    EXPECT_EQ(QUrl(QStringLiteral("https://www.brimlow.example/")),
              HomepageUrl(QStringLiteral("https://www.brimlow.example/")));
    EXPECT_EQ(QUrl(QStringLiteral("http://www.brimlow.example")),
              HomepageUrl(QStringLiteral("www.brimlow.example")));
    EXPECT_TRUE(HomepageUrl(QStringLiteral("mailto:info@brimlow.example")).isValid());
    for (const char *text : {"", "calc.exe", "/usr/bin/xterm", "file:///etc/passwd",
                             "javascript:alert(1)", "http://", "rm -rf ~"})
        EXPECT_FALSE(HomepageUrl(QString::fromLatin1(text)).isValid()) << text;
}

TEST(FileDialogFilters, PackFiltersBecomeTheToolkitsFormWithCaseFreePatterns)
{
    EXPECT_EQ((QStringList{QStringLiteral("Word lists (*.wdl) (*.[wW][dD][lL])"),
                           QStringLiteral("All files (*.*) (*)")}),
              ConvertFilter(QStringLiteral("Word lists (*.wdl)|*.wdl|All files (*.*)|*.*")));
    EXPECT_EQ(QStringList{QStringLiteral("Sound (*.[wW][aA][vV] *.[mM][pP]3)")},
              ConvertFilter(QStringLiteral("Sound|*.wav;*.mp3")));
    EXPECT_TRUE(ConvertFilter(QStringLiteral("")).isEmpty());
    // A description without its pattern is left out.
    EXPECT_EQ(QStringList{QStringLiteral("Text (*.[tT][xX][tT])")},
              ConvertFilter(QStringLiteral("Text|*.txt|Lost")));
}

class TScriptedListSettings : public IListSettingsDialog
{
public:
    TScriptedListSettings() { previous = SetListSettingsDialog(this); }
    ~TScriptedListSettings() override { SetListSettingsDialog(previous); }
    bool Execute(TListSettings &settings) override
    {
        Shown.push_back(settings);
        if (!Accept)
            return false;
        settings.ForLanguage = ForLanguage;
        settings.ForeignChars = "é|ç";
        return true;
    }
    std::string ForLanguage = "Frans";
    std::vector<TListSettings> Shown;
    bool Accept = true;

private:
    IListSettingsDialog *previous = nullptr;
};

// The program's windows over a store of their own; file and message dialogs are scripted.
class Commands : public ProgramFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ProgramFixture::SetUp());
        ASSERT_TRUE(dir.isValid());
        CreateProgram();
        ASSERT_TRUE(Start());
    }

    // Runs the event loop until the grid's file operation has ended.
    void WaitIdle()
    {
        QTest::qWait(1);
        for (int i = 0; i < 250 && (Grid().IsBusy() || MainForm->Busy); ++i)
            QTest::qWait(20);
        ASSERT_FALSE(Grid().IsBusy());
        ASSERT_FALSE(MainForm->Busy);
        ASSERT_FALSE(BusyCursorShown());
    }

    TWordList &List() { return *Grid().GetWordList(); }
    QString Path(const char *name) { return dir.filePath(QLatin1String(name)); }
    // As the user would: the idle pass has run before the command is chosen.
    void Trigger(QAction *action)
    {
        MainForm->UpdateCommands();
        action->trigger();
    }
    bool Enabled(QAction *action)
    {
        MainForm->UpdateCommands();
        return action->isEnabled();
    }

    QTemporaryDir dir;
    TScriptedBox box;
    TScriptedFileDialogs dialogs;
    TScriptedListSettings settings;
};

TEST_F(Commands, TheWindowFollowsTheGridsStateWithoutExplicitCalls)
{
    EXPECT_FALSE(Enabled(Form().ActSave));
    EXPECT_FALSE(Enabled(Form().MIExport));
    EXPECT_TRUE(Enabled(Form().ActNew));
    // The level captions keep the pack's text without a list.
    EXPECT_EQ(QString::fromStdString(LanguageText(TEntry::ForToRefItem)),
              Form().ActQuickForToRef->text());
    const QString withoutList = Form().ActQuickForToRef->text();

    Grid().SetWordList(FrenchList(0));
    EXPECT_TRUE(Enabled(Form().ActSave));
    EXPECT_FALSE(Enabled(Form().ActFind));
    EXPECT_TRUE(Enabled(Form().ActStartExercise));
    EXPECT_TRUE(Enabled(Form().ActStartTest));
    EXPECT_TRUE(Enabled(Form().MIExport));
    EXPECT_NE(withoutList, Form().ActQuickForToRef->text());
    EXPECT_TRUE(Form().ActQuickForToRef->text().contains(QStringLiteral("Frans")));

    Grid().SetWordList(FrenchList(3));
    List().Saved = true;
    EXPECT_FALSE(Enabled(Form().ActSave));
    EXPECT_TRUE(Enabled(Form().MISaveAs));
    EXPECT_TRUE(Enabled(Form().ActFind));
    // The keyboard tool is offered for the three text editors only.
    Grid().SelectCellAt(Grid().ColumnOfKind(ckContext), 1);
    EXPECT_EQ(Form().ContextEdit, MainForm->focusWidget());
    EXPECT_TRUE(Enabled(Form().MIKeyboardLayout));
    Grid().SelectCellAt(Grid().ColumnOfKind(ckLesson), 1);
    EXPECT_EQ(Form().LessonEdit, MainForm->focusWidget());
    EXPECT_FALSE(Enabled(Form().MIKeyboardLayout));

    // The one-direction captions follow the list's language names.
    Grid().SetForLanguage("Duits");
    MainForm->UpdateCommands();
    EXPECT_TRUE(Form().ActNormalForToRef->text().contains(QStringLiteral("Duits")));
    EXPECT_TRUE(Form().ActNormalRefToFor->text().contains(QStringLiteral("Duits")));
    EXPECT_EQ(Form().ActNormalForToRef->text(), Form().ActIntensiveForToRef->text());

    // Idle time alone brings the rules up to date.
    List().SetForWord(0, "changed");
    QTest::qWait(20);
    EXPECT_TRUE(Form().ActSave->isEnabled());

    Grid().SetBusy(true);
    MainForm->UpdateCommands();
    for (QAction *action : MainForm->findChildren<QAction *>()) {
        if (action->objectName().startsWith(QLatin1String("Act"))
            || action->objectName().startsWith(QLatin1String("MI"))) {
            EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
        }
    }
    for (QMenu *submenu : {Form().MITurnOff, Form().MISetIntensive})
        EXPECT_FALSE(submenu->menuAction()->isEnabled());
    // An action triggered with a stale enabled state still runs nothing.
    Form().MIExport->setEnabled(true);
    Form().MIExport->trigger();
    EXPECT_TRUE(dialogs.Requests.empty());
    Grid().ClearBusy();
}

TEST_F(Commands, LevelCommandsSetTheTargetsAndUndoTakesThemBack)
{
    Grid().SetWordList(FrenchList(4));
    Grid().SelectRows(2, false, false);
    Grid().SelectRows(3, true, false);
    Trigger(Form().ActIntensiveRefToFor);
    EXPECT_EQ(0, List().GetLevel1(1));
    EXPECT_EQ(3, List().GetLevel2(1));
    EXPECT_EQ(3, List().GetLevel2(2));
    EXPECT_EQ(0, List().GetLevel2(3));
    EXPECT_EQ(TUndoKind::Levels, Grid().GetUndoKind());
    Trigger(Form().ActUndo);
    EXPECT_EQ(0, List().GetLevel2(1));
    EXPECT_EQ(TUndoKind::None, Grid().GetUndoKind());
}

TEST_F(Commands, DeleteWithConfirmationAnsweredNoKeepsTheRowsAndRecordsNoUndo)
{
    Grid().SetWordList(FrenchList(4));
    Grid().SelectRows(2, false, false);
    EditOptions.ConfirmDelete = true;
    box.Answers = {1};
    Trigger(Form().ActDelete);
    EXPECT_EQ(4, List().Count());
    EXPECT_EQ(TUndoKind::None, Grid().GetUndoKind());
    ASSERT_EQ(1u, box.Texts.size());
    EXPECT_EQ(LanguageText(TEntry::ConfirmDelete), box.Texts[0]);
    box.Answers = {0};
    Trigger(Form().ActDelete);
    EXPECT_EQ(3, List().Count());
    EXPECT_EQ(TUndoKind::DeleteWords, Grid().GetUndoKind());
    EditOptions.ConfirmDelete = false;
    Trigger(Form().ActDelete);
    EXPECT_EQ(2, List().Count());
    EXPECT_EQ(2u, box.Texts.size());
}

TEST_F(Commands, FileDialogsKeepFolderAndFilterOnlyAfterOk)
{
    MRUOpen = dir.path().toStdString();
    dialogs.Choices = {QString()};
    Trigger(Form().ActOpen);
    ASSERT_EQ(1u, dialogs.Requests.size());
    const TFileDialogRequest &open = dialogs.Requests[0];
    EXPECT_FALSE(open.Save);
    EXPECT_EQ(QString::fromStdString(LanguageText(TEntry::OpenDialogTitle)), open.Title);
    EXPECT_EQ(QStringLiteral("wdl"), open.DefaultSuffix);
    EXPECT_EQ(dir.path(), open.Folder);
    EXPECT_EQ(1, open.FilterIndex);
    EXPECT_EQ(2, open.Filters.size());
    EXPECT_EQ(dir.path().toStdString(), MRUOpen);

    // OK stores folder and filter even when the unsaved-changes question then cancels.
    Grid().SetWordList(FrenchList(2));
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    dialogs.Choices = {Path("sub/Other.wdl")};
    dialogs.ChosenFilter = 2;
    box.Answers = {2};
    Trigger(Form().ActOpen);
    EXPECT_EQ(Path("sub").toStdString(), MRUOpen);
    EXPECT_EQ(2, MainForm->OpenFilterIndex);
    EXPECT_EQ(2, List().Count());
    EXPECT_FALSE(Grid().IsBusy());

    dialogs.Choices = {QString()};
    Trigger(Form().MIExport);
    const TFileDialogRequest &exportRequest = dialogs.Requests.back();
    EXPECT_TRUE(exportRequest.Save);
    EXPECT_EQ(QStringLiteral("txt"), exportRequest.DefaultSuffix);
    EXPECT_EQ(QStringLiteral("Naamloos"), exportRequest.FileName);
    EXPECT_EQ(1, MainForm->ExportFilterIndex);
}

TEST_F(Commands, NewWithCancelInTheQuestionKeepsTheOldListTitleAndUndo)
{
    Grid().SetWordList(FrenchList(3));
    Grid().SelectRows(1, false, false);
    Trigger(Form().ActResetScore);
    ASSERT_EQ(TUndoKind::ScoreReset, Grid().GetUndoKind());
    const TWordList *old = Grid().GetWordList();
    const QString title = MainForm->windowTitle();
    box.Answers = {2};
    Trigger(Form().ActNew);
    ASSERT_EQ(1u, settings.Shown.size());
    EXPECT_EQ(LanguageText(TEntry::NewListCaption), settings.Shown[0].Caption);
    EXPECT_EQ(LanguageText(TEntry::DefaultRefLanguage), settings.Shown[0].RefLanguage);
    EXPECT_EQ("Arial", settings.Shown[0].ForFontName);
    EXPECT_EQ(8, settings.Shown[0].RefSize);
    EXPECT_EQ(ForeignCharacters, settings.Shown[0].ForeignChars);
    EXPECT_EQ(old, Grid().GetWordList());
    EXPECT_EQ(title, MainForm->windowTitle());
    EXPECT_EQ(TUndoKind::ScoreReset, Grid().GetUndoKind());

    settings.Accept = false;
    Trigger(Form().ActNew);
    EXPECT_EQ(1u, box.Texts.size());
    EXPECT_EQ(old, Grid().GetWordList());
}

TEST_F(Commands, NewTypeSaveAsCloseAndReopen)
{
    Trigger(Form().ActNew);
    ASSERT_NE(nullptr, Grid().GetWordList());
    EXPECT_EQ("Frans", List().ForLanguage);
    EXPECT_EQ(QStringLiteral("Tarnwick - Naamloos"), MainForm->windowTitle());
    EXPECT_TRUE(Form().PageScroller->isVisible());
    for (const char *word : {"chien", "chat"}) {
        Grid().SelectCellAt(1, Grid().GetWordCount() + 1);
        Trigger(Form().ActInsertNewWord);
        List().SetForWord(Grid().GetWordCount() - 1, word);
        List().SetRefWord(Grid().GetWordCount() - 1, "dier");
    }
    EXPECT_EQ(2, List().Count());

    MRUSave = dir.path().toStdString();
    dialogs.Choices = {Path("Dieren.wdl")};
    Trigger(Form().ActSave);
    EXPECT_TRUE(Grid().IsBusy());
    WaitIdle();
    EXPECT_EQ(QString::fromStdString(LanguageText(TEntry::SaveAsDialogTitle)),
              dialogs.Requests.back().Title);
    EXPECT_EQ(QStringLiteral("Naamloos"), dialogs.Requests.back().FileName);
    EXPECT_EQ(dir.path(), dialogs.Requests.back().Folder);
    EXPECT_TRUE(List().Saved);
    EXPECT_EQ(TUndoKind::None, Grid().GetUndoKind());
    EXPECT_FALSE(Enabled(Form().ActUndo));
    EXPECT_EQ(QStringLiteral("Tarnwick - Dieren"), MainForm->windowTitle());
    EXPECT_EQ(Path("Dieren.wdl").toStdString(), MRUList);

    EXPECT_TRUE(MainForm->close());
    EXPECT_TRUE(box.Texts.empty());
    DestroyForms();
    delete std::exchange(LanguagePack, nullptr);

    CreateProgram({Path("Dieren.wdl")});
    ASSERT_TRUE(Start());
    ASSERT_NE(nullptr, Grid().GetWordList());
    EXPECT_EQ(QStringLiteral("Tarnwick - Dieren"), MainForm->windowTitle());
    ASSERT_EQ(2, List().Count());
    EXPECT_EQ("chien", List().GetForWord(0));
    EXPECT_EQ("chat", List().GetForWord(1));
    EXPECT_EQ("é|ç", List().ForeignChars);
}

TEST_F(Commands, ASaveIntoAFolderThatCannotBeWrittenKeepsTheUnsavedListAndItsTitle)
{
    Grid().SetWordList(FrenchList(3));
    const QString title = MainForm->windowTitle();
    QFile blocker(Path("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    dialogs.Choices = {Path("not-a-folder/List.wdl")};
    Trigger(Form().MISaveAs);
    WaitIdle();
    EXPECT_EQ(1u, box.Texts.size());
    EXPECT_FALSE(List().Saved);
    EXPECT_EQ("", List().FileName);
    EXPECT_EQ(title, MainForm->windowTitle());
    EXPECT_EQ("", MRUList);
    EXPECT_TRUE(Enabled(Form().ActSave));

    // The save that answers the closing question fails alike: the window stays.
    dialogs.Choices = {Path("not-a-folder/List.wdl")};
    box.Answers = {0};
    EXPECT_FALSE(MainForm->close());
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_EQ(3, List().Count());
    EXPECT_FALSE(Grid().IsBusy());
}

// A file name reaches the screen as the file system holds it, in whatever script: the title,
// the closing question, the proposed name and every failure that names a file.
TEST_F(Commands, FileNamesReachTheScreenAsTheFileSystemHoldsThem)
{
    const QString names[] = {QStringLiteral("W\u00F6rter"),
                             QStringLiteral("P\u0159\u00EDli\u0161 \u017Elu\u0165ou\u010Dk\u00FD"),
                             QStringLiteral("\u0421\u043B\u043E\u0432\u0430")};
    const auto lastMessage
            = [this] { return box.Requests.empty() ? QString() : box.Requests.back().Text; };
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString file = dir.filePath(name + QStringLiteral(".wdl"));
        Grid().SetWordList(FrenchList(2));
        dialogs.Choices = {file};
        Trigger(Form().MISaveAs);
        ASSERT_NO_FATAL_FAILURE(WaitIdle());
        EXPECT_EQ(QStringLiteral("Tarnwick - ") + name, MainForm->windowTitle());
        dialogs.Choices = {QString()};
        Trigger(Form().MISaveAs);
        EXPECT_EQ(name, dialogs.Requests.back().FileName);

        List().Saved = false;
        box.Answers = {mbCancel};
        EXPECT_FALSE(MainForm->CheckSaved());
        EXPECT_TRUE(lastMessage().contains(QStringLiteral("\"") + name + QStringLiteral("\""))
                    || lastMessage().contains(name))
                << lastMessage().toStdString();

        // Open and import of a folder, save and export into a file taken for a folder.
        const QString folder = dir.filePath(name + QStringLiteral(" map.wdl"));
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString blocker = dir.filePath(name + QStringLiteral(" blok"));
        QFile blocking(blocker);
        ASSERT_TRUE(blocking.open(QIODevice::WriteOnly));
        blocking.close();
        const auto failsNaming = [&](QAction *command, const QString &choice) {
            const size_t before = box.Requests.size();
            dialogs.Choices = {choice};
            box.Answers = {mbNo};
            Trigger(command);
            ASSERT_NO_FATAL_FAILURE(WaitIdle());
            // The failure names the file (after the closing question; an import then also says
            // that nothing came in).
            const auto named = std::find_if(
                    box.Requests.begin() + static_cast<std::ptrdiff_t>(before), box.Requests.end(),
                    [&](const TMessageRequest &request) { return request.Text.contains(choice); });
            EXPECT_NE(box.Requests.end(), named) << lastMessage().toStdString();
        };
        failsNaming(Form().ActOpen, folder);
        failsNaming(Form().MIImport, folder);
        failsNaming(Form().MISaveAs, blocker + QStringLiteral("/") + name + QStringLiteral(".wdl"));
        failsNaming(Form().MIExport, blocker + QStringLiteral("/") + name + QStringLiteral(".txt"));
        List().Saved = true;
    }

    // The dialogs start in the user's documents folder, whatever its name.
    const QString home = dir.filePath(names[2]);
    ASSERT_TRUE(QDir().mkpath(home));
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home));
    SetDefaultSettings();
    qputenv("HOME", savedHome);
    dialogs.Choices = {QString()};
    Trigger(Form().ActOpen);
    EXPECT_EQ(home, dialogs.Requests.back().Folder);
}

TEST_F(Commands, ImportInsertsAtTheCurrentRowWithItsMessageAndUndo)
{
    Grid().SetWordList(FrenchList(5));
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += "nouveau" + std::to_string(i) + "\tnieuw\r\n";
    QFile file(Path("words.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
    file.close();

    Grid().SelectCellAt(1, 4);
    dialogs.Choices = {Path("words.txt")};
    Trigger(Form().MIImport);
    WaitIdle();
    EXPECT_EQ(QString::fromStdString(LanguageText(TEntry::ImportDialogTitle)),
              dialogs.Requests.back().Title);
    ASSERT_EQ(17, List().Count());
    EXPECT_EQ("nouveau0", List().GetForWord(3));
    EXPECT_EQ("nouveau11", List().GetForWord(14));
    EXPECT_TRUE(Grid().IsRowSelection());
    EXPECT_EQ(4, Grid().Selection().Top);
    EXPECT_EQ(15, Grid().Selection().Bottom);
    ASSERT_EQ(1u, box.Texts.size());
    EXPECT_EQ(ReplacePlaceholders(LanguageText(TEntry::WordsImported), {{"%n%", "12"}}),
              box.Texts[0]);
    EXPECT_EQ(TUndoKind::Insert, Grid().GetUndoKind());
    Trigger(Form().ActUndo);
    EXPECT_EQ(5, List().Count());
    EXPECT_EQ("mot3", List().GetForWord(3));

    // A word list of one word.
    auto one = FrenchList(1);
    one->SaveToFile(Path("one.wdl").toStdString());
    Grid().SelectCellAt(1, 6);
    dialogs.Choices = {Path("one.wdl")};
    Trigger(Form().MIImport);
    WaitIdle();
    EXPECT_EQ(6, List().Count());
    EXPECT_EQ(LanguageText(TEntry::OneWordImported), box.Texts.back());

    // Nothing to import: the warning, and the undo record stays.
    ASSERT_EQ(TUndoKind::Insert, Grid().GetUndoKind());
    QFile empty(Path("empty.txt"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    dialogs.Choices = {Path("empty.txt")};
    Trigger(Form().MIImport);
    WaitIdle();
    EXPECT_EQ(6, List().Count());
    EXPECT_EQ(LanguageText(TEntry::NoWordImported), box.Texts.back());
    EXPECT_EQ(TUndoKind::Insert, Grid().GetUndoKind());
}

TEST_F(Commands, ExportWritesTheListAsTabbedText)
{
    Grid().SetWordList(FrenchList(2));
    Grid().SelectRows(2, false, false);
    dialogs.Choices = {Path("out.txt")};
    dialogs.ChosenFilter = 1;
    Trigger(Form().MIExport);
    WaitIdle();
    QFile file(Path("out.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    EXPECT_TRUE(written.startsWith("mot0\twoord\t")) << written.toStdString();
    EXPECT_TRUE(written.contains("mot1\twoord\t"));
    EXPECT_EQ(dir.path().toStdString(), MRUSave);
    // The selection comes back after the operation.
    EXPECT_TRUE(Grid().IsRowSelection());
    EXPECT_EQ(2, Grid().Selection().Top);
}

// Keeps the busy messages that reach the main window.
class TBusyRecorder : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (static_cast<int>(event->type()) == WM_GRIDBUSY)
            Messages.push_back(static_cast<TMessageEvent *>(event)->WParam);
        return false;
    }
    std::vector<intptr_t> Messages;
};

TEST_F(Commands, TheSynchronousSaveIsBusyOnlyWhileItWritesAndClearsUndo)
{
    Grid().SetWordList(FrenchList(3));
    Grid().SelectRows(2, false, false);
    Trigger(Form().ActResetScore);
    ASSERT_EQ(TUndoKind::ScoreReset, Grid().GetUndoKind());
    List().FileName = Path("Direct.wdl").toStdString();
    TBusyRecorder recorder;
    MainForm->installEventFilter(&recorder);
    box.Answers = {0};
    EXPECT_TRUE(MainForm->CheckSaved());
    MainForm->removeEventFilter(&recorder);
    EXPECT_EQ((std::vector<intptr_t>{1, 0}), recorder.Messages);
    EXPECT_TRUE(List().Saved);
    EXPECT_EQ(TUndoKind::None, Grid().GetUndoKind());
    EXPECT_EQ(QStringLiteral("Tarnwick - Direct"), MainForm->windowTitle());
    EXPECT_EQ(Path("Direct.wdl").toStdString(), MRUList);
    // The selection is back as it was.
    EXPECT_TRUE(Grid().IsRowSelection());
    EXPECT_EQ(2, Grid().Selection().Top);
}

TEST_F(Commands, ShortcutsFollowTheStateOfTheirMomentAndDelReachesTheEditor)
{
    Grid().SetWordList(FrenchList(3));
    List().Saved = true;
    MainForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm));
    MainForm->UpdateCommands();
    ASSERT_FALSE(Form().ActSave->isEnabled());
    // Changed after the last idle pass: the shortcut still finds the save enabled.
    List().SetForWord(2, "changed");
    dialogs.Choices = {QString()};
    QTest::keyClick(MainForm->focusWidget(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(1u, dialogs.Requests.size());

    // In the foreign-word editor Del deletes a character and no word.
    Grid().SelectCellAt(Grid().ColumnOfKind(ckForWord), 1);
    ASSERT_EQ(Form().ForWordEdit, QApplication::focusWidget());
    Form().ForWordEdit->setCursorPosition(0);
    QTest::keyClick(Form().ForWordEdit, Qt::Key_Delete);
    EXPECT_EQ(3, List().Count());
    EXPECT_EQ("ot0", List().GetForWord(0));

    // With rows selected Del deletes them.
    EditOptions.ConfirmDelete = false;
    Grid().SelectRows(2, false, false);
    Grid().setFocus();
    QTest::keyClick(&Grid(), Qt::Key_Delete);
    EXPECT_EQ(2, List().Count());
    EXPECT_EQ(TUndoKind::DeleteWords, Grid().GetUndoKind());
}

// Rows selected from an editor or by a row header take Del as the user meant it: the rows go,
// and no editor is left over the word that moved into their place.
TEST_F(Commands, DelDeletesRowsSelectedFromAnEditorAndLeavesNoEditorOverAnotherWord)
{
    Grid().SetWordList(FrenchList(6));
    EditOptions.ConfirmDelete = false;
    MainForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm));
    Grid().SelectCellAt(Grid().ColumnOfKind(ckForWord), 2);
    ASSERT_EQ(Form().ForWordEdit, QApplication::focusWidget());
    QTest::keyClick(Form().ForWordEdit, Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_TRUE(Grid().IsRowSelection());
    const int selected = Grid().Selection().Bottom - Grid().Selection().Top + 1;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    ASSERT_EQ(6 - selected, List().Count());
    for (int index = 0; index < List().Count(); ++index)
        EXPECT_EQ(4u, List().GetForWord(index).size()) << "no word's text was cleared";
    EXPECT_EQ("mot0", List().GetForWord(0));
    EXPECT_EQ("mot" + std::to_string(1 + selected), List().GetForWord(1));
    EXPECT_FALSE(Form().ForWordEdit->isVisible());

    const QRect header = Grid().CellRect(0, 1);
    Grid().SelectCellAt(Grid().ColumnOfKind(ckForWord), 2);
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, Qt::NoModifier, header.center());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    ASSERT_EQ(5 - selected, List().Count());
    EXPECT_EQ("mot" + std::to_string(1 + selected), List().GetForWord(0));
    if (Form().ForWordEdit->isVisible()) {
        EXPECT_EQ(QString::fromStdString(List().GetForWord(Grid().Row() - 1)),
                  Form().ForWordEdit->text());
    }
}

TEST_F(Commands, OptionsRefillThePartsOfSpeechEvenWhenCancelled)
{
    PartsOfSpeech = "bijwoord,lidwoord;";
    QTimer::singleShot(0, OptionsForm, &QDialog::reject);
    Trigger(Form().MIOptions);
    ASSERT_EQ(2, Form().PartOfSpeechCombo->count());
    EXPECT_EQ(QStringLiteral("lidwoord"), Form().PartOfSpeechCombo->itemText(1));
}

TEST_F(Commands, TheKeyboardToolTypesItsCharactersIntoTheActiveEditorInOrder)
{
    Grid().SetWordList(FrenchList(1));
    Grid().SelectCellAt(Grid().ColumnOfKind(ckContext), 1);
    ASSERT_EQ(Form().ContextEdit, MainForm->focusWidget());
    QTimer::singleShot(0, KBLayoutForm, [] {
        KBLayoutForm->ui->InsertEdit->setText(QStringLiteral("\u00E9a\u00E7"));
        KBLayoutForm->accept();
    });
    Trigger(Form().MIKeyboardLayout);
    EXPECT_EQ(QStringLiteral("\u00E9a\u00E7"), Form().ContextEdit->text());
    EXPECT_EQ("\xE9"
              "a\xE7",
              List().Word(0).Context);
}

namespace {
int ToolBeeps = 0;
void CountToolBeep(TBeepKind)
{
    ++ToolBeeps;
}
} // namespace

TEST_F(Commands, TheKeyboardToolOpensInTheEditorsCodePageWhichRefusesWhatItCannotHold)
{
    Grid().SetWordList(FrenchList(1));
    Grid().SelectCellAt(Grid().ColumnOfKind(ckContext), 1);
    ASSERT_EQ(Form().ContextEdit, MainForm->focusWidget());
    constexpr int Cyrillic = 1251;
    Form().ContextEdit->CodePage = Cyrillic;
    int codePage = 0;
    QTimer::singleShot(0, KBLayoutForm, [&codePage] {
        codePage = KBLayoutForm->KeyCodePage;
        KBLayoutForm->close();
    });
    Trigger(Form().MIKeyboardLayout);
    EXPECT_EQ(Cyrillic, codePage);

    Form().ContextEdit->CodePage = CodePage::Default;
    const TBeepHandler previous = SetBeepHandler(CountToolBeep);
    ToolBeeps = 0;
    QTimer::singleShot(0, KBLayoutForm, [&codePage] {
        codePage = KBLayoutForm->KeyCodePage;
        KBLayoutForm->ui->InsertEdit->setText(QStringLiteral("a\u0416b"));
        KBLayoutForm->accept();
    });
    Trigger(Form().MIKeyboardLayout);
    SetBeepHandler(previous);
    EXPECT_EQ(CodePage::Default, codePage);
    EXPECT_EQ(QStringLiteral("ab"), Form().ContextEdit->text());
    EXPECT_EQ(1, ToolBeeps);
    EXPECT_EQ("ab", List().Word(0).Context);
}

TEST_F(Commands, ListSettingsChangeLanguagesFontsAndCharactersWithoutUndo)
{
    Grid().SetWordList(FrenchList(2));
    Grid().SelectRows(1, false, false);
    Trigger(Form().ActResetScore);
    ASSERT_EQ(TUndoKind::ScoreReset, Grid().GetUndoKind());
    settings.Accept = false;
    Trigger(Form().MIWordlistSettings);
    ASSERT_EQ(1u, settings.Shown.size());
    EXPECT_EQ(LanguageText(TEntry::ListSettingsCaption), settings.Shown[0].Caption);
    EXPECT_EQ("Frans", settings.Shown[0].ForLanguage);
    EXPECT_EQ(10, settings.Shown[0].ForSize);
    EXPECT_EQ("Nederlands", List().RefLanguage);
    EXPECT_EQ("", List().ForeignChars);

    settings.Accept = true;
    settings.ForLanguage = "Duits";
    Trigger(Form().MIWordlistSettings);
    EXPECT_EQ("Duits", List().ForLanguage);
    MainForm->UpdateCommands();
    EXPECT_TRUE(Form().ActOffForToRef->text().contains(QStringLiteral("Duits")));
    EXPECT_EQ("Arial", List().ForFont->Name);
    EXPECT_EQ("é|ç", List().ForeignChars);
    EXPECT_TRUE(Form().PageScroller->isVisible());
    EXPECT_EQ(TUndoKind::ScoreReset, Grid().GetUndoKind());
}

TEST_F(Commands, SetLessonGivesTheSelectedWordsTheDialogsLessonWithUndo)
{
    Grid().SetWordList(FrenchList(4));
    List().SetLesson(3, "Oud");
    Grid().SelectRows(2, false, false);
    Grid().SelectRows(4, true, false);
    auto *lesson = SetLessonForm->findChild<QLineEdit *>(QStringLiteral("LessonEdit"));
    auto *ok = SetLessonForm->findChild<QPushButton *>(QStringLiteral("OKButton"));
    ASSERT_TRUE(lesson && ok);
    const auto typeAndClose = [&](const QString &text, auto close) {
        QTimer::singleShot(0, SetLessonForm, [=] {
            EXPECT_TRUE(lesson->text().isEmpty()) << "each showing starts empty";
            lesson->setText(text);
            close();
        });
    };
    typeAndClose(QStringLiteral("Les"), [] { SetLessonForm->reject(); });
    Trigger(Form().ActSetLesson);
    EXPECT_EQ("", List().GetLesson(1));
    typeAndClose(QStringLiteral(" Les \u00E9\u00E9n "), [=] { ok->click(); });
    Trigger(Form().ActSetLesson);
    EXPECT_TRUE(SetLessonForm->ClosedByButton);
    EXPECT_EQ("", List().GetLesson(0));
    EXPECT_EQ(" Les \xE9\xE9n ", List().GetLesson(1)) << "taken unchanged, spaces included";
    EXPECT_EQ(" Les \xE9\xE9n ", List().GetLesson(3));
    Trigger(Form().ActUndo);
    EXPECT_EQ("", List().GetLesson(2));
    EXPECT_EQ("Oud", List().GetLesson(3));
    typeAndClose(QString(), [=] { ok->click(); });
    Trigger(Form().ActSetLesson);
    EXPECT_EQ("", List().GetLesson(3)) << "an empty lesson clears the selected words' lessons";
}

TEST_F(Commands, SetWordsCaptionsItsBoxesAndHandsBothDirectionsToTheGrid)
{
    Grid().SetWordList(FrenchList(3));
    Grid().SetForLanguage("a%tl%b");
    List().SetLevel1(0, 2);
    Grid().SelectRows(1, false, false);
    const auto find = [](auto *&widget, const char *name) {
        widget = SetExercWordsForm->findChild<std::remove_reference_t<decltype(*widget)> *>(
                QLatin1String(name));
        ASSERT_TRUE(widget) << name;
    };
    QGroupBox *forRefBox = nullptr;
    QGroupBox *refForBox = nullptr;
    QCheckBox *forRefCheck = nullptr;
    QRadioButton *refForOn = nullptr;
    QComboBox *refForLevels = nullptr;
    find(forRefBox, "ForRefBox");
    find(refForBox, "RefForBox");
    find(forRefCheck, "ForRefCheckBox");
    find(refForOn, "RefForOnRadio");
    find(refForLevels, "RefForLevelCombo");
    forRefCheck->setChecked(false);
    refForOn->setChecked(true);
    refForLevels->setCurrentIndex(2);
    QTimer::singleShot(0, SetExercWordsForm, &QDialog::accept);
    Trigger(Form().ActSetWords);
    const std::string &caption = LanguageText(TEntry::SetWordsDirectionBox);
    EXPECT_EQ(QString::fromStdString(ForToRefCaption(caption, "a%tl%b", "Nederlands")),
              forRefBox->title());
    EXPECT_EQ(QString::fromStdString(RefToForCaption(caption, "a%tl%b", "Nederlands")),
              refForBox->title());
    EXPECT_EQ(2, List().GetLevel1(0)) << "an unchecked direction stays as it was";
    EXPECT_EQ(3, List().GetLevel2(0));
    EXPECT_EQ(0, List().GetLevel2(1));
    EXPECT_EQ(TUndoKind::Levels, Grid().GetUndoKind());
}

class TUrlRecorder : public QObject
{
    Q_OBJECT

public slots:
    void Open(const QUrl &url) { Urls.push_back(url); }

public:
    std::vector<QUrl> Urls;
};

TEST_F(Commands, TheHomepageOpensTheWebAddressOfThePack)
{
    TUrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "Open");
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &recorder, "Open");
    Trigger(Form().MIHomepage);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    ASSERT_EQ(1u, recorder.Urls.size());
    EXPECT_EQ(HomepageUrl(QString::fromStdString(LanguageText(TEntry::HomepageAddress))),
              recorder.Urls[0]);
}

} // namespace

#include "CommandsTest.moc"

TEST_F(Commands, EditKeysInAnOpenEditorReachTheWindowsCommands)
{
    Grid().SetWordList(FrenchList(3));
    MainForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm));
    QClipboard &clipboard = *QGuiApplication::clipboard();
    clipboard.setText(QStringLiteral("old"));

    Grid().SelectCellAt(Grid().ColumnOfKind(ckForWord), 1);
    QLineEdit *forWord = Form().ForWordEdit;
    ASSERT_EQ(forWord, QApplication::focusWidget());
    forWord->setSelection(0, 3);
    QTest::keyClick(forWord, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QStringLiteral("mot"), clipboard.text());

    Grid().SelectCellAt(Grid().ColumnOfKind(ckRefWord), 2);
    QLineEdit *refWord = Form().RefWordEdit;
    ASSERT_EQ(refWord, QApplication::focusWidget());
    refWord->end(false);
    QTest::keyClick(refWord, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ("woordmot", List().GetRefWord(1));
    // The editor's own undo comes first.
    EXPECT_EQ(TUndoKind::EditorTyping, Grid().GetUndoKind());
    QTest::keyClick(refWord, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ("woord", List().GetRefWord(1));

    // Into the part of speech the text replaces the selection; out of it the text goes whole.
    Grid().SelectCellAt(Grid().ColumnOfKind(ckPartOfSpeech), 3);
    QWidget *partOfSpeech = QApplication::focusWidget();
    ASSERT_NE(nullptr, partOfSpeech);
    QTest::keyClick(partOfSpeech, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ("mot", List().GetPartOfSpeech(2));
    EXPECT_EQ(TUndoKind::PartOfSpeech, Grid().GetUndoKind());
    Form().PartOfSpeechCombo->lineEdit()->setSelection(1, 1);
    QTest::keyClick(partOfSpeech, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QStringLiteral("mot"), clipboard.text());
    EXPECT_EQ("mt", List().GetPartOfSpeech(2));

    // Ctrl+A selects the editor's text first, then every row, which Ctrl+C copies; Ctrl+V in an
    // editor then pastes the words.
    Grid().SelectCellAt(Grid().ColumnOfKind(ckForWord), 2);
    forWord->setCursorPosition(1);
    QTest::keyClick(forWord, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(QStringLiteral("mot1"), forWord->selectedText());
    EXPECT_FALSE(Grid().IsRowSelection());
    QTest::keyClick(forWord, Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(Grid().IsRowSelection());
    EXPECT_EQ(1, Grid().Selection().Top);
    EXPECT_EQ(3, Grid().Selection().Bottom);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
    Grid().SelectCellAt(Grid().ColumnOfKind(ckContext), 2);
    QTest::keyClick(Form().ContextEdit, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(6, List().Count());
    EXPECT_EQ("mot0", List().GetForWord(1));
    EXPECT_EQ("mot1", List().GetForWord(4));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(3, List().Count());

    // Ctrl+X cuts the rows, the menu's Paste brings them back and Undo takes them out again.
    Grid().SelectRows(1, false, false);
    Grid().SelectRows(3, true, false);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(0, List().Count());
    const auto *count = Form().StatusBar->findChild<QLabel *>(QStringLiteral("WordCountLabel"));
    ASSERT_NE(nullptr, count);
    EXPECT_TRUE(count->text().contains(QLatin1Char('0'))) << "the status bar follows the count";
    Trigger(Form().ActPaste);
    ASSERT_EQ(3, List().Count());
    EXPECT_EQ("mot2", List().GetForWord(2));
    Trigger(Form().ActUndo);
    EXPECT_EQ(0, List().Count());
}
