#include "core/LoadHooks.h"
#include "core/ModalResult.h"
#include "core/Texts.h"
#include "core/Unit_Charsets.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Warnings.h"
#include "core/Unit_WordList.h"
#include "dialogs/Unit_ChangeFontForm.h"
#include "dialogs/Unit_FindForm.h"
#include "dialogs/Unit_ForCharsForm.h"
#include "dialogs/Unit_WLSettingsForm.h"
#include "grid/FindTarget.h"
#include "grid/WordsGrid.h"
#include "mainwindow/Main.h"
#include "mainwindow/ProgramStart.h"
#include "platform/CodePage.h"
#include "support/ScriptedMessageBox.h"
#include "support/WordListFixtures.h"
#include "support/gui/ProgramFixture.h"
#include "support/gui/ScriptedFileDialogs.h"
#include "ui_FindForm.h"
#include "ui_MainForm.h"
#include "widgets/KBAwareEdit.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr int GreekCharset = 161;
constexpr int ShiftJisCharset = 128;

// Runs step once the dialog's own event loop is running, and gives back what exec answered.
int RunModal(QDialog *dialog, const std::function<void()> &step)
{
    QTimer::singleShot(0, dialog, step);
    return dialog->exec();
}

template<class T> T *Child(QWidget *window, const char *name)
{
    auto *child = window->findChild<T *>(QLatin1String(name));
    EXPECT_NE(nullptr, child) << name;
    return child;
}

QStringList Items(const QComboBox &combo)
{
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items.append(combo.itemText(i));
    return items;
}

std::string SizeInvalid(TEntry entry)
{
    return ReplacePlaceholders(LanguageText(entry), {{"%min%", "1"}, {"%max%", "127"}});
}

// The grid's search as the find window calls it, recorded.
class TRecordingFindTarget : public IFindTarget
{
public:
    struct TCall
    {
        std::string Kind;
        int Column;
        int Mode;
        bool Replace;
        bool InSelection;
        std::string FindText;
        std::string ReplaceText;
    };
    void PrepareTargetRows() override { Calls.push_back({"prepare", 0, 0, false, false, {}, {}}); }
    void FindNext(uint8_t column, uint8_t mode, bool replace, bool inSelection,
                  const std::string &findText, const std::string &replaceText) override
    {
        Calls.push_back({"find", column, mode, replace, inSelection, findText, replaceText});
    }
    void ReplaceAll(uint8_t column, uint8_t mode, const std::string &findText,
                    const std::string &replaceText) override
    {
        Calls.push_back({"all", column, mode, true, true, findText, replaceText});
    }
    std::vector<TCall> Calls;
};

class ListDialogs : public ProgramFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ProgramFixture::SetUp());
        CreateProgram();
        ASSERT_TRUE(Start());
    }

    QLineEdit *Edit(QWidget *window, const char *name) { return Child<QLineEdit>(window, name); }
    QComboBox *Combo(QWidget *window, const char *name) { return Child<QComboBox>(window, name); }
    void Click(QWidget *window, const char *name) { Child<QPushButton>(window, name)->click(); }
    // The fields of a new list that pass every check.
    void FillValid()
    {
        Edit(WLSettingsForm, "ForLangEdit")->setText(QStringLiteral("Frans"));
        Edit(WLSettingsForm, "RefLangEdit")->setText(QStringLiteral("Nederlands"));
        for (const char *font : {"ForFontCombo", "RefFontCombo"})
            Combo(WLSettingsForm, font)->setEditText(QStringLiteral("Arial"));
        for (const char *size : {"ForSizeCombo", "RefSizeCombo"})
            Combo(WLSettingsForm, size)->setEditText(QStringLiteral("12"));
    }

    TScriptedBox box;
    TFakeFontCatalog fonts;
};

} // namespace

// One message per OK, the first failure of the fixed order, the focus on its field; the dialog
// stays open.
TEST_F(ListDialogs, WordListSettingsCheckTheFieldsInOrder)
{
    fonts.NoFace = {{"Times New Roman", GreekCharset}};
    const auto set = [this](const char *name, const char *text) {
        if (auto *edit = WLSettingsForm->findChild<QLineEdit *>(QLatin1String(name)))
            edit->setText(QLatin1String(text));
        else
            Combo(WLSettingsForm, name)->setEditText(QLatin1String(text));
    };
    const auto greek = [this](const char *combo) {
        Combo(WLSettingsForm, combo)->setCurrentIndex(CharsetToIndex(GreekCharset));
    };
    using TChange = std::function<void()>;
    const std::vector<std::tuple<TChange, std::string, const char *>> cases{
            {[&] { set("ForLangEdit", ""), set("RefFontCombo", ""); },
             LanguageText(TEntry::ForLanguageEmpty), "ForLangEdit"},
            {[&] { set("ForFontCombo", ""); }, LanguageText(TEntry::ForFontEmpty), "ForFontCombo"},
            {[&] { set("ForFontCombo", "Nergens"); }, LanguageText(TEntry::ForFontNotInstalled),
             "ForFontCombo"},
            {[&] { greek("ForCharsetCombo"), set("ForFontCombo", "Times New Roman"); },
             LanguageText(TEntry::ForFontLacksCharset), "ForFontCombo"},
            {[&] { set("ForSizeCombo", ""); }, LanguageText(TEntry::ForSizeEmpty), "ForSizeCombo"},
            {[&] { set("ForSizeCombo", "0"); }, SizeInvalid(TEntry::ForSizeInvalid),
             "ForSizeCombo"},
            {[&] { set("ForSizeCombo", "128"); }, SizeInvalid(TEntry::ForSizeInvalid),
             "ForSizeCombo"},
            {[&] { set("ForSizeCombo", "12a"); }, SizeInvalid(TEntry::ForSizeInvalid),
             "ForSizeCombo"},
            {[&] { set("RefLangEdit", ""); }, LanguageText(TEntry::RefLanguageEmpty),
             "RefLangEdit"},
            {[&] { set("RefFontCombo", ""); }, LanguageText(TEntry::RefFontEmpty), "RefFontCombo"},
            {[&] { set("RefFontCombo", "Nergens"); }, LanguageText(TEntry::RefFontNotInstalled),
             "RefFontCombo"},
            {[&] { greek("RefCharsetCombo"), set("RefFontCombo", "Times New Roman"); },
             LanguageText(TEntry::RefFontLacksCharset), "RefFontCombo"},
            {[&] { set("RefSizeCombo", ""); }, LanguageText(TEntry::RefSizeEmpty), "RefSizeCombo"},
            {[&] { set("RefSizeCombo", "300"); }, SizeInvalid(TEntry::RefSizeInvalid),
             "RefSizeCombo"},
    };
    for (const auto &[change, message, control] : cases) {
        SCOPED_TRACE(control);
        WLSettingsForm->show();
        FillValid();
        for (const char *charsets : {"ForCharsetCombo", "RefCharsetCombo"})
            Combo(WLSettingsForm, charsets)->setCurrentIndex(0);
        change();
        Click(WLSettingsForm, "OKButton");
        EXPECT_EQ(std::vector<std::string>{message}, box.Take());
        EXPECT_TRUE(WLSettingsForm->isVisible());
        ASSERT_NE(nullptr, WLSettingsForm->focusWidget());
        EXPECT_EQ(control, WLSettingsForm->focusWidget()->objectName().toStdString());
        WLSettingsForm->close();
    }

    // 64 characters and a size with leading zeros pass; the close box after a failed OK answers
    // Cancel.
    const int failedThenClosed = RunModal(WLSettingsForm, [&] {
        FillValid();
        set("ForSizeCombo", "");
        Click(WLSettingsForm, "OKButton");
        WLSettingsForm->close();
    });
    EXPECT_EQ(mrCancel, failedThenClosed);
    box.Take();
    const int passed = RunModal(WLSettingsForm, [&] {
        FillValid();
        QLineEdit *name = Edit(WLSettingsForm, "ForLangEdit");
        name->clear();
        QTest::keyClicks(name, QString(65, QLatin1Char('n')));
        EXPECT_EQ(64, name->text().size());
        set("RefSizeCombo", "007");
        Click(WLSettingsForm, "OKButton");
    });
    EXPECT_EQ(mrOk, passed);
    EXPECT_TRUE(box.Texts.empty());
    TListSettings read;
    WLSettingsForm->Read(read);
    EXPECT_EQ(std::string(64, 'n'), read.ForLanguage);
    EXPECT_EQ(7, read.RefSize);
}

TEST_F(ListDialogs, ACharsetChangeRefillsTheFontList)
{
    fonts.NoFace = {{"Times New Roman", GreekCharset}};
    const std::vector<std::tuple<QWidget *, const char *, const char *>> pairs{
            {WLSettingsForm, "ForCharsetCombo", "ForFontCombo"},
            {WLSettingsForm, "RefCharsetCombo", "RefFontCombo"},
            {ChangeFontForm, "CharsetCombo", "FontCombo"},
    };
    for (const auto &[window, charsetName, fontName] : pairs) {
        SCOPED_TRACE(charsetName);
        window->show();
        QComboBox *charsets = Combo(window, charsetName);
        QComboBox *font = Combo(window, fontName);
        charsets->setCurrentIndex(0);
        EXPECT_EQ(QStringList({"Arial", "Times New Roman"}), Items(*font));
        charsets->setCurrentIndex(CharsetToIndex(GreekCharset));
        EXPECT_EQ(QStringList{"Arial"}, Items(*font));
        window->close();
    }
}

// The foreign-characters window shows the list's font where its fields are valid; its text
// reaches the list only through OK, while Save makes it the default at once.
TEST_F(ListDialogs, ForeignCharactersKeepToTheirBytesAndSaveTheDefaultAtOnce)
{
    QLineEdit *edit = Edit(ForCharsForm, "ForCharsEdit");
    ForCharsForm->SetEditFont(QFont(QStringLiteral("Arial"), 10), CodePage::Default);
    ForCharsForm->SetText("");
    QTest::keyClicks(edit, QString(101, QLatin1Char('a')));
    EXPECT_EQ(100, edit->text().size());

    ForCharsForm->SetEditFont(QFont(QStringLiteral("Arial"), 10),
                              CodePage::ForCharset(ShiftJisCharset));
    ForCharsForm->SetText("");
    for (int i = 0; i < 51; ++i) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("\u65E5"));
        QApplication::sendEvent(edit, &key);
    }
    EXPECT_EQ(50, edit->text().size());
    EXPECT_EQ(100u, ForCharsForm->Text().size());

    const QFont before(QStringLiteral("Times New Roman"), 9);
    ForCharsForm->SetEditFont(before, CodePage::Default);
    const std::string defaults = ForeignCharacters;
    const int cancelled = RunModal(WLSettingsForm, [&] {
        FillValid();
        WLSettingsForm->ForeignChars = "ab|c";
        Combo(WLSettingsForm, "ForFontCombo")->setEditText(QStringLiteral("Nergens"));
        Combo(WLSettingsForm, "ForSizeCombo")->setEditText(QStringLiteral("48"));
        QTimer::singleShot(0, ForCharsForm, [&] {
            EXPECT_EQ(QStringLiteral("ab|c"), edit->text());
            EXPECT_EQ(before.family(), edit->font().family());
            EXPECT_EQ(48, edit->font().pointSize());
            // The window grows with the edit and the buttons keep their distance from its bottom.
            EXPECT_EQ(edit->height() + TForCharsForm::HeightBeyondEdit, ForCharsForm->height());
            EXPECT_GT(edit->height(), 40);
            EXPECT_EQ(ForCharsForm->height() - TForCharsForm::ButtonsFromBottom,
                      Child<QPushButton>(ForCharsForm, "OKButton")->y());
            edit->setText(QStringLiteral("xy"));
            Click(ForCharsForm, "SaveButton");
            Click(ForCharsForm, "CancelButton");
        });
        Click(WLSettingsForm, "ForCharsButton");
        EXPECT_EQ("xy", ForeignCharacters);
        EXPECT_EQ("ab|c", WLSettingsForm->ForeignChars);

        QTimer::singleShot(0, ForCharsForm, [&] {
            edit->setText(QStringLiteral("z"));
            Click(ForCharsForm, "OKButton");
        });
        Click(WLSettingsForm, "ForCharsButton");
        EXPECT_EQ("z", WLSettingsForm->ForeignChars);
        Click(WLSettingsForm, "CancelButton");
    });
    EXPECT_EQ(mrCancel, cancelled);
    EXPECT_NE(defaults, ForeignCharacters);
    EXPECT_TRUE(box.Texts.empty());
}

// The reader's change-font question is the dialog; a list whose font is missing opens with the
// font the user picks.
TEST_F(ListDialogs, AMissingFontIsReplacedThroughTheChangeFontDialog)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("Frans.wdl")).toStdString();
    FrenchList(2)->SaveToFile(path);
    fonts.Installed = {"Times New Roman"};
    fonts.NoFace = {{"Times New Roman", GreekCharset}};
    box.Answer = mbYes;
    QTimer::singleShot(0, ChangeFontForm, [&] {
        QComboBox *font = Combo(ChangeFontForm, "FontCombo");
        QComboBox *charset = Combo(ChangeFontForm, "CharsetCombo");
        EXPECT_TRUE(font->isAncestorOf(ChangeFontForm->focusWidget())
                    || ChangeFontForm->focusWidget() == font);
        const std::vector<std::tuple<int, const char *, std::string>> failures{
                {0, "", LanguageText(TEntry::ChangeFontNameEmpty)},
                {0, "Nergens", LanguageText(TEntry::ChangeFontNotInstalled)},
                {CharsetToIndex(GreekCharset), "Times New Roman",
                 ReplacePlaceholders(LanguageText(TEntry::ChangeFontLacksCharset),
                                     {{"%cs%", CharsetName(GreekCharset)}})},
        };
        box.Take();
        for (const auto &[index, name, message] : failures) {
            charset->setCurrentIndex(index);
            font->setEditText(QLatin1String(name));
            Click(ChangeFontForm, "OKButton");
            EXPECT_EQ(std::vector<std::string>{message}, box.Take());
            EXPECT_TRUE(ChangeFontForm->isVisible());
        }
        const auto choose = [this] {
            Combo(ChangeFontForm, "CharsetCombo")->setCurrentIndex(0);
            Combo(ChangeFontForm, "FontCombo")->setEditText(QStringLiteral("Times New Roman"));
            Click(ChangeFontForm, "OKButton");
        };
        // The reference font is missing as well: the question comes again.
        QTimer::singleShot(0, ChangeFontForm, choose);
        choose();
    });
    TWordList opened;
    bool ok = false;
    int format = 0;
    opened.LoadFromFile(path, ok, format);
    EXPECT_TRUE(ok);
    ASSERT_NE(nullptr, opened.ForFont);
    EXPECT_EQ("Times New Roman", opened.ForFont->Name);
    EXPECT_EQ("Times New Roman", opened.RefFont->Name);
    EXPECT_EQ(2, opened.Count());

    // The close box cancels the opening.
    QTimer::singleShot(0, ChangeFontForm, [] { ChangeFontForm->close(); });
    TWordList closed;
    closed.LoadFromFile(path, ok, format);
    EXPECT_FALSE(ok);
}

TEST_F(ListDialogs, FindHandsEachRequestToTheGridWithItsPageAndBounds)
{
    TRecordingFindTarget target;
    FindForm->SetFindTarget(&target);
    Grid().SetWordList(FrenchList(3));
    MainForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm));
    // The grid itself keeps the page; an editor turns to its column's page.
    FindForm->SetActivePage(TFindForm::fpLesson);
    Grid().SelectCellAt(Grid().ColumnOfKind(ckScore), 1);
    MainForm->UpdateCommands();
    Form().ActFind->trigger();
    EXPECT_EQ(TFindForm::fpLesson, FindForm->ActivePage());
    FindForm->close();
    target.Calls.clear();
    MainForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm));
    Grid().SelectCellAt(Grid().ColumnOfKind(ckRefWord), 1);
    ASSERT_EQ(Form().RefWordEdit, QApplication::focusWidget());
    FindForm->FindEdits[TFindForm::fpReference]->setText(QStringLiteral("woord"));
    MainForm->UpdateCommands();
    Form().ActFind->trigger();
    EXPECT_EQ(TFindForm::fpReference, FindForm->ActivePage());
    ASSERT_TRUE(QTest::qWaitForWindowActive(FindForm));
    ASSERT_EQ(1u, target.Calls.size());
    EXPECT_EQ("prepare", target.Calls[0].Kind);
    EXPECT_EQ(QString::fromStdString(Grid().GetWordList()->ForLanguage),
              FindForm->ui->PageControl->tabText(TFindForm::fpForeign));
    TKBAwareEdit *find = FindForm->FindEdits[TFindForm::fpReference];
    EXPECT_EQ(find, FindForm->focusWidget());
    EXPECT_EQ(QStringLiteral("woord"), find->selectedText());
    EXPECT_TRUE(FindForm->ui->FindButton->isEnabled());

    // A page whose find edit is empty has no action to offer.
    FindForm->SetActivePage(TFindForm::fpLesson);
    for (QPushButton *button :
         {FindForm->ui->FindButton, FindForm->ui->ReplaceButton, FindForm->ui->ReplaceAllButton})
        EXPECT_FALSE(button->isEnabled());

    // A click chooses the control the window comes back to; the keyboard does not.
    QTest::mouseClick(FindForm->ReplaceEdits[TFindForm::fpLesson], Qt::LeftButton);
    EXPECT_EQ(TFindForm::pcReplace, FindForm->FocusIndex);
    QTest::keyClick(FindForm->focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(TFindForm::pcReplace, FindForm->FocusIndex);
    FindForm->SetActivePage(TFindForm::fpReference);
    EXPECT_EQ(FindForm->ReplaceEdits[TFindForm::fpReference], FindForm->focusWidget());

    FindForm->ModeCombos[TFindForm::fpReference]->setCurrentIndex(2);
    FindForm->ReplaceEdits[TFindForm::fpReference]->setText(QStringLiteral("term"));
    FindForm->ui->FindButton->click();
    FindForm->ui->ReplaceButton->click();
    FindForm->ui->ReplaceAllButton->click();
    FindForm->close();
    MainForm->UpdateCommands();
    Form().MIFindNext->trigger();
    ASSERT_EQ(5u, target.Calls.size());
    const auto expect = [&](size_t i, const char *kind, bool replace, bool inSelection,
                            const char *replaceText) {
        SCOPED_TRACE(i);
        const TRecordingFindTarget::TCall &call = target.Calls[i];
        EXPECT_EQ(kind, call.Kind);
        EXPECT_EQ(TFindForm::fpReference, call.Column);
        EXPECT_EQ(2, call.Mode);
        EXPECT_EQ(replace, call.Replace);
        EXPECT_EQ(inSelection, call.InSelection);
        EXPECT_EQ("woord", call.FindText);
        EXPECT_EQ(replaceText, call.ReplaceText);
    };
    expect(1, "find", false, true, "");
    expect(2, "find", true, true, "term");
    expect(3, "all", true, true, "term");
    // F3 without the window: no bound of the window's range.
    expect(4, "find", false, false, "");
    FindForm->SetFindTarget(nullptr);
}

// The edits take the list's fonts and the window grows so that both edits and the buttons fit.
TEST_F(ListDialogs, FindGrowsWithALargeForeignFont)
{
    auto list = FrenchList(1);
    list->ForFont->Size = 36;
    Grid().SetWordList(std::move(list));
    FindForm->Open(MainForm);
    const int h = FindForm->FindEdits[TFindForm::fpForeign]->height();
    EXPECT_GT(h, 40);
    EXPECT_EQ(h, FindForm->FindEdits[TFindForm::fpContext]->height());
    EXPECT_EQ(h + 59, FindForm->ReplaceLabels[TFindForm::fpLesson]->y());
    EXPECT_EQ(h + 59 + 24, FindForm->ReplaceEdits[TFindForm::fpLesson]->y());
    const int pages = 2 * h + 135;
    EXPECT_EQ(pages, FindForm->ui->PageControl->height());
    EXPECT_EQ(pages + 15, FindForm->ui->CloseButton->y());
    EXPECT_EQ(pages + 15 + 67, FindForm->height());
    FindForm->close();
}

// As a user would: no list, New through the settings window, three words typed, saved, closed
// and opened again.
TEST_F(ListDialogs, NewThroughTheSettingsWindowTypeSaveCloseAndReopen)
{
    QTemporaryDir dir;
    TScriptedFileDialogs dialogs;
    ASSERT_EQ(nullptr, Grid().GetWordList());
    QTimer::singleShot(0, WLSettingsForm, [&] {
        EXPECT_EQ(PackText(TEntry::NewListCaption), WLSettingsForm->windowTitle());
        EXPECT_EQ(DecodeText(LanguageText(TEntry::DefaultRefLanguage)),
                  Edit(WLSettingsForm, "RefLangEdit")->text());
        QTest::keyClicks(Edit(WLSettingsForm, "ForLangEdit"), QStringLiteral("Frans"));
        Combo(WLSettingsForm, "ForSizeCombo")->setEditText(QStringLiteral("14"));
        Click(WLSettingsForm, "OKButton");
    });
    MainForm->UpdateCommands();
    Form().ActNew->trigger();
    ASSERT_NE(nullptr, Grid().GetWordList());
    TWordList &list = *Grid().GetWordList();
    EXPECT_EQ("Frans", list.ForLanguage);
    EXPECT_EQ(14, list.ForFont->Size);
    EXPECT_EQ("Arial", list.RefFont->Name);
    EXPECT_EQ(ForeignCharacters, list.ForeignChars);
    MainForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm));
    for (const char *word : {"chien", "chat", "oiseau"}) {
        Grid().SelectCellAt(1, Grid().GetWordCount() + 1);
        MainForm->UpdateCommands();
        Form().ActInsertNewWord->trigger();
        Grid().SelectCellAt(Grid().ColumnOfKind(ckForWord), Grid().GetWordCount());
        ASSERT_EQ(Form().ForWordEdit, QApplication::focusWidget());
        QTest::keyClicks(Form().ForWordEdit, QLatin1String(word));
    }
    ASSERT_EQ(3, list.Count());
    EXPECT_EQ("oiseau", list.GetForWord(2));

    dialogs.Choices = {dir.filePath(QStringLiteral("Dieren.wdl"))};
    MainForm->UpdateCommands();
    Form().ActSave->trigger();
    for (int i = 0; i < 250 && (Grid().IsBusy() || MainForm->Busy); ++i)
        QTest::qWait(20);
    ASSERT_TRUE(Grid().GetWordList()->Saved);
    EXPECT_TRUE(MainForm->close());
    EXPECT_TRUE(box.Texts.empty());
    DestroyForms();
    delete std::exchange(LanguagePack, nullptr);

    CreateProgram({dir.filePath(QStringLiteral("Dieren.wdl"))});
    ASSERT_TRUE(Start());
    ASSERT_NE(nullptr, Grid().GetWordList());
    const TWordList &reopened = *Grid().GetWordList();
    ASSERT_EQ(3, reopened.Count());
    EXPECT_EQ("chien", reopened.GetForWord(0));
    EXPECT_EQ("chat", reopened.GetForWord(1));
    EXPECT_EQ("oiseau", reopened.GetForWord(2));
    EXPECT_EQ("Frans", reopened.ForLanguage);
    EXPECT_EQ(14, reopened.ForFont->Size);
}

// Without a target of its own the window searches the main window's grid: Replace All through the
// window's buttons changes the list's words, and Undo brings them back.
TEST_F(ListDialogs, FindReplacesInTheMainWindowsGrid)
{
    Grid().SetWordList(
            TListBuilder().Languages("Frans", 1, "Nederlands", 1).Words(3, "mot#").Take());
    std::vector<std::string> before;
    for (int i = 0; i < Grid().GetWordList()->Count(); ++i)
        before.push_back(Grid().GetWordList()->GetForWord(i));
    MainForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm));
    MainForm->UpdateCommands();
    Form().ActFind->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowActive(FindForm));
    FindForm->SetActivePage(TFindForm::fpForeign);
    FindForm->FindEdits[TFindForm::fpForeign]->setText(QStringLiteral("mot"));
    FindForm->ReplaceEdits[TFindForm::fpForeign]->setText(QStringLiteral("mots"));
    FindForm->ui->ReplaceAllButton->click();
    FindForm->close();
    const TWordList &list = *Grid().GetWordList();
    ASSERT_EQ(3, list.Count());
    for (int i = 0; i < list.Count(); ++i)
        EXPECT_EQ("mots" + before[static_cast<size_t>(i)].substr(3), list.GetForWord(i)) << i;
    MainForm->UpdateCommands();
    Form().ActUndo->trigger();
    for (int i = 0; i < Grid().GetWordList()->Count(); ++i)
        EXPECT_EQ(before[static_cast<size_t>(i)], Grid().GetWordList()->GetForWord(i)) << i;
}
