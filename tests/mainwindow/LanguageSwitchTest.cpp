#include "core/Texts.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "dialogs/Unit_AboutForm.h"
#include "dialogs/Unit_ChangeFontForm.h"
#include "dialogs/Unit_FindForm.h"
#include "dialogs/Unit_ForCharsForm.h"
#include "dialogs/Unit_OptionsForm.h"
#include "dialogs/Unit_PartsOfSpeechForm.h"
#include "dialogs/Unit_WLSettingsForm.h"
#include "exercises/Unit_ExercForm.h"
#include "exercises/Unit_ExercSetForm.h"
#include "exercises/Unit_ExercStartForm.h"
#include "exercises/Unit_FilterForm.h"
#include "exercises/Unit_SetExercWordsForm.h"
#include "exercises/Unit_SetLessonForm.h"
#include "exercises/Unit_TestResultForm.h"
#include "grid/WordsGrid.h"
#include "kbtool/Unit_KBLayoutForm.h"
#include "mainwindow/ApplyLanguage.h"
#include "mainwindow/Main.h"
#include "print/Unit_PrintPreviewForm.h"
#include "sound/Unit_BatchRec.h"
#include "sound/Unit_ConvertForm.h"
#include "support/ScriptedMessageBox.h"
#include "support/WordListFixtures.h"
#include "support/gui/ProgramFixture.h"
#include "ui_MainForm.h"
#include "ui_OptionsForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// Every window that shows texts of the pack.
std::vector<QWidget *> PackWindows()
{
    return {ChangeFontForm, ConvertForm,       MainForm,     WLSettingsForm,   ForCharsForm,
            SetLessonForm,  FindForm,          BatchRecForm, PrintPreviewForm, SetExercWordsForm,
            ExercStartForm, ExercSetForm,      FilterForm,   ExercForm,        TestResultForm,
            OptionsForm,    PartsOfSpeechForm, KBLayoutForm, AboutForm};
}

// The windows of this unit, whose labels must hold their texts in either language.
std::vector<QWidget *> DialogWindows()
{
    return {OptionsForm, PartsOfSpeechForm, WLSettingsForm, FindForm, ForCharsForm, ChangeFontForm};
}

std::set<QString> PackTexts(const std::string &language)
{
    TLanguagePack pack;
    EXPECT_TRUE(pack.Load(language));
    std::set<QString> texts;
    for (const std::string &entry : pack.Entries)
        texts.insert(DecodeText(entry));
    return texts;
}

// Each text a window shows, named by the control that shows it.
std::vector<std::pair<QString, QString>> ShownTexts(QWidget *window)
{
    std::vector<std::pair<QString, QString>> texts{{window->objectName(), window->windowTitle()}};
    for (QLabel *label : window->findChildren<QLabel *>())
        texts.emplace_back(label->objectName(), label->text());
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>())
        texts.emplace_back(button->objectName(), button->text());
    for (QGroupBox *box : window->findChildren<QGroupBox *>())
        texts.emplace_back(box->objectName(), box->title());
    for (QTabWidget *tabs : window->findChildren<QTabWidget *>()) {
        for (int i = 0; i < tabs->count(); ++i)
            texts.emplace_back(tabs->widget(i)->objectName(), tabs->tabText(i));
    }
    for (QComboBox *combo : window->findChildren<QComboBox *>()) {
        for (int i = 0; i < combo->count(); ++i)
            texts.emplace_back(combo->objectName(), combo->itemText(i));
    }
    for (QAction *action : window->findChildren<QAction *>()) {
        texts.emplace_back(action->objectName(), action->text());
        texts.emplace_back(action->objectName(), action->toolTip());
    }
    for (QMenu *menu : window->findChildren<QMenu *>())
        texts.emplace_back(menu->objectName(), menu->title());
    return texts;
}

void SwitchTo(const std::string &language)
{
    auto *pack = new TLanguagePack;
    ASSERT_TRUE(pack->Load(language));
    delete std::exchange(LanguagePack, pack);
    Language = language;
    ApplyLanguage();
}

// Shows each page of the window in turn and reports a label or button whose text does not fit.
void ExpectTextsFit(QWidget *window)
{
    window->show();
    const QList<QTabWidget *> tabs = window->findChildren<QTabWidget *>();
    const int pages = tabs.isEmpty() ? 1 : tabs.front()->count();
    for (int page = 0; page < pages; ++page) {
        if (!tabs.isEmpty())
            tabs.front()->setCurrentIndex(page);
        QCoreApplication::processEvents();
        for (QLabel *label : window->findChildren<QLabel *>()) {
            if (!label->isVisible() || label->text().isEmpty())
                continue;
            const int needed = label->wordWrap() ? label->heightForWidth(label->width())
                                                 : label->sizeHint().width();
            EXPECT_GE(label->wordWrap() ? label->height() : label->width(), needed)
                    << label->objectName().toStdString() << " \"" << label->text().toStdString()
                    << '"';
        }
        for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
            if (!button->isVisible() || button->text().isEmpty())
                continue;
            EXPECT_GE(button->width(), button->sizeHint().width())
                    << button->objectName().toStdString() << " \"" << button->text().toStdString()
                    << '"';
        }
    }
    window->hide();
}

class LanguageSwitch : public ProgramFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ProgramFixture::SetUp());
        CreateProgram();
        ASSERT_TRUE(Start());
        // Language names of no pack, so that a page showing them is no text left behind.
        Grid().SetWordList(
                TListBuilder().Languages("Lingua", 1, "Eigen", 1).Words(3, "mot#").Take());
    }

    TScriptedBox box;
};

} // namespace

TEST_F(LanguageSwitch, NoTextOfTheOtherPackStaysAndEveryDialogLabelFits)
{
    const std::set<QString> dutch = PackTexts("Nederlands");
    const std::set<QString> english = PackTexts("English");
    for (const auto &[language, other, own] :
         {std::tuple{"English", &dutch, &english}, std::tuple{"Nederlands", &english, &dutch},
          std::tuple{"English", &dutch, &english}}) {
        SCOPED_TRACE(language);
        ASSERT_NO_FATAL_FAILURE(SwitchTo(language));
        // The language pages take the list's language names when the window is shown.
        FindForm->Open(MainForm);
        for (QWidget *window : PackWindows()) {
            for (const auto &[name, text] : ShownTexts(window)) {
                // The conversion window gives these two the texts of its mode when it is shown.
                if (window == ConvertForm
                    && (name == QLatin1String("ConvLabel")
                        || name == QLatin1String("CurrentLabel")))
                    continue;
                // The exercise window gives its caption and score boxes the texts of an exercise
                // or a test when one starts.
                if (window == ExercForm
                    && (name == ExercForm->objectName() || name == QLatin1String("LocalScoreBox")
                        || name == QLatin1String("GlobalScoreBox")))
                    continue;
                EXPECT_FALSE(!text.isEmpty() && other->count(text) > 0 && own->count(text) == 0)
                        << window->objectName().toStdString() << '.' << name.toStdString() << " \""
                        << text.toStdString() << '"';
            }
        }
        for (QWidget *window : DialogWindows()) {
            SCOPED_TRACE(window->objectName().toStdString());
            ExpectTextsFit(window);
        }
    }
    EXPECT_TRUE(box.Texts.empty());
}

// Entry n reads "#n", so each control shows the number it was given.
TEST_F(LanguageSwitch, EveryDialogTakesItsEntriesAndRefillsItsListsUnderBlockedSignals)
{
    TNumberedPack pack;
    FindForm->ModeCombos[TFindForm::fpLesson]->setCurrentIndex(2);
    FindForm->FocusIndex = TFindForm::pcReplace;
    for (int round = 0; round < 2; ++round) {
        ApplyLanguage();
        const Ui::TOptionsForm &options = *OptionsForm->ui;
        EXPECT_EQ(NumberedQText(TEntry::OptionsCaption), OptionsForm->windowTitle());
        for (QLabel *label : {options.QWordsLabel, options.NWordsLabel, options.IWordsLabel})
            EXPECT_EQ(NumberedQText(TEntry::LevelWordsLabel), label->text());
        for (QLabel *label : {options.QTimesLabel, options.NTimesLabel, options.ITimesLabel})
            EXPECT_EQ(NumberedQText(TEntry::LevelTimesLabel), label->text());
        EXPECT_EQ(NumberedQText(TEntry::OthersTab),
                  options.PageControl->tabText(TOptionsForm::opOthers));
        EXPECT_EQ(NumberedQText(TEntry::PartsOfSpeechCaption), PartsOfSpeechForm->windowTitle());
        EXPECT_EQ(NumberedQText(TEntry::ForCharsCaption), ForCharsForm->windowTitle());
        EXPECT_EQ(NumberedQText(TEntry::ChangeFontCaption), ChangeFontForm->windowTitle());
        EXPECT_EQ(NumberedQText(TEntry::FindCaption), FindForm->windowTitle());
        EXPECT_EQ(NumberedQText(TEntry::CloseButton),
                  FindForm->findChild<QAbstractButton *>(QStringLiteral("CloseButton"))->text());
        EXPECT_EQ(NumberedQText(TEntry::ForCharsButton),
                  WLSettingsForm->findChild<QAbstractButton *>(QStringLiteral("ForCharsButton"))
                          ->text());
        for (QComboBox *modes : FindForm->ModeCombos) {
            ASSERT_EQ(3, modes->count());
            EXPECT_EQ(0, modes->currentIndex());
            EXPECT_EQ(NumberedQText(TEntry::EqualsMode), modes->itemText(1));
        }
        for (const char *charsets : {"ForCharsetCombo", "RefCharsetCombo"}) {
            auto *combo = WLSettingsForm->findChild<QComboBox *>(QLatin1String(charsets));
            ASSERT_EQ(16, combo->count());
            EXPECT_EQ(NumberedQText(TEntry::FirstCharsetName), combo->itemText(0));
        }
        EXPECT_EQ(16,
                  ChangeFontForm->findChild<QComboBox *>(QStringLiteral("CharsetCombo"))->count());
        // A refill is no click of the user's.
        EXPECT_EQ(TFindForm::pcReplace, FindForm->FocusIndex);
    }
}

TEST_F(LanguageSwitch, TheHelpFileIsTheNamedFileBesideTheProgramOnlyWhenItIsThere)
{
    TNumberedPack pack;
    const QString name
            = QStringLiteral("tarnwick-help-%1.chm").arg(QCoreApplication::applicationPid());
    pack.Set(static_cast<int>(TEntry::HelpFileName), name.toStdString());
    ApplyLanguage();
    EXPECT_EQ("", ApplicationHelpFile);

    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ApplyLanguage();
    QFile::remove(path);
    EXPECT_EQ(QFile::encodeName(path).toStdString(), ApplicationHelpFile);
}

// The refills of the editors' lists are no choice of the user's: the word being edited keeps its
// part of speech and its level, and the editors keep showing them.
TEST_F(LanguageSwitch, ApplyingWhileAWordIsEditedLeavesTheWordAsItWas)
{
    PartsOfSpeech = "zn,ww;bn";
    Grid().SetWordList(TListBuilder()
                               .Languages("Lingua", 1, "Eigen", 1)
                               .Word("un", "een")
                               .PartOfSpeech("lidw")
                               .Levels(2, 3)
                               .Take());
    const TWordList &list = *Grid().GetWordList();
    MainForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm));
    Grid().SelectCellAt(Grid().ColumnOfKind(ckPartOfSpeech), 1);
    ASSERT_TRUE(Form().PartOfSpeechCombo->isVisible());
    ASSERT_NO_FATAL_FAILURE(SwitchTo("English"));
    EXPECT_EQ("lidw", list.GetPartOfSpeech(0));
    EXPECT_EQ(u"lidw", Form().PartOfSpeechCombo->currentText());
    EXPECT_EQ(2, Form().PartOfSpeechCombo->count());

    Grid().SelectCellAt(Grid().ColumnOfKind(ckLevel2), 1);
    ASSERT_TRUE(Form().ExercLevelCombo->isVisible());
    ASSERT_NO_FATAL_FAILURE(SwitchTo("Nederlands"));
    EXPECT_EQ(2, list.GetLevel1(0));
    EXPECT_EQ(3, list.GetLevel2(0));
    EXPECT_EQ(3, Form().ExercLevelCombo->currentIndex());
    EXPECT_EQ(4, Form().ExercLevelCombo->count());
    EXPECT_EQ("lidw", list.GetPartOfSpeech(0));
}
