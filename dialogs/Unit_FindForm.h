#pragma once

#include <QDialog>
#include <QHash>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

class IFindTarget;
class TWordsGrid;
class QFont;
class QComboBox;
class QLabel;
class TKBAwareEdit;
class TWordList;

namespace Ui {
class TFindForm;
}

// The word grid's modeless find-and-replace window: one page per searchable column, each with a
// match mode, a find text and a replacement. It hands every request to its target, the grid.
class TFindForm : public QDialog
{
    Q_OBJECT

public:
    static constexpr int PageCount = 5;
    // The pages by their tag, which is also the column the grid searches.
    enum TPage : uint8_t {
        fpForeign,
        fpReference,
        fpContext,
        fpPartOfSpeech,
        fpLesson,
    };
    // A page's three controls, in the order of FocusIndex.
    enum TPageControl : uint8_t {
        pcMode,
        pcFind,
        pcReplace,
    };

    explicit TFindForm(QWidget *parent = nullptr);
    ~TFindForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

    // The main window's grid, whose list the window shows and searches (not owned).
    void SetGrid(TWordsGrid *grid);
    // A search target in place of the grid (not owned); gives back the one set before.
    IFindTarget *SetFindTarget(IFindTarget *target);

    // Shows the window above the owner, the main window, and brings it to the front.
    void Open(QWidget *owner);
    void SetActivePage(TPage page);
    TPage ActivePage() const;
    // The search of the active page again, without the window's bounds (F3).
    void FindAgain();

    std::array<QComboBox *, PageCount> ModeCombos{};
    std::array<TKBAwareEdit *, PageCount> FindEdits{};
    std::array<TKBAwareEdit *, PageCount> ReplaceEdits{};
    std::array<QLabel *, PageCount> FindLabels{};
    std::array<QLabel *, PageCount> ReplaceLabels{};
    // The control of page t at place p is entry 3t + p.
    std::array<QWidget *, 3 * PageCount> PageControls{};
    uint8_t FocusIndex = pcFind;
    bool PageChanging = false;
    std::unique_ptr<Ui::TFindForm> ui;

    void FormShow();
    void LayoutControls();
    void FindButtonClick();
    void ReplaceButtonClick();
    void ReplaceAllButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const TWordList *SearchedList() const;
    void SetPageFont(TPage page, const QFont &font, int codePage);
    void PageChanged();
    void FindTextChanged(const QString &text);
    void EditTextChanged(TKBAwareEdit &edit);
    void FocusPageControl();
    uint8_t Mode(TPage page) const;
    int PageCodePage(TPage page) const;
    std::optional<std::string> EditBytes(TPage page, const TKBAwareEdit &edit) const;
    std::optional<std::pair<std::string, std::string>> ReplaceTexts(TPage page) const;
    void BringOwnerToFront();
    void BringToFront();

    TWordsGrid *Grid = nullptr;
    IFindTarget *Target = nullptr;
    IFindTarget *SearchTarget() const;
    // Each edit's text as its last accepted change left it.
    QHash<const TKBAwareEdit *, QString> AcceptedTexts;
};

extern TFindForm *FindForm;
