#include "widgets/KbTyping.h"

#include "core/Texts.h"
#include "platform/Beep.h"
#include "platform/CodePage.h"
#include "platform/KbKeymap.h"
#include "platform/KeyboardLayouts.h"

#include <QActionGroup>
#include <QGuiApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QStringList>
#include <algorithm>
#include <utility>

namespace {

// XKB keysyms of the keys the typing state follows itself.
constexpr uint32_t KeyShiftLeft = 0xffe1;
constexpr uint32_t KeyShiftRight = 0xffe2;
constexpr uint32_t KeyCapsLock = 0xffe5;
constexpr uint32_t KeyLevelThree = 0xfe03;
constexpr uint32_t KeySpace = 0x20;
constexpr unsigned XkbKeycodeOffset = 8;
constexpr quint32 XLockMask = 2;

std::optional<bool> ForcedScanCodes;

QString Utf8(const std::string &text)
{
    return QString::fromStdString(text);
}

QString FromChar(char32_t c)
{
    return c ? QString::fromUcs4(&c, 1) : QString();
}

// Caps Lock turns a letter into its other case where the key's other shift level holds it.
char32_t WithCapsLock(const KbKeymap &keymap, int scanCode, int shift, char32_t c)
{
    if (shift >= 2 || c == 0 || c > 0xFFFF || !QChar(static_cast<char16_t>(c)).isLetter())
        return c;
    const char32_t other = keymap.KeyChar(scanCode, shift ^ 1);
    if (other == 0 || other > 0xFFFF)
        return c;
    const QChar letter(static_cast<char16_t>(c));
    const QChar otherLetter(static_cast<char16_t>(other));
    const bool pair
            = shift == 0 ? letter.toUpper() == otherLetter : letter.toLower() == otherLetter;
    return pair ? other : c;
}

TKbLayoutChooser InstalledChooser;

std::optional<KbLayout> DesktopChooser(QWidget *parent)
{
    const std::vector<KbLayouts::TCatalogueEntry> catalogue = KbLayouts::Catalogue();
    QStringList items;
    for (const KbLayouts::TCatalogueEntry &entry : catalogue)
        items.append(Utf8(entry.description) + QStringLiteral(" (") + Utf8(entry.layout.name())
                     + QStringLiteral(")"));
    bool ok = false;
    const QString title = PackText(TEntry::KeyboardToolCaption);
    const QString chosen = QInputDialog::getItem(parent, title, QString(), items, 0, false, &ok);
    const qsizetype index = items.indexOf(chosen);
    if (!ok || index < 0)
        return std::nullopt;
    return catalogue[static_cast<size_t>(index)].layout;
}

} // namespace

bool TKbTyping::ScanCodesAreXkb()
{
    if (ForcedScanCodes)
        return *ForcedScanCodes;
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
}

void TKbTyping::SetScanCodesAreXkb(bool on)
{
    ForcedScanCodes = on;
}

bool TKbTyping::Translating()
{
    return ScanCodesAreXkb() && KbLayouts::GetKeyboardLayout() != KbLayouts::DesktopLayout();
}

void TKbTyping::Reset()
{
    ShiftHeld = false;
    LevelThreeHeld = false;
    PendingDead = 0;
}

static int ScanCodeOf(const QKeyEvent &event)
{
    if (!TKbTyping::Translating() || event.nativeScanCode() <= XkbKeycodeOffset)
        return 0;
    return static_cast<int>(event.nativeScanCode() - XkbKeycodeOffset);
}

std::optional<TKbTyping::TKey> TKbTyping::Lookup(const QKeyEvent &event) const
{
    const int scanCode = ScanCodeOf(event);
    const auto keymap = scanCode ? KbKeymap::Of(KbLayouts::GetKeyboardLayout()) : nullptr;
    if (!keymap)
        return std::nullopt;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const bool levelThree = LevelThreeHeld || modifiers.testFlag(Qt::GroupSwitchModifier);
    // Shortcuts and menu mnemonics keep their keys. Alt types only while the AltGr key is held,
    // which a desktop without AltGr reports as Alt and some desktops as Ctrl with Alt.
    if (modifiers.testFlag(Qt::MetaModifier)
        || (modifiers.testFlag(Qt::ControlModifier) && !modifiers.testFlag(Qt::AltModifier))
        || (modifiers.testFlag(Qt::AltModifier) && !levelThree))
        return std::nullopt;
    const bool shift = ShiftHeld || modifiers.testFlag(Qt::ShiftModifier);
    const int state = (shift ? 1 : 0) + (levelThree ? 2 : 0);
    TKey key{keymap->KeySym(scanCode, state), keymap->KeyChar(scanCode, state), false};
    if (CapsLock) {
        const char32_t capital = WithCapsLock(*keymap, scanCode, state, key.Char);
        if (capital != key.Char)
            key = {keymap->KeySym(scanCode, state ^ 1), capital, false};
    }
    key.Dead = KbKeymap::IsDead(key.Keysym);
    if (key.Char == 0 && !key.Dead)
        return std::nullopt;
    return key;
}

bool TKbTyping::TypesText(const QKeyEvent &event) const
{
    return Lookup(event).has_value();
}

TKbTyping::TResult TKbTyping::Translate(const QKeyEvent &event, int codePage)
{
    const int scanCode = ScanCodeOf(event);
    const auto keymap = scanCode ? KbKeymap::Of(KbLayouts::GetKeyboardLayout()) : nullptr;
    if (!keymap)
        return {};
    const bool press = event.type() == QEvent::KeyPress;
    // The X server tells the lock state with every key, also one locked before the control was
    // entered.
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        CapsLock = (event.nativeModifiers() & XLockMask) != 0;
    // The desktop's own AltGr key chooses the third level too, wherever the desktop put it.
    if (event.key() == Qt::Key_AltGr) {
        LevelThreeHeld = press;
        return {};
    }
    switch (keymap->KeySym(scanCode, 0)) {
    case KeyShiftLeft:
    case KeyShiftRight:
        ShiftHeld = press;
        return {};
    case KeyLevelThree:
        LevelThreeHeld = press;
        return {};
    case KeyCapsLock:
        if (press && !event.isAutoRepeat())
            CapsLock = !CapsLock;
        return {};
    default:
        break;
    }
    const std::optional<TKey> key = press ? Lookup(event) : std::nullopt;
    if (!key)
        return {};
    if (const uint32_t pending = std::exchange(PendingDead, 0)) {
        const QString accent = FromChar(KbKeymap::DeadChar(pending, codePage));
        if (key->Keysym == KeySpace)
            return {TKind::Translated, accent};
        if (const char32_t composed = KbKeymap::Composed(pending, key->Keysym))
            return {TKind::Translated, FromChar(composed)};
        // Nothing composes: the accent stands on its own, followed by the key's own character.
        return {TKind::Translated,
                accent
                        + FromChar(key->Dead ? KbKeymap::DeadChar(key->Keysym, codePage)
                                             : key->Char)};
    }
    if (key->Dead) {
        PendingDead = key->Keysym;
        return {TKind::Composing, {}};
    }
    return {TKind::Translated, FromChar(key->Char)};
}

void RetypeKeyEvent(std::optional<QKeyEvent> &copy, const QKeyEvent &event, const QString &text)
{
    // event may be the copy itself, which emplace destroys first: read it before.
    const auto type = event.type();
    const int key = event.key();
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const quint32 scanCode = event.nativeScanCode();
    const quint32 virtualKey = event.nativeVirtualKey();
    const quint32 nativeModifiers = event.nativeModifiers();
    const bool autoRepeat = event.isAutoRepeat();
    const quint16 count = event.count();
    copy.emplace(type, key, modifiers, scanCode, virtualKey, nativeModifiers, text, autoRepeat,
                 count);
}

QChar TypedChar(const QKeyEvent &event)
{
    switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return QChar(9);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QChar(13);
    case Qt::Key_Up:
    case Qt::Key_Down:
        return QChar(0);
    default:
        return event.text().isEmpty() ? QChar(0) : event.text().front();
    }
}

bool TKbTyping::CycleRequested(const QKeyEvent &event)
{
    const int key = event.key();
    const bool alt = key == Qt::Key_Alt;
    const bool shift = key == Qt::Key_Shift;
    if (event.type() == QEvent::KeyPress) {
        if ((alt && event.modifiers().testFlag(Qt::ShiftModifier))
            || (shift && event.modifiers().testFlag(Qt::AltModifier)))
            CycleArmed = true;
        else if (!alt && !shift)
            CycleArmed = false;
        return false;
    }
    if (event.type() != QEvent::KeyRelease || (!alt && !shift))
        return false;
    return std::exchange(CycleArmed, false);
}

KbLayout NextOfferedLayout(const KbLayout &layout)
{
    const std::vector<KbLayout> offered = KbLayouts::OfferedLayouts();
    const auto found = std::find(offered.begin(), offered.end(), layout);
    if (found == offered.end() || std::next(found) == offered.end())
        return offered.empty() ? layout : offered.front();
    return *std::next(found);
}

TKbLayoutChooser SetKbLayoutChooser(TKbLayoutChooser chooser)
{
    return std::exchange(InstalledChooser, std::move(chooser));
}

void AddKbLayoutMenu(QMenu &menu, QWidget *control, const KbLayout &current,
                     const std::function<void(const KbLayout &)> &request)
{
    const QString title = PackText(TEntry::KeyboardToolCaption);
    QMenu *layouts = menu.addMenu(title);
    layouts->setObjectName(QStringLiteral("KbLayoutMenu"));
    auto *group = new QActionGroup(layouts);
    for (const KbLayout &layout : KbLayouts::OfferedLayouts()) {
        QAction *item = layouts->addAction(Utf8(KbLayouts::LayoutText(layout)));
        item->setCheckable(true);
        item->setChecked(layout == current);
        item->setData(Utf8(layout.name()));
        group->addAction(item);
        QObject::connect(item, &QAction::triggered, control,
                         [request, layout] { request(layout); });
    }
    layouts->addSeparator();
    QAction *add = layouts->addAction(title + QStringLiteral("..."));
    add->setObjectName(QStringLiteral("AddKbLayout"));
    QObject::connect(add, &QAction::triggered, control, [control, request] {
        const std::optional<KbLayout> chosen
                = InstalledChooser ? InstalledChooser(control) : DesktopChooser(control);
        if (!chosen || !KbKeymap::Of(*chosen))
            return;
        KbLayouts::AddOfferedLayout(*chosen);
        request(*chosen);
    });
}

bool AcceptTyped(const QString &text, int codePage)
{
    std::string bytes;
    if (CodePage::FromUnicode(text, codePage, bytes))
        return true;
    PlatformBeep(TBeepKind::Default);
    return false;
}
