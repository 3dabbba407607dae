#include "core/Texts.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "kbtool/Unit_KBLayoutForm.h"
#include "platform/Beep.h"
#include "platform/KbKeymap.h"
#include "platform/KeyboardLayouts.h"
#include "support/ScriptedMessageBox.h"
#include "support/gui/ProgramFixture.h"
#include "ui_KBLayoutForm.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const bool UsDesktop = qputenv("XKB_DEFAULT_LAYOUT", "us");

constexpr int Key2 = 2;
constexpr int Key3 = 3;
constexpr int AcuteKey = 12;
constexpr int EKey = 15;
constexpr int QKey = 13;
constexpr int AKey = 25;
constexpr int LastRowKey = 46;
const QColor DeadKeyGreen(190, 236, 190);

int Beeps = 0;
void CountBeep(TBeepKind)
{
    ++Beeps;
}

// The keyboard tool of the program's windows, opened over a layout.
class KeyboardTool : public ProgramFixture
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(UsDesktop);
        KbKeymap::UseSystemFilesOnly();
    }

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ProgramFixture::SetUp());
        CreateProgram();
        ASSERT_TRUE(Start());
        previousBeep = SetBeepHandler(CountBeep);
        Beeps = 0;
        ASSERT_TRUE(pdfFolder.isValid());
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(PdfPath());
        printer.setPageOrientation(QPageLayout::Portrait);
        Form().SetChartPrinter(&printer);
        Form().SetChartPrintDialog([this](QPrinter &, QWidget *) {
            ++dialogs;
            return true;
        });
    }

    void TearDown() override
    {
        KBLayoutForm->hide();
        KbLayouts::ActivateKeyboardLayout(KbLayouts::StartupLayout());
        SetBeepHandler(previousBeep);
        ProgramFixture::TearDown();
    }

    static TKBLayoutForm &Form() { return *KBLayoutForm; }
    static Ui::TKBLayoutForm &Ui() { return *KBLayoutForm->ui; }
    static QLineEdit &Key(int key) { return *KBLayoutForm->KeyEdits[key]; }
    QString PdfPath() const { return pdfFolder.filePath(QStringLiteral("chart.pdf")); }

    static void Open(const char *layout)
    {
        ASSERT_TRUE(KbLayouts::ActivateKeyboardLayout(KbLayout::FromName(layout)));
        Form().KeyCodePage = CodePage::Default;
        Form().show();
        QApplication::setActiveWindow(&Form());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Form()));
    }

    static void Type(QWidget &target, const QString &text)
    {
        QCoreApplication::processEvents();
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QApplication::sendEvent(&target, &press);
    }

    static void Press(QWidget &target, Qt::Key key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&target, &press);
    }

    static QColor Colour(int key) { return Key(key).palette().color(QPalette::Base); }
    static QColor Standard(QPalette::ColorRole role)
    {
        return Form().style()->standardPalette().color(role);
    }
    static int ComboItem(int key, int shift)
    {
        return Ui().DeadKeyCombo->findData(QPoint(key, shift));
    }

    QPrinter printer;
    QTemporaryDir pdfFolder;
    int dialogs = 0;
    TBeepHandler previousBeep = nullptr;
};

QString PdfTool(const QString &tool, const QString &path)
{
    QProcess process;
    if (tool == QLatin1String("pdfinfo"))
        process.start(tool, {path});
    else
        process.start(tool, {path, QStringLiteral("-")});
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

TEST_F(KeyboardTool, OpensOnTheActiveLayoutWithItsDeadKeysAndColours)
{
    Open("de");
    EXPECT_EQ(PackText(TEntry::KeyboardToolCaption) + QStringLiteral(" - German"),
              Form().windowTitle());
    EXPECT_EQ(&Form(), QApplication::activeWindow());
    EXPECT_EQ(Ui().InsertEdit, Form().focusWidget());
    ASSERT_GT(Ui().DeadKeyCombo->count(), 3);
    EXPECT_EQ(PackText(TEntry::NoDeadKey), Ui().DeadKeyCombo->itemText(0));
    EXPECT_EQ(QStringLiteral("^"), Ui().DeadKeyCombo->itemText(1));
    EXPECT_EQ(QStringLiteral("\u00B4"), Ui().DeadKeyCombo->itemText(ComboItem(AcuteKey, ssNone)));
    EXPECT_LT(ComboItem(AcuteKey, ssNone), ComboItem(AcuteKey, ssShift));
    EXPECT_EQ(0, Ui().DeadKeyCombo->currentIndex());
    EXPECT_EQ(50, Ui().DeadKeyCombo->maxVisibleItems());

    // Layout view: a dead key is green and read-only, a character white, no character grey.
    EXPECT_EQ(QStringLiteral("\u00B4"), Key(AcuteKey).text());
    EXPECT_EQ(DeadKeyGreen, Colour(AcuteKey));
    EXPECT_TRUE(Key(AcuteKey).isReadOnly());
    EXPECT_EQ(QStringLiteral("q"), Key(QKey).text());
    EXPECT_EQ(Standard(QPalette::Base), Colour(QKey));
    EXPECT_FALSE(Key(QKey).isReadOnly());

    // Dead-key view: the compositions, the dead key's own edit green and empty.
    Ui().DeadKeyCombo->setCurrentIndex(ComboItem(AcuteKey, ssNone));
    EXPECT_EQ(QStringLiteral("\u00E9"), Key(EKey).text());
    EXPECT_EQ(QString(), Key(QKey).text());
    EXPECT_EQ(Standard(QPalette::Button), Colour(QKey));
    EXPECT_EQ(QString(), Key(AcuteKey).text());
    EXPECT_EQ(DeadKeyGreen, Colour(AcuteKey));
    EXPECT_TRUE(Key(AcuteKey).isReadOnly());
    EXPECT_EQ(QStringLiteral("\u00B4"), Key(SpaceBarKey).text());

    // A layout without dead keys offers only the first item; its AltGr levels are empty.
    Form().hide();
    Open("us");
    EXPECT_EQ(1, Ui().DeadKeyCombo->count());
    QTest::mouseClick(Ui().RAltButton, Qt::LeftButton);
    for (int key = 0; key < KeyCount; ++key)
        EXPECT_EQ(QString(), Key(key).text()) << key;
}

TEST_F(KeyboardTool, ModifierButtonsGoInPairsAndChooseTheShiftState)
{
    Open("de");
    QTest::mouseClick(Ui().RAltButton, Qt::LeftButton);
    EXPECT_EQ(ssAltGr, Form().CurShift);
    QTest::mouseClick(Ui().LCtrlButton, Qt::LeftButton);
    EXPECT_TRUE(Ui().LAltButton->isChecked());
    EXPECT_FALSE(Ui().RAltButton->isChecked());
    EXPECT_EQ(ssAltGr, Form().CurShift);
    EXPECT_EQ(QStringLiteral("@"), Key(QKey).text());
    QTest::mouseClick(Ui().RShiftButton, Qt::LeftButton);
    EXPECT_TRUE(Ui().LShiftButton->isChecked());
    EXPECT_EQ(ssShiftAltGr, Form().CurShift);
    QTest::mouseClick(Ui().RAltButton, Qt::LeftButton);
    EXPECT_FALSE(Ui().LCtrlButton->isChecked());
    EXPECT_FALSE(Ui().LAltButton->isChecked());
    EXPECT_EQ(ssShiftAltGr, Form().CurShift);
    QTest::mouseClick(Ui().LAltButton, Qt::LeftButton);
    QTest::mouseClick(Ui().LAltButton, Qt::LeftButton);
    EXPECT_FALSE(Ui().LCtrlButton->isChecked());
    EXPECT_FALSE(Ui().RAltButton->isChecked());
    EXPECT_EQ(ssShift, Form().CurShift);
    EXPECT_EQ(QStringLiteral("Q"), Key(QKey).text());
}

TEST_F(KeyboardTool, TypedCorrectionsAreStoredAndMoveOn)
{
    Open("de");
    Key(Key2).setFocus();
    Type(Key(Key2), QStringLiteral("\u00E9"));
    EXPECT_EQ(0xE9, Form().KeyChars.At(ssNone, Key2).Char);
    EXPECT_EQ(&Key(Key3), Form().focusWidget());
    EXPECT_EQ(Key3, Form().CurKey);
    EXPECT_TRUE(Ui().DeadKeyCheck->isEnabled());

    Key(Key2).setFocus();
    Key(Key2).selectAll();
    Press(Key(Key2), Qt::Key_Backspace);
    EXPECT_EQ(0, Form().KeyChars.At(ssNone, Key2).Char);
    EXPECT_EQ(Standard(QPalette::Button), Colour(Key2));

    // What the editor's code page cannot hold is refused with a beep.
    Key(Key2).setFocus();
    Type(Key(Key2), QStringLiteral("\u0416"));
    EXPECT_EQ(1, Beeps);
    EXPECT_EQ(QString(), Key(Key2).text());
    EXPECT_EQ(0, Form().KeyChars.At(ssNone, Key2).Char);

    // In the dead-key view a correction goes into the dead key's table.
    Ui().DeadKeyCombo->setCurrentIndex(ComboItem(AcuteKey, ssNone));
    Key(QKey).setFocus();
    EXPECT_FALSE(Ui().DeadKeyCheck->isEnabled());
    Type(Key(QKey), QStringLiteral("\u00E6"));
    EXPECT_EQ(0xE6, Form().KeyChars.At(ssNone, AcuteKey).DeadTable->At(ssNone, QKey).Char);
    EXPECT_EQ('q', Form().KeyChars.At(ssNone, QKey).Char);
}

TEST_F(KeyboardTool, AKeyHoldsOneByteOfTheEditorsCodePage)
{
    constexpr int ShiftJis = 932;
    Open("us");
    Form().KeyCodePage = ShiftJis;
    Key(Key2).setFocus();
    // Two bytes in Shift-JIS: refused as a character the code page lacks is.
    Type(Key(Key2), QStringLiteral("\u65E5"));
    EXPECT_EQ(1, Beeps);
    EXPECT_EQ('2', Form().KeyChars.At(ssNone, Key2).Char);
    EXPECT_EQ(QStringLiteral("2"), Key(Key2).text());
    EXPECT_EQ(&Key(Key2), Form().focusWidget());
    // A half-width katakana is one byte there.
    Key(Key2).selectAll();
    Type(Key(Key2), QStringLiteral("\uFF71"));
    EXPECT_EQ(1, Beeps);
    EXPECT_EQ(0xB1, Form().KeyChars.At(ssNone, Key2).Char);
}

TEST_F(KeyboardTool, AccentKeysOutsideTheCodePageKeepTheFormItHolds)
{
    constexpr int Greek = 1253;
    constexpr int TonosKey = 34;
    ASSERT_TRUE(KbLayouts::ActivateKeyboardLayout(KbLayout::FromName("gr")));
    Form().KeyCodePage = Greek;
    Form().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form()));
    const int tonos = ComboItem(TonosKey, ssNone);
    ASSERT_GT(tonos, 0);
    EXPECT_EQ(QStringLiteral("\u0384"), Ui().DeadKeyCombo->itemText(tonos));
    EXPECT_EQ(QStringLiteral("\u0384"), Key(TonosKey).text());
    EXPECT_EQ(DeadKeyGreen, Colour(TonosKey));
    Ui().DeadKeyCombo->setCurrentIndex(tonos);
    EXPECT_EQ(QStringLiteral("\u03AC"), Key(AKey).text());
    EXPECT_EQ(QStringLiteral("\u03AD"), Key(EKey).text());
    EXPECT_EQ(QStringLiteral("\u0384"), Key(SpaceBarKey).text());

    // The chart shows the tonos key and lists what it composes.
    PrintSettings.KeyPrintsConfirmed = true;
    QTest::mouseClick(Ui().PrintButton, Qt::LeftButton);
    const QString chart = PdfTool(QStringLiteral("pdftotext"), PdfPath());
    EXPECT_TRUE(chart.contains(QStringLiteral("\u0384"))) << chart.toStdString();
    EXPECT_TRUE(chart.contains(QStringLiteral("\u03AC"))) << chart.toStdString();
    EXPECT_TRUE(chart.contains(QStringLiteral("\u03CE"))) << chart.toStdString();
}

TEST_F(KeyboardTool, DoubleClicksComposeTheInsertTextAndInsertTypesIt)
{
    Open("de");
    QTest::mouseDClick(&Key(QKey), Qt::LeftButton);
    EXPECT_EQ(QStringLiteral("q"), Ui().InsertEdit->text());
    QTest::mouseDClick(&Key(AcuteKey), Qt::LeftButton);
    EXPECT_EQ(ComboItem(AcuteKey, ssNone), Ui().DeadKeyCombo->currentIndex());
    QTest::mouseDClick(&Key(EKey), Qt::LeftButton);
    EXPECT_EQ(QStringLiteral("q\u00E9"), Ui().InsertEdit->text());
    EXPECT_EQ(0, Ui().DeadKeyCombo->currentIndex());
    EXPECT_EQ(QStringLiteral("e"), Key(EKey).text());

    QTest::mouseClick(Ui().InsertButton, Qt::LeftButton);
    EXPECT_EQ(mrOk, Form().result());
    EXPECT_TRUE(Form().ClosedByButton);
}

TEST_F(KeyboardTool, MarkingAndUnmarkingADeadKey)
{
    Open("de");
    const int items = Ui().DeadKeyCombo->count();
    Key(AKey).setFocus();
    EXPECT_FALSE(Ui().DeadKeyCheck->isChecked());
    QTest::mouseClick(Ui().DeadKeyCheck, Qt::LeftButton);
    ASSERT_TRUE(Form().KeyChars.At(ssNone, AKey).IsDead);
    ASSERT_EQ(items + 1, Ui().DeadKeyCombo->count());
    EXPECT_EQ(QStringLiteral("a"), Ui().DeadKeyCombo->itemText(ComboItem(AKey, ssNone)));
    EXPECT_EQ(0, Ui().DeadKeyCombo->currentIndex());
    EXPECT_EQ(DeadKeyGreen, Colour(AKey));
    Ui().DeadKeyCombo->setCurrentIndex(ComboItem(AKey, ssNone));
    for (int key = 0; key < KeyCount; ++key)
        EXPECT_EQ(QString(), Key(key).text()) << key;

    Ui().DeadKeyCombo->setCurrentIndex(0);
    Key(AKey).setFocus();
    EXPECT_TRUE(Ui().DeadKeyCheck->isChecked());
    QTest::mouseClick(Ui().DeadKeyCheck, Qt::LeftButton);
    EXPECT_FALSE(Form().KeyChars.At(ssNone, AKey).IsDead);
    EXPECT_EQ(nullptr, Form().KeyChars.At(ssNone, AKey).DeadTable);
    EXPECT_EQ(items, Ui().DeadKeyCombo->count());
    EXPECT_EQ(-1, ComboItem(AKey, ssNone));
    EXPECT_EQ(Standard(QPalette::Base), Colour(AKey));

    // Entering another control disables the box.
    Ui().InsertEdit->setFocus();
    EXPECT_FALSE(Ui().DeadKeyCheck->isEnabled());
}

TEST_F(KeyboardTool, NavigationKeysStayOnTheKeyboard)
{
    Open("de");
    const std::pair<int, Qt::Key> presses[] = {
            {EKey, Qt::Key_PageUp}, {EKey, Qt::Key_PageDown},    {EKey, Qt::Key_Home},
            {EKey, Qt::Key_End},    {0, Qt::Key_Left},           {EKey, Qt::Key_Left},
            {EKey, Qt::Key_Right},  {LastRowKey, Qt::Key_Right}, {SpaceBarKey, Qt::Key_Right},
            {EKey, Qt::Key_Up},     {SpaceBarKey, Qt::Key_Home},
    };
    const int expected[]
            = {0, SpaceBarKey, QKey, 24, 0, 14, 16, SpaceBarKey, SpaceBarKey, EKey, SpaceBarKey};
    for (size_t i = 0; i < std::size(presses); ++i) {
        Key(presses[i].first).setFocus();
        Press(Key(presses[i].first), presses[i].second);
        EXPECT_EQ(&Key(expected[i]), Form().focusWidget()) << i;
    }
    EXPECT_EQ(QStringLiteral("e"), Key(EKey).text());
}

TEST_F(KeyboardTool, KeyPrintModeStoresFortySevenCharactersAndLeavesCleanly)
{
    KeyPrints = "`123456789";
    Open("de");
    QTest::mouseClick(Ui().KeyPrintsButton, Qt::LeftButton);
    ASSERT_TRUE(Form().KeyPrintMode);
    EXPECT_EQ(PackText(TEntry::KeyPrintsCaption), Form().windowTitle());
    EXPECT_TRUE(Key(SpaceBarKey).isHidden());
    EXPECT_TRUE(Ui().InsertEdit->isHidden());
    EXPECT_FALSE(Ui().OKPrintsButton->isHidden());
    EXPECT_EQ(&Key(0), Form().focusWidget());
    EXPECT_EQ(QStringLiteral("9"), Key(9).text());
    EXPECT_EQ(QStringLiteral(" "), Key(10).text());

    Key(LastRowKey).setFocus();
    Press(Key(LastRowKey), Qt::Key_Right);
    EXPECT_EQ(&Key(LastRowKey), Form().focusWidget());
    Press(Key(LastRowKey), Qt::Key_PageDown);
    EXPECT_EQ(&Key(LastRowKey), Form().focusWidget());

    Key(Key2).setFocus();
    Type(Key(Key2), QStringLiteral("\u00E9"));
    EXPECT_EQ(&Key(Key3), Form().focusWidget());
    for (int key = 20; key < 30; ++key)
        Key(key).clear();
    QTest::mouseClick(Ui().OKPrintsButton, Qt::LeftButton);
    ASSERT_EQ(static_cast<size_t>(KeyPrintCount), KeyPrints.size());
    EXPECT_EQ("`1\xE9"
              "3456789",
              KeyPrints.substr(0, 10));
    EXPECT_EQ(std::string(10, ' '), KeyPrints.substr(20, 10));
    EXPECT_TRUE(PrintSettings.KeyPrintsConfirmed);
    EXPECT_FALSE(Form().KeyPrintMode);
    EXPECT_FALSE(Key(SpaceBarKey).isHidden());
    EXPECT_EQ(QStringLiteral("1"), Key(1).text());
    EXPECT_EQ(Ui().InsertEdit, Form().focusWidget());
    EXPECT_EQ(0, dialogs);
    EXPECT_FALSE(QFile::exists(PdfPath()));
}

TEST_F(KeyboardTool, ClosingDuringAPendingPrintPrintsNothingAndRestoresTheOrientation)
{
    TScriptedBox box;
    box.Answers = {mbYes};
    Open("de");
    QTest::mouseClick(Ui().PrintButton, Qt::LeftButton);
    EXPECT_EQ(1, dialogs);
    EXPECT_EQ(std::vector<std::string>{LanguageText(TEntry::ConfirmKeyPrints)}, box.Take());
    ASSERT_TRUE(Form().KeyPrintMode);
    EXPECT_EQ(QPageLayout::Landscape, printer.pageLayout().orientation());
    Form().close();
    EXPECT_EQ(mrCancel, Form().result());
    EXPECT_FALSE(Form().PrintAfterKeyPrints);
    EXPECT_EQ(QPageLayout::Portrait, printer.pageLayout().orientation());
    EXPECT_FALSE(QFile::exists(PdfPath()));
    EXPECT_FALSE(PrintSettings.KeyPrintsConfirmed);

    Open("de");
    EXPECT_FALSE(Form().KeyPrintMode);
    EXPECT_FALSE(Ui().InsertEdit->isHidden());
    EXPECT_FALSE(Key(SpaceBarKey).isHidden());

    // No to the question: nothing printed, orientation back.
    box.Answers = {mbNo};
    QTest::mouseClick(Ui().PrintButton, Qt::LeftButton);
    EXPECT_FALSE(Form().KeyPrintMode);
    EXPECT_EQ(QPageLayout::Portrait, printer.pageLayout().orientation());
    EXPECT_FALSE(QFile::exists(PdfPath()));

    // A paper too small for the chart is refused before anything else is asked.
    box.Take();
    printer.setPageSize(QPageSize(QPageSize::A6));
    QTest::mouseClick(Ui().PrintButton, Qt::LeftButton);
    EXPECT_EQ(std::vector<std::string>{LanguageText(TEntry::PaperTooSmallForChart)}, box.Take());
    EXPECT_EQ(QPageLayout::Portrait, printer.pageLayout().orientation());
    EXPECT_FALSE(QFile::exists(PdfPath()));
}

TEST_F(KeyboardTool, TheChartIsPrintedAfterTheKeyPrintsOnLandscapePages)
{
    TScriptedBox box;
    box.Answers = {mbYes};
    Open("us");
    QTest::mouseClick(Ui().PrintButton, Qt::LeftButton);
    ASSERT_TRUE(Form().KeyPrintMode);
    Key(QKey).setText(QStringLiteral("Q"));
    QTest::mouseClick(Ui().OKPrintsButton, Qt::LeftButton);
    EXPECT_EQ(QPageLayout::Portrait, printer.pageLayout().orientation());
    ASSERT_TRUE(QFile::exists(PdfPath()));
    const QString info = PdfTool(QStringLiteral("pdfinfo"), PdfPath());
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
            << info.toStdString();
    const QRegularExpressionMatch size
            = QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+)")).match(info);
    ASSERT_TRUE(size.hasMatch()) << info.toStdString();
    EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble());
    const QString text = PdfTool(QStringLiteral("pdftotext"), PdfPath());
    EXPECT_TRUE(text.contains(PackText(TEntry::KeyboardToolCaption))) << text.toStdString();
    EXPECT_TRUE(text.contains(PackText(TEntry::BackspaceKeyLabel))) << text.toStdString();

    // A layout with dead keys adds their pages; the key prints are confirmed now.
    QFile::remove(PdfPath());
    Form().hide();
    Open("de");
    QTest::mouseClick(Ui().PrintButton, Qt::LeftButton);
    EXPECT_FALSE(Form().KeyPrintMode);
    const QString german = PdfTool(QStringLiteral("pdftotext"), PdfPath());
    EXPECT_TRUE(german.contains(PackText(TEntry::DeadKeysHeading) + QStringLiteral(" German")))
            << german.toStdString();
    EXPECT_TRUE(german.contains(QStringLiteral("\u00E9"))) << german.toStdString();
    EXPECT_TRUE(german.contains(QStringLiteral("\u00DF"))) << german.toStdString();
    const QRegularExpressionMatch pages
            = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                      .match(PdfTool(QStringLiteral("pdfinfo"), PdfPath()));
    EXPECT_GE(pages.captured(1).toInt(), 2);
    EXPECT_EQ(QPageLayout::Portrait, printer.pageLayout().orientation());
}
