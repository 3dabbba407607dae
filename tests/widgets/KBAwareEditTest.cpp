#include "widgets/KBAwareEdit.h"
#include "core/PrivateMessages.h"
#include "platform/KbKeymap.h"
#include "platform/KeyboardLayouts.h"
#include "support/BeepRecorder.h"
#include "support/StoreFixture.h"
#include "widgets/KBAwareComboBox.h"
#include "widgets/KbLayoutHandle.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// The desktop of these tests types with "us", whatever the machine's own layout is; the
// variable must be set before anything detects the desktop's layout.
const bool UsDesktop = qputenv("XKB_DEFAULT_LAYOUT", "us");

constexpr unsigned XkbOffset = 8;
constexpr unsigned ScanLeftShift = 42;
constexpr unsigned ScanLeftCtrl = 29;
constexpr unsigned ScanLeftAlt = 56;
constexpr unsigned ScanRightAlt = 100;
constexpr unsigned ScanMenu = 127;
constexpr unsigned ScanB = 48;
constexpr unsigned Scan2 = 3;
constexpr unsigned ScanEqual = 13;
constexpr unsigned ScanQ = 16;
constexpr unsigned ScanE = 18;
constexpr unsigned ScanY = 21;
constexpr unsigned ScanSpace = 57;

const KbLayout German{"de", ""};
const KbLayout Greek{"gr", ""};

// Keeps the private messages sent to it.
class TReceiver : public QObject
{
public:
    bool event(QEvent *event) override
    {
        if (static_cast<int>(event->type()) != WM_KBLAYOUTCHANGED)
            return QObject::event(event);
        const auto *message = static_cast<TMessageEvent *>(event);
        Messages.push_back({message->WParam, message->LParam});
        return true;
    }
    std::vector<std::pair<intptr_t, intptr_t>> Messages;
};

// A key press and its release as the X server delivers them: the native scan code is the
// key's evdev code + 8, the text what the desktop's layout would type.
void Key(QWidget &target, int key, unsigned scan, const QString &text = {},
         Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, scan ? scan + XkbOffset : 0, 0, 0, text);
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, scan ? scan + XkbOffset : 0, 0, 0, text);
    QApplication::sendEvent(&target, &release);
}

void Press(QWidget &target, int key, unsigned scan, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, scan + XkbOffset, 0, 0, QString());
    QApplication::sendEvent(&target, &press);
}

void Release(QWidget &target, int key, unsigned scan, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, scan + XkbOffset, 0, 0, QString());
    QApplication::sendEvent(&target, &release);
}

// A key press and its release as the desktop delivers them to the application: the shortcut
// machinery sees the press first, and only when the focused control does not claim it there for
// typing may a shortcut or mnemonic take it; else the control gets the press.
void Type(QWidget &target, int key, unsigned scan, const QString &text,
          Qt::KeyboardModifiers modifiers)
{
    QKeyEvent override(QEvent::ShortcutOverride, key, modifiers, scan + XkbOffset, 0, 0, text);
    override.ignore();
    QApplication::sendEvent(&target, &override);
    if (override.isAccepted() || !qt_sendShortcutOverrideEvent(&target, 0, key, modifiers, text)) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, scan + XkbOffset, 0, 0, text);
        // From the desktop, so that Qt does not look for shortcuts again.
        QSpontaneKeyEvent::setSpontaneous(&press);
        QApplication::instance()->notify(&target, &press);
    }
    Release(target, key, scan, modifiers);
}

class KBAwareControls : public ::testing::Test
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
        ASSERT_EQ(KbLayouts::StartupLayout(), (KbLayout{"us", ""}));
        KbLayouts::ActivateKeyboardLayout(KbLayouts::StartupLayout());
        auto *layout = new QHBoxLayout(&window);
        first = new TKBAwareEdit(&window);
        second = new TKBAwareEdit(&window);
        combo = new TKBAwareComboBox(&window);
        layout->addWidget(first);
        layout->addWidget(second);
        layout->addWidget(combo);
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        first->setFocus();
    }
    void TearDown() override { KbLayouts::ActivateKeyboardLayout(KbLayouts::StartupLayout()); }

    TStoreDir store;
    QWidget window;
    TKBAwareEdit *first = nullptr;
    TKBAwareEdit *second = nullptr;
    TKBAwareComboBox *combo = nullptr;
    TBeepRecorder Beeps;
};

TEST_F(KBAwareControls, ANonDesktopLayoutTranslatesTheEditsOwnKeys)
{
    first->SetKbLayout(German);
    Key(*first, Qt::Key_Y, ScanY, QStringLiteral("y"));
    EXPECT_EQ(QStringLiteral("z"), first->text());
    // The accent key waits and types nothing; the next key composes with it.
    Key(*first, Qt::Key_Equal, ScanEqual, QStringLiteral("="));
    EXPECT_EQ(QStringLiteral("z"), first->text());
    Key(*first, Qt::Key_E, ScanE, QStringLiteral("e"));
    EXPECT_EQ(QStringLiteral("zé"), first->text());
    Key(*first, Qt::Key_Equal, ScanEqual, QStringLiteral("="));
    Key(*first, Qt::Key_Space, ScanSpace, QStringLiteral(" "));
    EXPECT_EQ(QStringLiteral("zé´"), first->text());

    Press(*first, Qt::Key_Shift, ScanLeftShift, Qt::ShiftModifier);
    Key(*first, Qt::Key_At, Scan2, QStringLiteral("@"), Qt::ShiftModifier);
    Release(*first, Qt::Key_Shift, ScanLeftShift, Qt::NoModifier);
    EXPECT_EQ(QStringLiteral("zé´\""), first->text());
    Press(*first, Qt::Key_Alt, ScanRightAlt, Qt::AltModifier);
    Key(*first, Qt::Key_Q, ScanQ, QStringLiteral("q"), Qt::AltModifier);
    Release(*first, Qt::Key_Alt, ScanRightAlt, Qt::NoModifier);
    EXPECT_EQ(QStringLiteral("zé´\"@"), first->text());
    // Characters from the character bar and the keyboard tool carry no scan code.
    Key(*first, 0, 0, QStringLiteral("y"));
    EXPECT_EQ(QStringLiteral("zé´\"@y"), first->text());
    EXPECT_EQ(0, Beeps.Count());
}

TEST_F(KBAwareControls, AltKeepsItsShortcutsAndMnemonicsAndOnlyAltGrTypesTheThirdLevel)
{
    auto *bar = new QMenuBar(&window);
    QSignalSpy opened(bar->addMenu(QStringLiteral("&Bearbeiten")), &QMenu::aboutToShow);
    bar->show();
    auto *shortcut = new QAction(&window);
    shortcut->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_Q), QKeySequence(Qt::ALT | Qt::Key_E),
                            QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Q)});
    window.addAction(shortcut);
    QSignalSpy triggered(shortcut, &QAction::triggered);
    first->SetKbLayout(German);

    // A desktop without AltGr reports Right Alt as Alt.
    Press(*first, Qt::Key_Alt, ScanRightAlt, Qt::AltModifier);
    Type(*first, Qt::Key_Q, ScanQ, QStringLiteral("q"), Qt::AltModifier);
    Type(*first, Qt::Key_E, ScanE, QStringLiteral("e"), Qt::AltModifier);
    Release(*first, Qt::Key_Alt, ScanRightAlt, Qt::NoModifier);
    // Some send AltGr as Ctrl with Alt.
    Press(*first, Qt::Key_Control, ScanLeftCtrl, Qt::ControlModifier);
    Press(*first, Qt::Key_Alt, ScanRightAlt, Qt::ControlModifier | Qt::AltModifier);
    Type(*first, Qt::Key_Q, ScanQ, QStringLiteral("\x11"), Qt::ControlModifier | Qt::AltModifier);
    Release(*first, Qt::Key_Alt, ScanRightAlt, Qt::ControlModifier);
    Release(*first, Qt::Key_Control, ScanLeftCtrl, Qt::NoModifier);
    // A desktop's own AltGr key counts wherever the desktop put it, here on the Menu key.
    Press(*first, Qt::Key_AltGr, ScanMenu, Qt::NoModifier);
    Type(*first, Qt::Key_E, ScanE, QStringLiteral("e"), Qt::NoModifier);
    Release(*first, Qt::Key_AltGr, ScanMenu, Qt::NoModifier);
    EXPECT_EQ(QStringLiteral("@€@€"), first->text());
    EXPECT_EQ(0, triggered.count());

    // Left Alt, with or without Ctrl, is no AltGr: its keys go to the shortcuts and the menu bar.
    Press(*first, Qt::Key_Control, ScanLeftCtrl, Qt::ControlModifier);
    Press(*first, Qt::Key_Alt, ScanLeftAlt, Qt::ControlModifier | Qt::AltModifier);
    Type(*first, Qt::Key_Q, ScanQ, QStringLiteral("\x11"), Qt::ControlModifier | Qt::AltModifier);
    Release(*first, Qt::Key_Alt, ScanLeftAlt, Qt::ControlModifier);
    Release(*first, Qt::Key_Control, ScanLeftCtrl, Qt::NoModifier);
    EXPECT_EQ(1, triggered.count());
    Press(*first, Qt::Key_Alt, ScanLeftAlt, Qt::AltModifier);
    Type(*first, Qt::Key_B, ScanB, QStringLiteral("b"), Qt::AltModifier);
    Release(*first, Qt::Key_Alt, ScanLeftAlt, Qt::NoModifier);
    EXPECT_EQ(1, opened.count());
    EXPECT_EQ(QStringLiteral("@€@€"), first->text());
}

TEST_F(KBAwareControls, CapsLockCapitalisesLettersOnlyAndShortcutsKeepTheirKeys)
{
    constexpr unsigned ScanCapsLock = 58;
    constexpr unsigned ScanMinus = 12;
    constexpr unsigned ScanA = 30;
    first->SetKbLayout(German);
    Key(*first, Qt::Key_CapsLock, ScanCapsLock);
    Key(*first, Qt::Key_A, ScanA, QStringLiteral("a"));
    Key(*first, Qt::Key_Minus, ScanMinus, QStringLiteral("-"));
    EXPECT_EQ(QStringLiteral("Aß"), first->text());
    Key(*first, Qt::Key_CapsLock, ScanCapsLock);
    Key(*first, Qt::Key_A, ScanA, QStringLiteral("a"));
    EXPECT_EQ(QStringLiteral("Aßa"), first->text());
    // Ctrl+A selects everything: the key is not typed through the layout.
    Key(*first, Qt::Key_A, ScanA, QStringLiteral("\x01"), Qt::ControlModifier);
    EXPECT_EQ(QStringLiteral("Aßa"), first->selectedText());
}

TEST_F(KBAwareControls, TheDesktopsLayoutPassesKeysThroughUntouched)
{
    Key(*first, Qt::Key_Y, ScanY, QStringLiteral("y"));
    Key(*first, Qt::Key_Equal, ScanEqual, QStringLiteral("="));
    EXPECT_EQ(QStringLiteral("y="), first->text());
    EXPECT_TRUE(first->inputMethodQuery(Qt::ImEnabled).toBool());
    first->SetKbLayout(German);
    EXPECT_FALSE(first->inputMethodQuery(Qt::ImEnabled).toBool());
}

TEST_F(KBAwareControls, CharactersTheCodePageCannotHoldAreRefusedWithABeep)
{
    first->SetKbLayout(Greek);
    Key(*first, Qt::Key_A, 30, QStringLiteral("a"));
    EXPECT_EQ(QString(), first->text());
    EXPECT_EQ(1, Beeps.Count());
    first->CodePage = 1253;
    Key(*first, Qt::Key_A, 30, QStringLiteral("a"));
    EXPECT_EQ(QStringLiteral("α"), first->text());
    Key(*first, 0, 0, QStringLiteral("ж"));
    EXPECT_EQ(QStringLiteral("α"), first->text());
    EXPECT_EQ(2, Beeps.Count());
}

TEST_F(KBAwareControls, AGridEditorLeavesTabEnterUpAndDownToItsHooks)
{
    std::vector<int> keysDown;
    std::vector<int> keysPressed;
    first->OnKeyDown = [&](QKeyEvent &event) {
        keysDown.push_back(event.key());
        return false;
    };
    first->OnKeyPress = [&](QChar &c) { keysPressed.push_back(c.unicode()); };
    first->setText(QStringLiteral("ab"));
    for (const int key : {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Up, Qt::Key_Down}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier,
                        key == Qt::Key_Tab                                 ? QStringLiteral("\t")
                                : key == Qt::Key_Up || key == Qt::Key_Down ? QString()
                                                                           : QStringLiteral("\r"));
        press.ignore();
        QApplication::sendEvent(first, &press);
        EXPECT_TRUE(press.isAccepted()) << key;
        EXPECT_EQ(first, QApplication::focusWidget()) << key;
    }
    EXPECT_EQ(QStringLiteral("ab"), first->text());
    EXPECT_EQ((std::vector<int>{Qt::Key_Tab, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Up,
                                Qt::Key_Down}),
              keysDown);
    EXPECT_EQ((std::vector<int>{9, 13, 13}), keysPressed);
    EXPECT_EQ(0, Beeps.Count());
}

TEST_F(KBAwareControls, AKeyHookThatMovesToAnotherCellEndsTheKey)
{
    first->OnKeyDown = [&](QKeyEvent &) {
        first->hide();
        second->setFocus();
        return false;
    };
    bool pressed = false;
    first->OnKeyPress = [&](QChar &) { pressed = true; };
    Key(*first, Qt::Key_A, 30, QStringLiteral("a"));
    EXPECT_FALSE(pressed);
    EXPECT_EQ(QString(), first->text());
    EXPECT_EQ(QString(), second->text());
}

TEST_F(KBAwareControls, ADialogEditMovesOnWithTabAndLetsEnterReachTheDefaultButton)
{
    QDialog dialog;
    auto *layout = new QHBoxLayout(&dialog);
    auto *one = new TKBAwareEdit(&dialog);
    auto *two = new TKBAwareEdit(&dialog);
    auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    one->AcceptAllKeys = two->AcceptAllKeys = true;
    ok->setDefault(true);
    layout->addWidget(one);
    layout->addWidget(two);
    layout->addWidget(ok);
    QSignalSpy clicked(ok, &QPushButton::clicked);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    one->setFocus();
    QTest::keyClick(one, Qt::Key_Tab);
    EXPECT_EQ(two, QApplication::focusWidget());
    QTest::keyClick(two, Qt::Key_Return);
    EXPECT_EQ(1, clicked.count());
}

TEST_F(KBAwareControls, TheComboTakesTabAndSwallowsEnterWhileItsListIsClosed)
{
    combo->setEditable(true);
    combo->addItems({QStringLiteral("noun"), QStringLiteral("verb")});
    combo->setInsertPolicy(QComboBox::NoInsert);
    std::vector<int> keysDown;
    std::vector<int> keysPressed;
    combo->OnKeyDown = [&](QKeyEvent &event) {
        keysDown.push_back(event.key());
        return false;
    };
    combo->OnKeyPress = [&](QChar &c) { keysPressed.push_back(c.unicode()); };
    combo->setFocus();
    QSignalSpy activated(combo, &QComboBox::activated);
    QTest::keyClick(combo, Qt::Key_Tab);
    EXPECT_EQ(combo, QApplication::focusWidget());
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_EQ(0, activated.count());
    EXPECT_EQ((std::vector<int>{Qt::Key_Tab, Qt::Key_Return}), keysDown);
    EXPECT_EQ((std::vector<int>{9, 13}), keysPressed);

    combo->showPopup();
    ASSERT_TRUE(combo->IsDroppedDown());
    QTest::keyClick(combo->view(), Qt::Key_Down);
    QTest::keyClick(combo->view(), Qt::Key_Return);
    EXPECT_FALSE(combo->IsDroppedDown());
    EXPECT_EQ(QStringLiteral("verb"), combo->currentText());
}

TEST_F(KBAwareControls, EachControlActivatesItsOwnLayoutOnEntry)
{
    KbLayout inEntered;
    QObject::connect(first, &TKBAwareEdit::entered,
                     [&] { inEntered = KbLayouts::GetKeyboardLayout(); });
    ASSERT_EQ(first, QApplication::focusWidget());
    first->requestKbLayout(German);
    EXPECT_EQ(German, KbLayouts::GetKeyboardLayout());
    second->setFocus();
    EXPECT_EQ(KbLayouts::StartupLayout(), KbLayouts::GetKeyboardLayout());
    first->setFocus();
    EXPECT_EQ(German, inEntered);
    combo->setFocus();
    EXPECT_EQ(KbLayouts::StartupLayout(), KbLayouts::GetKeyboardLayout());
    first->setFocus();
    EXPECT_EQ(German, KbLayouts::GetKeyboardLayout());

    // Given from outside, the layout is active at once, focus or not.
    second->SetKbLayout(Greek);
    EXPECT_EQ(Greek, KbLayouts::GetKeyboardLayout());
    EXPECT_EQ(first, QApplication::focusWidget());
    second->SetKbLayout(KbLayout{"nosuchlayout", ""});
    EXPECT_EQ(Greek, second->GetKbLayout());
}

TEST_F(KBAwareControls, ALayoutRequestTellsTheReceiverAlsoWhenUnchanged)
{
    TReceiver receiver;
    first->LayoutReceiver = &receiver;
    combo->LayoutReceiver = &receiver;
    first->requestKbLayout(German);
    first->requestKbLayout(German);
    combo->requestKbLayout(Greek);
    first->requestKbLayout(KbLayout{"nosuchlayout", ""});
    const auto self = reinterpret_cast<intptr_t>(first);
    const auto comboSelf = reinterpret_cast<intptr_t>(combo);
    ASSERT_EQ(3u, receiver.Messages.size());
    EXPECT_EQ(std::make_pair(self, KbLayoutHandle(German)), receiver.Messages[0]);
    EXPECT_EQ(receiver.Messages[0], receiver.Messages[1]);
    EXPECT_EQ(std::make_pair(comboSelf, KbLayoutHandle(Greek)), receiver.Messages[2]);
    EXPECT_EQ(German, first->GetKbLayout());
    EXPECT_EQ(German, KbLayoutOfHandle(KbLayoutHandle(German)));
    EXPECT_EQ(KbLayouts::StartupLayout(), KbLayoutOfHandle(0));
    EXPECT_EQ(KbLayouts::StartupLayout(), KbLayoutOfHandle(12345));
}

TEST_F(KBAwareControls, TheContextMenuOffersTheLayoutsAndAddsOneFromTheCatalogue)
{
    TReceiver receiver;
    first->LayoutReceiver = &receiver;
    std::unique_ptr<QMenu> menu(first->CreateContextMenu());
    auto *layouts = menu->findChild<QMenu *>(QStringLiteral("KbLayoutMenu"));
    ASSERT_NE(nullptr, layouts);
    QAction *desktop = nullptr;
    QAction *add = nullptr;
    for (QAction *item : layouts->actions()) {
        if (item->data().toString() == QStringLiteral("us"))
            desktop = item;
        if (item->objectName() == QStringLiteral("AddKbLayout"))
            add = item;
    }
    ASSERT_NE(nullptr, desktop);
    ASSERT_NE(nullptr, add);
    EXPECT_TRUE(desktop->isChecked());

    const TKbLayoutChooser previous
            = SetKbLayoutChooser([](QWidget *) { return std::optional<KbLayout>(Greek); });
    add->trigger();
    SetKbLayoutChooser(previous);
    EXPECT_EQ(Greek, first->GetKbLayout());
    ASSERT_EQ(1u, receiver.Messages.size());
    const std::vector<KbLayout> offered = KbLayouts::OfferedLayouts();
    EXPECT_NE(offered.end(), std::find(offered.begin(), offered.end(), Greek));

    menu.reset(first->CreateContextMenu());
    layouts = menu->findChild<QMenu *>(QStringLiteral("KbLayoutMenu"));
    for (QAction *item : layouts->actions()) {
        if (item->data().toString() == QStringLiteral("gr")) {
            EXPECT_TRUE(item->isChecked());
        }
    }
    desktop = layouts->actions().front();
    desktop->trigger();
    EXPECT_EQ(KbLayouts::StartupLayout(), first->GetKbLayout());
    EXPECT_EQ(2u, receiver.Messages.size());
}

TEST_F(KBAwareControls, AltWithShiftAloneSwitchesToTheNextOfferedLayout)
{
    ASSERT_TRUE(KbLayouts::AddOfferedLayout(Greek));
    TReceiver receiver;
    first->LayoutReceiver = &receiver;
    const auto altShift = [this](bool withKey) {
        Press(*first, Qt::Key_Alt, 56, Qt::AltModifier);
        Press(*first, Qt::Key_Shift, ScanLeftShift, Qt::AltModifier | Qt::ShiftModifier);
        if (withKey)
            Key(*first, Qt::Key_A, 30, QString(), Qt::AltModifier | Qt::ShiftModifier);
        Release(*first, Qt::Key_Shift, ScanLeftShift, Qt::AltModifier);
        Release(*first, Qt::Key_Alt, 56, Qt::NoModifier);
    };
    altShift(false);
    EXPECT_EQ(Greek, first->GetKbLayout());
    EXPECT_EQ(Greek, KbLayouts::GetKeyboardLayout());
    altShift(true);
    EXPECT_EQ(Greek, first->GetKbLayout()) << "another key between cancels the switch";
    altShift(false);
    EXPECT_EQ(KbLayouts::StartupLayout(), first->GetKbLayout());
    EXPECT_EQ(2u, receiver.Messages.size());
}

TEST_F(KBAwareControls, ADesktopSwitchBecomesTheFocusedControlsLayoutAndIsPassedOn)
{
    TReceiver receiver;
    first->LayoutReceiver = second->LayoutReceiver = combo->LayoutReceiver = &receiver;
    second->SetKbLayout(German);
    combo->requestKbLayout(Greek);
    first->requestKbLayout(German);
    receiver.Messages.clear();
    ASSERT_TRUE(TKbTyping::Translating());

    // The desktop goes to its first group, "us": the focused edit follows, and types as the
    // desktop does.
    KbLayouts::DesktopGroupSwitched(0);
    const KbLayout us = KbLayouts::StartupLayout();
    EXPECT_EQ(us, first->GetKbLayout());
    EXPECT_EQ(us, KbLayouts::GetKeyboardLayout());
    EXPECT_FALSE(TKbTyping::Translating());
    Key(*first, Qt::Key_Y, ScanY, QStringLiteral("y"));
    EXPECT_EQ(QStringLiteral("y"), first->text());
    EXPECT_EQ(German, second->GetKbLayout());
    EXPECT_EQ(Greek, combo->GetKbLayout());

    combo->setFocus();
    EXPECT_EQ(Greek, KbLayouts::GetKeyboardLayout());
    KbLayouts::DesktopGroupSwitched(0);
    EXPECT_EQ(us, combo->GetKbLayout());
    // A group the desktop does not have, and a switch while no such control has the focus,
    // change nothing.
    second->setFocus();
    KbLayouts::DesktopGroupSwitched(1);
    EXPECT_EQ(German, second->GetKbLayout());
    second->clearFocus();
    KbLayouts::DesktopGroupSwitched(0);
    EXPECT_EQ(German, second->GetKbLayout());
    const auto self = reinterpret_cast<intptr_t>(first);
    const auto comboSelf = reinterpret_cast<intptr_t>(combo);
    EXPECT_EQ((std::vector<std::pair<intptr_t, intptr_t>>{{self, KbLayoutHandle(us)},
                                                          {comboSelf, KbLayoutHandle(us)}}),
              receiver.Messages);
}

} // namespace

// Accent keys whose usual spacing form the field's code page lacks type the form it has: the Greek
// tonos, the degree sign for the ring. An accent before a key it does not compose with is typed
// on its own, then the key.
TEST_F(KBAwareControls, AccentsTypeInTheFormTheCodePageHolds)
{
    constexpr unsigned ScanSemicolon = 39;
    constexpr unsigned ScanGrave = 41;
    constexpr unsigned ScanA = 30;
    constexpr unsigned ScanJ = 36;
    constexpr unsigned ScanU = 22;
    constexpr unsigned Scan5 = 6;
    struct TAccentCase
    {
        const char *Layout;
        int CodePage;
        unsigned AccentScan;
        Qt::KeyboardModifiers AccentModifiers;
        unsigned NextScan;
        const char16_t *Typed;
    };
    const TAccentCase cases[] = {
            {"gr", 1253, ScanSemicolon, Qt::NoModifier, ScanSpace, u"\u0384"},
            {"gr", 1253, ScanSemicolon, Qt::NoModifier, ScanA, u"\u03AC"},
            {"gr", 1253, ScanSemicolon, Qt::NoModifier, ScanJ, u"\u0384\u03BE"},
            {"cz", 1250, ScanGrave, Qt::ShiftModifier, ScanU, u"\u016F"},
            {"cz", 1250, ScanGrave, Qt::ShiftModifier, ScanSpace, u"\u00B0"},
            {"hu", 1250, Scan5, Qt::AltModifier, ScanU, u"\u016F"},
            {"de", 1252, ScanEqual, Qt::NoModifier, ScanQ, u"\u00B4q"},
    };
    for (const TAccentCase &test : cases) {
        SCOPED_TRACE(testing::Message()
                     << test.Layout << " " << test.AccentScan << " then " << test.NextScan);
        first->clear();
        first->CodePage = test.CodePage;
        first->SetKbLayout(KbLayout::FromName(test.Layout));
        if (test.AccentModifiers == Qt::ShiftModifier)
            Press(*first, Qt::Key_Shift, ScanLeftShift, Qt::ShiftModifier);
        if (test.AccentModifiers == Qt::AltModifier)
            Press(*first, Qt::Key_Alt, ScanRightAlt, Qt::AltModifier);
        Key(*first, Qt::Key_unknown, test.AccentScan, QString(), test.AccentModifiers);
        if (test.AccentModifiers == Qt::ShiftModifier)
            Release(*first, Qt::Key_Shift, ScanLeftShift, Qt::NoModifier);
        if (test.AccentModifiers == Qt::AltModifier)
            Release(*first, Qt::Key_Alt, ScanRightAlt, Qt::NoModifier);
        EXPECT_EQ(QString(), first->text());
        Key(*first, Qt::Key_unknown, test.NextScan, QStringLiteral("x"));
        EXPECT_EQ(QString::fromUtf16(test.Typed), first->text());
    }
    EXPECT_EQ(0, Beeps.Count());
}
