#pragma once

#include "core/ModalResult.h"
#include "kbtool/KeyChars.h"
#include "platform/CodePage.h"
#include "platform/KbLayout.h"

#include <QDialog>
#include <QFont>
#include <QPageLayout>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QLineEdit;
class QPrinter;
namespace Ui {
class TKBLayoutForm;
}

// The on-screen keyboard of the layout that is active when it opens: the characters of 48 keys in
// four shift states, the dead keys and what they compose. Double-clicking keys composes the text
// that Insert hands to the caller; a second mode records what is printed on the user's own keys,
// and the chart of the layout can be printed.
class TKBLayoutForm : public QDialog
{
    Q_OBJECT

public:
    explicit TKBLayoutForm(QWidget *parent = nullptr);
    ~TKBLayoutForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

    // The editor's font and the code page of its text; the caller sets them before showing.
    QFont KeyFont;
    int KeyCodePage = CodePage::Default;

    // Where the chart goes, handed in by the owner of the program's printer; the window keeps a
    // printer of its own until then.
    void SetChartPrinter(QPrinter *printer);
    // The print dialog: true to print. Tests put a script in; nullptr restores the desktop's.
    using TChartPrintDialog = std::function<bool(QPrinter &printer, QWidget *parent)>;
    void SetChartPrintDialog(TChartPrintDialog dialog);
    // The text composed for the editor, which Insert hands over.
    QString InsertText() const;

    bool ClosedByButton = false;
    int HelpContext = 0;
    std::unique_ptr<Ui::TKBLayoutForm> ui;
    std::array<QLineEdit *, KeyCount> KeyEdits{};
    TKeyChars KeyChars;
    KbLayout ToolLayout;
    QString LayoutText;
    int CurShift = ssNone;
    int CurKey = 0;
    bool Updating = false;
    bool KeyPrintMode = false;
    bool PrintAfterKeyPrints = false;
    QPageLayout::Orientation SavedOrientation = QPageLayout::Portrait;

    void FormShow();
    void RefreshKeyEdits();
    // The dead key shown in the dead-key view; nothing in the layout view.
    std::optional<TDeadKeyInfo> SelectedDeadKey() const;

    void ShiftButtonClick(bool down);
    void CtrlAltButtonClick(bool down);
    void RAltButtonClick(bool down);
    void KeyEditChange(int key);
    void KeyEditEnter(int key);
    void KeyEditDblClick(int key);
    // True when the key was a navigation key, which the edit then ignores.
    bool KeyEditKeyDown(int key, int qtKey);
    void DeadKeyComboChange();
    void DeadKeyCheckClick(bool checked);
    void InsertButtonClick();
    void CloseButtonClick();

    void KeyPrintsButtonClick();
    void OKPrintsButtonClick();
    void CancelPrintsButtonClick();
    void PrintButtonClick();
    // Prints the chart on the chart printer; false, with the failure reported, when the job could
    // not be started.
    bool PrintKeyboardChart();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CloseWithResult(TModalResult result);
    void ComputeTable();
    void FillDeadKeyCombo(const std::vector<TDeadKeyInfo> &deadKeys);
    void DisableDeadKeyCheck();
    void FocusKey(int key);
    void ApplyLayoutGeometry();
    void EnterKeyPrintMode();
    // Leaves the key-print mode; a pending print is printed when asked, else given up.
    void LeaveKeyPrintMode(bool printPending);
    void KeyPrintEditChange(int key);
    void RestoreOrientation();
    QPrinter &Printer();

    QPrinter *chartPrinter = nullptr;
    TChartPrintDialog printDialog;
};

extern TKBLayoutForm *KBLayoutForm;
