#include "kbtool/Unit_KBLayoutForm.h"

#include "core/Texts.h"
#include "kbtool/KeyboardShape.h"
#include "platform/Beep.h"
#include "platform/KbKeymap.h"
#include "platform/KeyboardLayouts.h"
#include "ui_KBLayoutForm.h"
#include "widgets/HelpDispatcher.h"
#include "widgets/KbTyping.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPrinter>
#include <QShowEvent>
#include <QTimer>

TKBLayoutForm *KBLayoutForm = nullptr;

namespace {

constexpr int LayoutHelpContext = 1800;
constexpr int NoDeadKeyItem = 0;
const QColor DeadKeyColor(190, 236, 190);

// The drawn keyboard: where each key edit sits on the shape.
constexpr int Margin = 6;
constexpr int KeyPitch = 34;
constexpr int KeySize = 30;
constexpr int KeyGap = KeyPitch - KeySize;
constexpr int TabWidth = 50;
constexpr int CapsLockWidth = 60;
constexpr int LeftShiftWidth = 42;
constexpr int ShapeWidth = 530;
constexpr int SpaceBarLeft = 144;
constexpr int SpaceBarRight = 334;
constexpr std::array<int, 4> RowIndents{0, TabWidth, CapsLockWidth, LeftShiftWidth};
constexpr int BottomRow = 4;
// Below the insert line the buttons follow at this distance, and below them the window ends.
constexpr int ButtonGap = 11;
constexpr int BottomGap = 6;

QRect KeyRect(int key)
{
    if (key == SpaceBarKey)
        return {SpaceBarLeft, Margin + BottomRow * KeyPitch, SpaceBarRight - SpaceBarLeft, KeySize};
    const int row = KeyRow(key);
    const int y = Margin + row * KeyPitch;
    // The key right of the right Shift sits at the right edge.
    if (key == RowEnds.back())
        return {ShapeWidth - Margin - KeySize, y, KeySize, KeySize};
    return {Margin + RowIndents[row] + (key - RowStart(row)) * KeyPitch, y, KeySize, KeySize};
}

QRect RowRest(int row, int right = ShapeWidth - Margin)
{
    const QRect last = KeyRect(RowEnds[row]);
    return {last.right() + Margin, last.top(), right - last.right() - Margin, KeySize};
}

QString KeyText(uint8_t character, int codePage)
{
    return character ? DecodeText(std::string(1, static_cast<char>(character)), codePage)
                     : QString();
}

enum class TKeyLook {
    Character,
    Empty,
    Dead,
};

void ShowKey(QLineEdit &edit, const QString &text, TKeyLook look)
{
    edit.setText(text);
    QPalette colours = edit.palette();
    const QPalette standard = edit.style()->standardPalette();
    switch (look) {
    case TKeyLook::Character:
        colours.setColor(QPalette::Base, standard.color(QPalette::Base));
        break;
    case TKeyLook::Empty:
        colours.setColor(QPalette::Base, standard.color(QPalette::Button));
        break;
    case TKeyLook::Dead:
        colours.setColor(QPalette::Base, DeadKeyColor);
        break;
    }
    edit.setPalette(colours);
    edit.setReadOnly(look == TKeyLook::Dead);
}

} // namespace

TKBLayoutForm::TKBLayoutForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TKBLayoutForm>())
{
    ui->setupUi(this);
    for (int key = 0; key < KeyCount; ++key) {
        auto *edit = new QLineEdit(ui->KeyboardPanel);
        edit->setObjectName(QStringLiteral("KeyEdit%1").arg(key));
        edit->setMaxLength(1);
        edit->setAlignment(Qt::AlignCenter);
        edit->setGeometry(KeyRect(key));
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, [this, key] { KeyEditChange(key); });
        KeyEdits[key] = edit;
    }
    // The tab order is the key order, then the controls below the keyboard.
    for (int key = 1; key < KeyCount; ++key)
        setTabOrder(KeyEdits[key - 1], KeyEdits[key]);
    for (QWidget *control :
         std::initializer_list<QWidget *>{ui->DeadKeyCombo, ui->InsertEdit, ui->PrintButton,
                                          ui->KeyPrintsButton, ui->CloseButton, ui->InsertButton})
        control->installEventFilter(this);
    connect(ui->LShiftButton, &QToolButton::clicked, this, &TKBLayoutForm::ShiftButtonClick);
    connect(ui->RShiftButton, &QToolButton::clicked, this, &TKBLayoutForm::ShiftButtonClick);
    connect(ui->LCtrlButton, &QToolButton::clicked, this, &TKBLayoutForm::CtrlAltButtonClick);
    connect(ui->LAltButton, &QToolButton::clicked, this, &TKBLayoutForm::CtrlAltButtonClick);
    connect(ui->RAltButton, &QToolButton::clicked, this, &TKBLayoutForm::RAltButtonClick);
    connect(ui->DeadKeyCombo, &QComboBox::currentIndexChanged, this,
            &TKBLayoutForm::DeadKeyComboChange);
    connect(ui->DeadKeyCheck, &QCheckBox::clicked, this, &TKBLayoutForm::DeadKeyCheckClick);
    connect(ui->InsertButton, &QPushButton::clicked, this, &TKBLayoutForm::InsertButtonClick);
    connect(ui->CloseButton, &QPushButton::clicked, this, &TKBLayoutForm::CloseButtonClick);
    connect(ui->KeyPrintsButton, &QPushButton::clicked, this, &TKBLayoutForm::KeyPrintsButtonClick);
    connect(ui->OKPrintsButton, &QPushButton::clicked, this, &TKBLayoutForm::OKPrintsButtonClick);
    connect(ui->CancelPrintsButton, &QPushButton::clicked, this,
            &TKBLayoutForm::CancelPrintsButtonClick);
    connect(ui->PrintButton, &QPushButton::clicked, this, &TKBLayoutForm::PrintButtonClick);
    KeyFont = font();
}

TKBLayoutForm::~TKBLayoutForm() = default;

void TKBLayoutForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TKBLayoutForm::FormShow()
{
    ClosedByButton = false;
    HelpContext = LayoutHelpContext;
    SetHelpContext(this, HelpContext);
    Updating = true;
    ToolLayout = KbLayouts::GetKeyboardLayout();
    LayoutText = QString::fromStdString(KbLayouts::LayoutText(ToolLayout));
    setWindowTitle(PackText(TEntry::KeyboardToolCaption) + QStringLiteral(" - ") + LayoutText);
    for (QToolButton *button :
         {ui->LShiftButton, ui->RShiftButton, ui->LCtrlButton, ui->LAltButton, ui->RAltButton})
        button->setChecked(false);
    ui->InsertEdit->setFont(KeyFont);
    ui->InsertEdit->clear();
    ApplyLayoutGeometry();
    for (QLineEdit *edit : KeyEdits)
        edit->setFont(KeyFont);
    ComputeTable();
    ui->DeadKeyCombo->setCurrentIndex(NoDeadKeyItem);
    RefreshKeyEdits();
    ui->InsertEdit->setFocus();
}

// Each show starts again from the layout as the system has it; corrections last until then.
void TKBLayoutForm::ComputeTable()
{
    KeyChars = TKeyChars();
    const auto keymap = KbKeymap::Of(ToolLayout);
    if (keymap) {
        TKeyCharsComputer computer(KeyChars, *keymap, KeyCodePage);
        for (int key = 0; key < KeyCount; ++key) {
            for (int shift = 0; shift < ShiftCount; ++shift)
                computer.ComputeKeyChar(key, shift);
        }
    }
    FillDeadKeyCombo(DeadKeysKeyMajor(KeyChars));
}

void TKBLayoutForm::FillDeadKeyCombo(const std::vector<TDeadKeyInfo> &deadKeys)
{
    const QSignalBlocker quiet(ui->DeadKeyCombo);
    ui->DeadKeyCombo->clear();
    ui->DeadKeyCombo->addItem(PackText(TEntry::NoDeadKey));
    for (const TDeadKeyInfo &dead : deadKeys)
        ui->DeadKeyCombo->addItem(KeyText(KeyChars.At(dead.Shift, dead.Key).Char, KeyCodePage),
                                  QPoint(dead.Key, dead.Shift));
}

// The insert line takes the editor's font; what is below it moves with its height.
void TKBLayoutForm::ApplyLayoutGeometry()
{
    ui->InsertEdit->resize(ui->InsertEdit->width(), ui->InsertEdit->sizeHint().height());
    const int top = ui->InsertEdit->geometry().bottom() + 1 + ButtonGap;
    for (QPushButton *button :
         {ui->PrintButton, ui->KeyPrintsButton, ui->CloseButton, ui->InsertButton})
        button->move(button->x(), top);
    setFixedSize(width(), top + ui->InsertButton->height() + BottomGap);
}

std::optional<TDeadKeyInfo> TKBLayoutForm::SelectedDeadKey() const
{
    const QVariant data = ui->DeadKeyCombo->currentData();
    if (ui->DeadKeyCombo->currentIndex() <= NoDeadKeyItem || !data.isValid())
        return std::nullopt;
    const QPoint item = data.toPoint();
    return TDeadKeyInfo{item.x(), item.y()};
}

void TKBLayoutForm::RefreshKeyEdits()
{
    Updating = true;
    CurShift = (ui->LShiftButton->isChecked() ? ssShift : ssNone)
            + (ui->LCtrlButton->isChecked() || ui->RAltButton->isChecked() ? ssAltGr : ssNone);
    if (const auto dead = SelectedDeadKey()) {
        const TKeyChar &deadKey = KeyChars.At(dead->Shift, dead->Key);
        for (int key = 0; key < KeyCount; ++key) {
            const uint8_t c = deadKey.DeadTable ? deadKey.DeadTable->At(CurShift, key).Char : 0;
            ShowKey(*KeyEdits[key], KeyText(c, KeyCodePage),
                    c ? TKeyLook::Character : TKeyLook::Empty);
        }
        ShowKey(*KeyEdits[dead->Key], QString(), TKeyLook::Dead);
    } else {
        for (int key = 0; key < KeyCount; ++key) {
            const TKeyChar &entry = KeyChars.At(CurShift, key);
            const TKeyLook look = entry.IsDead ? TKeyLook::Dead
                    : entry.Char               ? TKeyLook::Character
                                               : TKeyLook::Empty;
            ShowKey(*KeyEdits[key], KeyText(entry.Char, KeyCodePage), look);
        }
    }
    Updating = false;
}

// The two Shift keys go together, and so do the left Ctrl and Alt, which together are AltGr.
void TKBLayoutForm::ShiftButtonClick(bool down)
{
    ui->LShiftButton->setChecked(down);
    ui->RShiftButton->setChecked(down);
    RefreshKeyEdits();
}

void TKBLayoutForm::CtrlAltButtonClick(bool down)
{
    ui->LCtrlButton->setChecked(down);
    ui->LAltButton->setChecked(down);
    if (down)
        ui->RAltButton->setChecked(false);
    RefreshKeyEdits();
}

void TKBLayoutForm::RAltButtonClick(bool down)
{
    if (down) {
        ui->LCtrlButton->setChecked(false);
        ui->LAltButton->setChecked(false);
    }
    RefreshKeyEdits();
}

void TKBLayoutForm::KeyEditChange(int key)
{
    if (KeyPrintMode) {
        KeyPrintEditChange(key);
        return;
    }
    QLineEdit &edit = *KeyEdits[key];
    const auto dead = SelectedDeadKey();
    TKeyChars *table = &KeyChars;
    if (dead)
        table = KeyChars.At(dead->Shift, dead->Key).DeadTable.get();
    if (!table)
        return;
    uint8_t &stored = table->At(CurShift, key).Char;
    const QString text = edit.text().left(1);
    std::string bytes;
    // A key holds one byte: a character the editor's code page cannot hold, or holds only in two
    // bytes, is refused.
    if (!text.isEmpty()
        && (!CodePage::FromUnicode(text, KeyCodePage, bytes) || bytes.size() != 1)) {
        PlatformBeep(TBeepKind::Default);
        const bool wasUpdating = std::exchange(Updating, true);
        edit.setText(KeyText(stored, KeyCodePage));
        Updating = wasUpdating;
        return;
    }
    stored = bytes.empty() ? 0 : static_cast<uint8_t>(bytes[0]);
    if (!edit.isReadOnly())
        ShowKey(edit, edit.text(), stored ? TKeyLook::Character : TKeyLook::Empty);
    if (!Updating && key + 1 < KeyCount)
        FocusKey(key + 1);
}

void TKBLayoutForm::FocusKey(int key)
{
    KeyEdits[key]->setFocus();
    KeyEdits[key]->selectAll();
}

void TKBLayoutForm::KeyEditEnter(int key)
{
    CurKey = key;
    if (ui->DeadKeyCombo->currentIndex() == NoDeadKeyItem) {
        ui->DeadKeyCheck->setChecked(KeyChars.At(CurShift, CurKey).IsDead);
        ui->DeadKeyCheck->setEnabled(true);
    } else {
        DisableDeadKeyCheck();
    }
}

void TKBLayoutForm::DisableDeadKeyCheck()
{
    ui->DeadKeyCheck->setEnabled(false);
    ui->DeadKeyCheck->setChecked(false);
}

void TKBLayoutForm::KeyEditDblClick(int key)
{
    const QString text = KeyEdits[key]->text();
    if (SelectedDeadKey()) {
        ui->InsertEdit->setText(ui->InsertEdit->text() + text);
        ui->DeadKeyCombo->setCurrentIndex(NoDeadKeyItem);
        RefreshKeyEdits();
        return;
    }
    if (KeyChars.At(CurShift, key).IsDead) {
        for (int item = NoDeadKeyItem + 1; item < ui->DeadKeyCombo->count(); ++item) {
            if (ui->DeadKeyCombo->itemData(item).toPoint() == QPoint(key, CurShift)) {
                ui->DeadKeyCombo->setCurrentIndex(item);
                break;
            }
        }
        RefreshKeyEdits();
        return;
    }
    ui->InsertEdit->setText(ui->InsertEdit->text() + text);
}

bool TKBLayoutForm::KeyEditKeyDown(int key, int qtKey)
{
    const bool spaceBarShown = !KeyEdits[SpaceBarKey]->isHidden();
    const int row = KeyRow(key);
    switch (qtKey) {
    case Qt::Key_PageUp:
        FocusKey(0);
        break;
    case Qt::Key_PageDown:
        FocusKey(spaceBarShown ? SpaceBarKey : RowEnds.back());
        break;
    case Qt::Key_Home:
        if (row >= 0)
            FocusKey(RowStart(row));
        break;
    case Qt::Key_End:
        if (row >= 0)
            FocusKey(RowEnds[row]);
        break;
    case Qt::Key_Left:
        if (key > 0)
            FocusKey(key - 1);
        break;
    case Qt::Key_Right:
        if (key + 1 < SpaceBarKey || (key + 1 == SpaceBarKey && spaceBarShown))
            FocusKey(key + 1);
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        break;
    default:
        return false;
    }
    return true;
}

bool TKBLayoutForm::eventFilter(QObject *watched, QEvent *event)
{
    const auto found = std::find(KeyEdits.begin(), KeyEdits.end(), watched);
    if (found == KeyEdits.end()) {
        if (event->type() == QEvent::FocusIn)
            DisableDeadKeyCheck();
        return QDialog::eventFilter(watched, event);
    }
    const int key = static_cast<int>(found - KeyEdits.begin());
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        // The edit's own press handling would take the selection away again.
        QTimer::singleShot(0, *found, &QLineEdit::selectAll);
        break;
    case QEvent::MouseButtonDblClick:
        if (!KeyPrintMode) {
            KeyEditDblClick(key);
            return true;
        }
        break;
    case QEvent::FocusIn:
        // A key holds one character: entering it selects it, so typing replaces it.
        QTimer::singleShot(0, *found, &QLineEdit::selectAll);
        if (!KeyPrintMode)
            KeyEditEnter(key);
        break;
    case QEvent::KeyPress:
        return KeyEditKeyDown(key, static_cast<QKeyEvent *>(event)->key());
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TKBLayoutForm::DeadKeyComboChange()
{
    RefreshKeyEdits();
}

void TKBLayoutForm::DeadKeyCheckClick(bool checked)
{
    TKeyChar &entry = KeyChars.At(CurShift, CurKey);
    if (checked && !entry.IsDead) {
        entry.IsDead = true;
        entry.DeadTable = std::make_unique<TKeyChars>();
        FillDeadKeyCombo(DeadKeysShiftMajor(KeyChars));
        ui->DeadKeyCombo->setCurrentIndex(NoDeadKeyItem);
        RefreshKeyEdits();
    } else if (!checked && entry.IsDead) {
        entry.IsDead = false;
        entry.DeadTable.reset();
        for (int item = NoDeadKeyItem + 1; item < ui->DeadKeyCombo->count(); ++item) {
            if (ui->DeadKeyCombo->itemData(item).toPoint() == QPoint(CurKey, CurShift)) {
                ui->DeadKeyCombo->removeItem(item);
                break;
            }
        }
        RefreshKeyEdits();
    }
}

void TKBLayoutForm::InsertButtonClick()
{
    CloseWithResult(mrOk);
}

void TKBLayoutForm::CloseButtonClick()
{
    CloseWithResult(mrCancel);
}

void TKBLayoutForm::CloseWithResult(TModalResult result)
{
    ClosedByButton = true;
    done(result);
}

void TKBLayoutForm::keyPressEvent(QKeyEvent *event)
{
    // Escape in the key-print mode leaves that mode, as its Cancel button does.
    if (KeyPrintMode && event->key() == Qt::Key_Escape) {
        CancelPrintsButtonClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Escape and the close box end the dialog as Close does; closed during the key-print mode, the
// window gives up that mode as its Cancel does, so the next show starts in the layout view.
void TKBLayoutForm::reject()
{
    if (KeyPrintMode)
        LeaveKeyPrintMode(false);
    done(mrCancel);
}

// The caption names the layout and is set on showing.
void TKBLayoutForm::ApplyLanguage()
{
    for (QToolButton *button : {ui->LShiftButton, ui->RShiftButton})
        button->setText(PackText(TEntry::ShiftKeyLabel));
    for (QLabel *label : {ui->LShiftLabel, ui->RShiftLabel})
        label->setText(PackText(TEntry::ShiftKeyLabel));
    ui->LCtrlButton->setText(PackText(TEntry::CtrlKeyLabel));
    ui->LCtrlLabel->setText(PackText(TEntry::CtrlKeyLabel));
    for (QToolButton *button : {ui->LAltButton, ui->RAltButton})
        button->setText(PackText(TEntry::AltKeyLabel));
    for (QLabel *label : {ui->LAltLabel, ui->RAltLabel})
        label->setText(PackText(TEntry::AltKeyLabel));
    const QRect bottom = KeyRect(SpaceBarKey);
    const int lowest = bottom.top();
    const QRect rightAlt = ui->RAltButton->geometry();
    const int startWidth = (ShapeWidth - Margin - rightAlt.right()) / 3;
    auto bottomCell = [&](int index) {
        return QRect(rightAlt.right() + 1 + index * startWidth, lowest, startWidth, KeySize);
    };
    ui->KeyboardPanel->SetLabels({
            {RowRest(0), PackText(TEntry::BackspaceKeyLabel)},
            {QRect(Margin, KeyRect(RowStart(1)).top(), TabWidth - KeyGap, KeySize),
             PackText(TEntry::TabKeyLabel)},
            {RowRest(1).united(RowRest(1).translated(0, KeyPitch)),
             PackText(TEntry::EnterKeyLabel)},
            {QRect(Margin, KeyRect(RowStart(2)).top(), CapsLockWidth - KeyGap, KeySize),
             PackText(TEntry::CapsLockKeyLabel)},
            {QRect(ui->LCtrlButton->geometry().right() + 1, lowest,
                   ui->LAltButton->x() - ui->LCtrlButton->geometry().right() - 1, KeySize),
             PackText(TEntry::StartKeyLabel)},
            {bottomCell(0), PackText(TEntry::StartKeyLabel)},
            {bottomCell(1), PackText(TEntry::ContextKeyLabel)},
            {bottomCell(2), PackText(TEntry::CtrlKeyLabel)},
    });
    ui->DeadKeyLabel->setText(PackText(TEntry::DeadKeyLabel));
    ui->DeadKeyCheck->setText(PackText(TEntry::DeadKeyCheck));
    ui->PrintButton->setText(PackText(TEntry::KeyboardPrintButton));
    ui->KeyPrintsButton->setText(PackText(TEntry::KeyPrintsButton));
    ui->CloseButton->setText(PackText(TEntry::CloseButton));
    ui->InsertButton->setText(PackText(TEntry::InsertKeysButton));
    ui->KeyPrintsHelpLabel->setText(PackText(TEntry::KeyPrintsHelp));
    ui->OKPrintsButton->setText(PackText(TEntry::OkButton));
    ui->CancelPrintsButton->setText(PackText(TEntry::CancelButton));
    if (ui->DeadKeyCombo->count() > 0)
        ui->DeadKeyCombo->setItemText(NoDeadKeyItem, PackText(TEntry::NoDeadKey));
}

QString TKBLayoutForm::InsertText() const
{
    return ui->InsertEdit->text();
}
