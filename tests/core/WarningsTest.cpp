#include "core/Unit_LanguagePack.h"
#include "core/Unit_Warnings.h"
#include "support/BeepRecorder.h"
#include "support/ScriptedMessageBox.h"

#include <QApplication>
#include <functional>
#include <gtest/gtest.h>

namespace {

class Warnings : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pack.Entries
                = {"Waarschuwing", "Bevestiging", "Informatie", "OK", "&Ja", "&Nee", "Annuleren"};
        saved = LanguagePack;
        LanguagePack = &pack;
        // Every dialog is answered with its first button unless a test says otherwise.
        box.Answer = 0;
        box.OnShow = [this](const TMessageRequest &) {
            beepsBeforeShow.push_back(Beeps.Kinds.size());
        };
    }

    void TearDown() override { LanguagePack = saved; }

    TLanguagePack pack;
    TLanguagePack *saved = nullptr;
    TScriptedBox box;
    std::vector<size_t> beepsBeforeShow;
    TBeepRecorder Beeps;
};

using Strings = QStringList;

} // namespace

TEST_F(Warnings, EachDialogHasItsTitleButtonsIconAndBeep)
{
    WarnYesNoCancel("a");
    WarnYesNo("b");
    ConfirmYesNo("c");
    ShowInformation("d");
    ShowWarning("e");
    ASSERT_EQ(5u, box.Requests.size());

    const struct
    {
        QString title;
        TMessageIcon icon;
        Strings buttons;
        int escape;
        TBeepKind beep;
    } expected[] = {
            {"Waarschuwing",
             TMessageIcon::Warning,
             {"&Ja", "&Nee", "Annuleren"},
             2,
             TBeepKind::Question},
            {"Waarschuwing", TMessageIcon::Warning, {"&Ja", "&Nee"}, 1, TBeepKind::Question},
            {"Bevestiging", TMessageIcon::Confirmation, {"&Ja", "&Nee"}, 1, TBeepKind::Question},
            {"Informatie", TMessageIcon::Information, {"OK"}, 0, TBeepKind::Default},
            {"Waarschuwing", TMessageIcon::Warning, {"OK"}, 0, TBeepKind::Question},
    };
    ASSERT_EQ(5, Beeps.Count());
    for (size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const TMessageRequest &shown = box.Requests[i];
        EXPECT_EQ(QString(QLatin1Char(static_cast<char>('a' + i))), shown.Text);
        EXPECT_EQ(expected[i].title, shown.Title);
        EXPECT_EQ(expected[i].icon, shown.Icon);
        EXPECT_EQ(expected[i].buttons, shown.Buttons);
        EXPECT_EQ(expected[i].escape, shown.EscapeButton);
        EXPECT_EQ(expected[i].beep, Beeps.Kinds[i]);
        // The beep sounds as the dialog comes up.
        EXPECT_EQ(i + 1, beepsBeforeShow[i]);
    }
}

TEST_F(Warnings, ThePlainMessageBoxHasNoPictureAndNoBeep)
{
    ShowMessage("done");
    ASSERT_EQ(1u, box.Requests.size());
    EXPECT_EQ("Tarnwick", box.Requests[0].Title);
    EXPECT_EQ("done", box.Requests[0].Text);
    EXPECT_EQ(TMessageIcon::None, box.Requests[0].Icon);
    EXPECT_EQ(Strings{"OK"}, box.Requests[0].Buttons);
    EXPECT_EQ(0, Beeps.Count());
}

TEST_F(Warnings, ResultsMapButtonsToYesNoCancel)
{
    const struct
    {
        int pressed;
        int yesNoCancel;
        int yesNo;
    } cases[] = {{0, 0, 0}, {1, 1, 1}, {2, 2, 1}, {-1, 2, 1}, {7, 2, 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pressed);
        box.Answer = c.pressed;
        EXPECT_EQ(c.yesNoCancel, WarnYesNoCancel("x"));
        EXPECT_EQ(c.yesNo, WarnYesNo("x"));
        EXPECT_EQ(c.yesNo, ConfirmYesNo("x"));
    }
}

TEST_F(Warnings, CaptionsFollowAReplacedPack)
{
    WarnYesNo("x");
    TLanguagePack english;
    english.Entries = {"Warning", "Confirm", "Information", "OK", "&Yes", "&No", "Cancel"};
    LanguagePack = &english;
    WarnYesNo("x");
    LanguagePack = &pack;
    ASSERT_EQ(2u, box.Requests.size());
    EXPECT_EQ((Strings{"&Ja", "&Nee"}), box.Requests[0].Buttons);
    EXPECT_EQ((Strings{"&Yes", "&No"}), box.Requests[1].Buttons);
    EXPECT_EQ("Warning", box.Requests[1].Title);
}

TEST_F(Warnings, ErrorsGetAFullStopAfterCharactersSortingAfterIt)
{
    EXPECT_EQ("abc.", ErrorText("abc"));
    EXPECT_EQ("abc?.", ErrorText("abc?"));
    EXPECT_EQ("file 7.", ErrorText("file 7"));
    EXPECT_EQ(QStringLiteral("caf\u00E9."), ErrorText(QStringLiteral("caf\u00E9")));
    EXPECT_EQ(QStringLiteral("\u0444\u0430\u0439\u043B."),
              ErrorText(QStringLiteral("\u0444\u0430\u0439\u043B")));
    EXPECT_EQ("abc.", ErrorText("abc."));
    EXPECT_EQ("abc!", ErrorText("abc!"));
    EXPECT_EQ("(abc)", ErrorText("(abc)"));
    EXPECT_EQ("abc-", ErrorText("abc-"));
    EXPECT_EQ("line\r\n", ErrorText("line\r\n"));
    EXPECT_EQ("", ErrorText(""));
}

TEST_F(Warnings, ErrorPresenterShowsTheProgramTitleOkAndStopIcon)
{
    ShowError("Disk full");
    ASSERT_EQ(1u, box.Requests.size());
    EXPECT_EQ("Tarnwick", box.Requests[0].Title);
    EXPECT_EQ("Disk full.", box.Requests[0].Text);
    EXPECT_EQ(TMessageIcon::Stop, box.Requests[0].Icon);
    EXPECT_EQ(Strings{"OK"}, box.Requests[0].Buttons);
}

TEST(Beep, HandlerCountsEveryBeepAndCanBeRestored)
{
    const TBeepHandler before = SetBeepHandler(nullptr);
    SetBeepHandler(before);
    {
        TBeepRecorder outer;
        {
            TBeepRecorder inner;
            PlatformBeep(TBeepKind::Question);
            PlatformBeep(TBeepKind::Default);
            EXPECT_EQ((std::vector<TBeepKind>{TBeepKind::Question, TBeepKind::Default}),
                      inner.Kinds);
        }
        PlatformBeep(TBeepKind::Default);
        EXPECT_EQ((std::vector<TBeepKind>{TBeepKind::Default}), outer.Kinds);
    }
    // The handler in place before the recorders is back.
    EXPECT_EQ(before, SetBeepHandler(before));
}
