#include "exercises/TestMark.h"
#include "exercises/Unit_TestResultForm.h"
#include "support/WordListFixtures.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

TEST(TestMark, MarksAndTheirTexts)
{
    struct TCase
    {
        int Right;
        int Wrong;
        int Mark;
        const char *Text;
        bool Passed;
    };
    const TCase cases[] = {
            {15, 5, 77, "7,7", true},   {11, 9, 59, "5,9", false}, {2, 1, 70, "7", true},
            {0, 1, 10, "1", false},     {1, 0, 100, "10", true},   {12, 8, 64, "6,4", true},
            {10, 10, 55, "5,5", false}, {100, 0, 100, "10", true}, {1, 99, 10, "1", false},
            {6, 4, 64, "6,4", true},    {5, 5, 55, "5,5", false},  {56, 44, 60, "6", true},
    };
    for (const TCase &c : cases) {
        const int mark = TestMark(c.Right, c.Wrong);
        EXPECT_EQ(c.Mark, mark) << c.Right << "/" << c.Wrong;
        EXPECT_EQ(c.Text, MarkText(mark, ",")) << c.Right << "/" << c.Wrong;
        EXPECT_EQ(c.Passed, MarkPassed(mark)) << c.Right << "/" << c.Wrong;
    }
    EXPECT_FALSE(MarkPassed(59));
    EXPECT_TRUE(MarkPassed(60));
    EXPECT_EQ("8 punt 3", MarkText(83, " punt "));
    EXPECT_EQ("9", MarkText(90, " punt "));
}

namespace {

QLabel *Label(QWidget &form, const char *name)
{
    auto *label = form.findChild<QLabel *>(name);
    EXPECT_NE(nullptr, label) << name;
    return label;
}

} // namespace

TEST(TestResultForm, DefaultTextsAndPictures)
{
    TTestResultForm form;
    EXPECT_EQ("Toetsresultaat", form.windowTitle());
    EXPECT_EQ(QSize(300, 200), form.size());
    EXPECT_EQ("Resultaat van de toets", Label(form, "ResultLabel")->text());
    EXPECT_EQ("Gefeliciteerd! U bent geslaagd.", Label(form, "SuccessMsgLabel")->text());
    EXPECT_EQ("Helaas heeft u geen voldoende gehaald. De volgende keer beter!",
              Label(form, "FailedMsgLabel")->text());
    const QFont mark = Label(form, "MarkLabel")->font();
    EXPECT_EQ(96, mark.pixelSize());
    EXPECT_TRUE(mark.bold());
    for (const char *name : {"SuccessImg", "FailedImg"}) {
        const QPixmap picture = Label(form, name)->pixmap();
        EXPECT_EQ(QSize(300, 200), picture.size()) << name;
    }
    // The two pictures differ.
    EXPECT_NE(Label(form, "SuccessImg")->pixmap().toImage(),
              Label(form, "FailedImg")->pixmap().toImage());
    auto *ok = form.findChild<QPushButton *>("OKButton");
    ASSERT_NE(nullptr, ok);
    EXPECT_TRUE(ok->isDefault());
}

TEST(TestResultForm, PassAndFailShowTheirPictureMessageAndMark)
{
    TNumberedPack pack;
    pack.Set(TEntry::DecimalSeparator, ",");
    TTestResultForm form;
    form.show();
    struct TCase
    {
        int Right;
        int Wrong;
        const char *Text;
        bool Passed;
    };
    for (const TCase &c : {TCase{11, 9, "5,9", false}, TCase{15, 5, "7,7", true},
                           TCase{2, 1, "7", true}, TCase{0, 1, "1", false}}) {
        form.SetResult(c.Right, c.Wrong);
        EXPECT_EQ(c.Text, Label(form, "MarkLabel")->text());
        EXPECT_EQ(c.Passed, Label(form, "SuccessImg")->isVisible()) << c.Text;
        EXPECT_EQ(c.Passed, Label(form, "SuccessMsgLabel")->isVisible()) << c.Text;
        EXPECT_EQ(!c.Passed, Label(form, "FailedImg")->isVisible()) << c.Text;
        EXPECT_EQ(!c.Passed, Label(form, "FailedMsgLabel")->isVisible()) << c.Text;
    }
    // The separator comes from the language pack as it stands.
    pack.Set(TEntry::DecimalSeparator, ".");
    form.SetResult(15, 5);
    EXPECT_EQ("7.7", Label(form, "MarkLabel")->text());

    QSignalSpy accepted(&form, &QDialog::accepted);
    form.findChild<QPushButton *>("OKButton")->click();
    EXPECT_EQ(1, accepted.count());
    EXPECT_FALSE(form.isVisible());
}

TEST(TestResultForm, TheEnglishPackReplacesEveryText)
{
    const TShippedPack english("English");
    ASSERT_TRUE(english.Loaded());
    TTestResultForm form;
    form.ApplyLanguage();
    EXPECT_EQ("Test Result", form.windowTitle());
    EXPECT_EQ("Result of the test", Label(form, "ResultLabel")->text());
    EXPECT_EQ("Congratulations! You have passed.", Label(form, "SuccessMsgLabel")->text());
    EXPECT_EQ("Unfortunately you did not pass. Better luck next time!",
              Label(form, "FailedMsgLabel")->text());
    EXPECT_EQ("OK", form.findChild<QPushButton *>("OKButton")->text());
    form.SetResult(15, 5);
    EXPECT_EQ("7.7", Label(form, "MarkLabel")->text());
}
