#include "core/Unit_WordList.h"
#include "dialogs/Unit_FindForm.h"
#include "grid/FindTarget.h"
#include "grid/WordsGrid.h"
#include "mainwindow/Main.h"
#include "support/BeepRecorder.h"
#include "support/WordListFixtures.h"
#include "support/gui/ProgramFixture.h"
#include "ui_FindForm.h"
#include "ui_MainForm.h"
#include "widgets/KBAwareEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// The find window's ten fields hold only what the code page of their column holds.

namespace {

constexpr uint8_t WesternCharset = 0;
constexpr uint8_t RussianCharset = 204;

// The requests the window hands to the grid, by their texts.
class TTextRecorder : public IFindTarget
{
public:
    void PrepareTargetRows() override { }
    void FindNext(uint8_t, uint8_t, bool, bool, const std::string &findText,
                  const std::string &replaceText) override
    {
        Texts.push_back({findText, replaceText});
    }
    void ReplaceAll(uint8_t, uint8_t, const std::string &findText,
                    const std::string &replaceText) override
    {
        Texts.push_back({findText, replaceText});
    }
    std::vector<std::pair<std::string, std::string>> Texts;
};

class FindFields : public ProgramFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ProgramFixture::SetUp());
        CreateProgram();
        ASSERT_TRUE(Start());
    }

    void ShowList(uint8_t forCharset, uint8_t refCharset)
    {
        Grid().SetWordList(TListBuilder()
                                   .Languages("Frans", forCharset, "Russisch", refCharset)
                                   .Words(3, "mot#", "slovo#")
                                   .Take());
        FindForm->Open(MainForm);
    }

    // The clipboard's text put into the edit as the user's Ctrl+V puts it.
    static void Paste(TKBAwareEdit &edit, const QString &text)
    {
        QApplication::clipboard()->setText(text);
        edit.setFocus();
        edit.paste();
    }

    // A key that types the text, as the desktop's layout gives it.
    static void TypeCharacter(TKBAwareEdit &edit, const QString &text)
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(&edit, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(&edit, &release);
    }

    TBeepRecorder beeps;
};

} // namespace

TEST_F(FindFields, APastedCharacterTheColumnCannotHoldIsRefusedInEveryField)
{
    ShowList(WesternCharset, RussianCharset);
    const QString cyrillic = QStringLiteral("\u0416");
    for (int page = 0; page < TFindForm::PageCount; ++page) {
        FindForm->SetActivePage(static_cast<TFindForm::TPage>(page));
        for (TKBAwareEdit *edit : {FindForm->FindEdits[static_cast<size_t>(page)],
                                   FindForm->ReplaceEdits[static_cast<size_t>(page)]}) {
            SCOPED_TRACE(edit->objectName().toStdString());
            edit->setText(QStringLiteral("mot"));
            edit->setCursorPosition(1);
            const int before = beeps.Count();
            Paste(*edit, QStringLiteral("a") + cyrillic);
            const bool held = page == TFindForm::fpReference;
            EXPECT_EQ(held ? QStringLiteral("ma\u0416ot") : QStringLiteral("mot"), edit->text());
            EXPECT_EQ(held ? 3 : 1, edit->cursorPosition()) << "the caret stays where it was";
            EXPECT_EQ(held ? 0 : 1, beeps.Count() - before);
            // Typed, the same character never reaches the field.
            edit->setCursorPosition(0);
            TypeCharacter(*edit, cyrillic);
            EXPECT_EQ(held ? QStringLiteral("\u0416ma\u0416ot") : QStringLiteral("mot"),
                      edit->text());
        }
    }
    FindForm->close();
}

// The list's words are never changed into question marks: a refused replacement leaves the one
// the field held before.
TEST_F(FindFields, ReplaceAllAfterARefusedPasteReplacesWithTheTextTheFieldKept)
{
    ShowList(WesternCharset, WesternCharset);
    FindForm->SetActivePage(TFindForm::fpForeign);
    FindForm->FindEdits[TFindForm::fpForeign]->setText(QStringLiteral("mot"));
    TKBAwareEdit &replace = *FindForm->ReplaceEdits[TFindForm::fpForeign];
    replace.setText(QStringLiteral("w"));
    Paste(replace, QStringLiteral("\u0416"));
    FindForm->ui->ReplaceAllButton->click();
    FindForm->close();
    const TWordList &list = *Grid().GetWordList();
    for (int i = 0; i < list.Count(); ++i)
        EXPECT_EQ("w" + std::to_string(i), list.GetForWord(i));
}

// A find text kept from a list of another code page searches for nothing and beeps, with the
// window and with F3.
TEST_F(FindFields, ATextTheNewListCannotHoldIsNeverSearchedFor)
{
    TTextRecorder target;
    FindForm->SetFindTarget(&target);
    ShowList(RussianCharset, WesternCharset);
    FindForm->SetActivePage(TFindForm::fpForeign);
    FindForm->FindEdits[TFindForm::fpForeign]->setText(QStringLiteral("\u0416\u0438\u0442\u044C"));
    FindForm->ReplaceEdits[TFindForm::fpForeign]->setText(QStringLiteral("\u0436"));
    FindForm->ui->FindButton->click();
    ASSERT_EQ(1u, target.Texts.size());
    EXPECT_EQ("\xC6\xE8\xF2\xFC", target.Texts[0].first);
    FindForm->close();

    ShowList(WesternCharset, WesternCharset);
    const int before = beeps.Count();
    for (QPushButton *button :
         {FindForm->ui->FindButton, FindForm->ui->ReplaceButton, FindForm->ui->ReplaceAllButton})
        button->click();
    FindForm->close();
    FindForm->FindAgain();
    EXPECT_EQ(1u, target.Texts.size());
    EXPECT_EQ(4, beeps.Count() - before);
    FindForm->SetFindTarget(nullptr);
}

// The window grows with the list's fonts; the part-of-speech and lesson fields keep the window's
// font and their own height.
TEST_F(FindFields, PartOfSpeechAndLessonFieldsKeepTheirOwnHeight)
{
    auto list = FrenchList(1);
    list->ForFont->Size = 36;
    Grid().SetWordList(std::move(list));
    FindForm->Open(MainForm);
    const int languageHeight = FindForm->FindEdits[TFindForm::fpForeign]->height();
    for (const TFindForm::TPage page : {TFindForm::fpPartOfSpeech, TFindForm::fpLesson}) {
        for (TKBAwareEdit *edit : {FindForm->FindEdits[page], FindForm->ReplaceEdits[page]}) {
            EXPECT_EQ(edit->sizeHint().height(), edit->height())
                    << edit->objectName().toStdString();
            EXPECT_LT(edit->height(), languageHeight);
        }
        EXPECT_EQ(languageHeight + 59 + 24, FindForm->ReplaceEdits[page]->y());
    }
    FindForm->close();
}
