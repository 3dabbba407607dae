#pragma once

// The word grid with the main window's seven controls, in a window of its own, for the grid's
// editing, mouse and command tests.

#include "core/PrivateMessages.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_Warnings.h"
#include "grid/WordsGrid.h"
#include "platform/Beep.h"
#include "platform/KbKeymap.h"
#include "platform/KeyboardLayouts.h"
#include "support/ScriptedMessageBox.h"
#include "support/WordListFixtures.h"
#include "widgets/KBAwareComboBox.h"
#include "widgets/KBAwareEdit.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// The desktop of these tests types with "us"; it must be set before the layout is detected.
inline const bool UsDesktop = qputenv("XKB_DEFAULT_LAYOUT", "us");

inline constexpr unsigned XkbOffset = 8;
inline constexpr uint8_t ShiftJisCharset = 128;

inline int Beeps = 0;
inline void CountBeep(TBeepKind)
{
    ++Beeps;
}

class TCountRecorder : public QObject
{
public:
    int WordCounts = 0;

protected:
    bool event(QEvent *event) override
    {
        if (static_cast<int>(event->type()) == WM_WORDCOUNTCHANGED) {
            ++WordCounts;
            return true;
        }
        return QObject::event(event);
    }
};

// The grid with the main window's seven controls, in a window of its own.
class GridEditing : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(UsDesktop);
        KbKeymap::UseSystemFilesOnly();
        TKbTyping::SetScanCodesAreXkb(true);
    }

    void SetUp() override
    {
        SetDefaultSettings();
        previousBeep = SetBeepHandler(CountBeep);
        Beeps = 0;
        ForWordEdit = new TKBAwareEdit(&window);
        RefWordEdit = new TKBAwareEdit(&window);
        ContextEdit = new TKBAwareEdit(&window);
        LessonEdit = new TKBAwareEdit(&window);
        PartOfSpeechCombo = new TKBAwareComboBox(&window);
        LevelCombo = new TKBAwareComboBox(&window);
        ForWordEdit->setMaxLength(512);
        RefWordEdit->setMaxLength(512);
        ContextEdit->setMaxLength(1000);
        LessonEdit->setMaxLength(64);
        PartOfSpeechCombo->setEditable(true);
        PartOfSpeechCombo->setCompleter(nullptr);
        PartOfSpeechCombo->setInsertPolicy(QComboBox::NoInsert);
        PartOfSpeechCombo->addItems({QStringLiteral("noun"), QStringLiteral("numeral")});
        LevelCombo->addItems({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                              QStringLiteral("3")});
        grid = new TWordsGrid(&window);
        grid->SetMessageTarget(&recorder);
        grid->SetForWordEdit(ForWordEdit);
        grid->SetRefWordEdit(RefWordEdit);
        grid->SetContextEdit(ContextEdit);
        grid->SetPartOfSpeechCombo(PartOfSpeechCombo);
        grid->SetLessonEdit(LessonEdit);
        grid->SetLevelCombo(LevelCombo);
        window.resize(1000, 400);
        grid->resize(1000, 400);
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
    }

    void TearDown() override
    {
        SetBeepHandler(previousBeep);
        KbLayouts::ActivateKeyboardLayout(KbLayouts::StartupLayout());
        SetDefaultSettings();
    }

    TWordList &Show(int words, uint8_t forCharset = 0)
    {
        grid->SetWordList(TListBuilder()
                                  .Languages("Duits", forCharset, "Nederlands", 0)
                                  .Words(words, "f#", "r#", "l#")
                                  .Take());
        recorder.WordCounts = 0;
        return *grid->GetWordList();
    }

    QWidget *Focused() const { return QApplication::focusWidget(); }

    // A key of the keyboard as the X server delivers it: the native scan code is the key's
    // evdev code + 8, the text what the desktop's layout would type.
    void Type(int key, unsigned scan, const QString &text)
    {
        QWidget *target = Focused();
        ASSERT_NE(nullptr, target);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, scan + XkbOffset, 0, 0, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, scan + XkbOffset, 0, 0, text);
        QApplication::sendEvent(target, &release);
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *target = Focused();
        ASSERT_NE(nullptr, target);
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }

    // A press and release of the button in the middle of the cell, as the user's mouse gives it.
    void Click(int col, int row, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(grid->viewport(), button, Qt::NoModifier,
                          grid->CellRect(col, row).center());
    }

    int ColOf(uint8_t kind) const { return grid->ColumnOfKind(kind); }
    std::pair<int, int> Cell() const { return {grid->Col(), grid->Row()}; }

    QWidget window;
    TNumberedPack pack;
    TCountRecorder recorder;
    TWordsGrid *grid = nullptr;
    TKBAwareEdit *ForWordEdit = nullptr;
    TKBAwareEdit *RefWordEdit = nullptr;
    TKBAwareEdit *ContextEdit = nullptr;
    TKBAwareEdit *LessonEdit = nullptr;
    TKBAwareComboBox *PartOfSpeechCombo = nullptr;
    TKBAwareComboBox *LevelCombo = nullptr;
    TBeepHandler previousBeep = nullptr;
};
