#include "dialogs/Unit_FindForm.h"

#include "core/ListFont.h"
#include "core/Texts.h"
#include "core/Unit_WordList.h"
#include "grid/FindTarget.h"
#include "grid/WordsGrid.h"
#include "platform/Beep.h"
#include "platform/CodePage.h"
#include "ui_FindForm.h"
#include "widgets/KBAwareEdit.h"
#include "widgets/KbTyping.h"

#include <QMouseEvent>
#include <QShowEvent>
#include <QSignalBlocker>
#include <algorithm>
#include <utility>

TFindForm *FindForm = nullptr;

namespace {

// The stored layout, for edits 21 pixels high: the labels and edits of a page from the top of the
// page, the page control, the buttons below it and the window's height beyond them.
constexpr int FindLabelTop = 16;
constexpr int FindEditTop = 40;
constexpr int ReplaceLabelBeyondEdit = 59;
constexpr int ReplaceEditBelowLabel = 24;
constexpr int PageControlBeyondEdits = 135;
constexpr int ButtonsBelowPages = 15;
constexpr int WindowBeyondButtons = 67;
// The row of buttons: the stored width of each, the gap between them and the window's margins.
constexpr int ButtonWidth = 108;
constexpr int ButtonGap = 7;
constexpr int LeftMargin = 9;
constexpr int RightMargin = 8;
constexpr int StoredWidth = 470;

} // namespace

TFindForm::TFindForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TFindForm>())
{
    ui->setupUi(this);
    Ui::TFindForm &c = *ui;
    ModeCombos = {c.ForLangFindCombo, c.RefLangFindCombo, c.ContextFindCombo, c.PoSFindCombo,
                  c.LessonFindCombo};
    FindEdits = {c.ForLangFindEdit, c.RefLangFindEdit, c.ContextFindEdit, c.PoSFindEdit,
                 c.LessonFindEdit};
    ReplaceEdits = {c.ForLangReplaceEdit, c.RefLangReplaceEdit, c.ContextReplaceEdit,
                    c.PoSReplaceEdit, c.LessonReplaceEdit};
    FindLabels = {c.ForLangFindLabel, c.RefLangFindLabel, c.ContextFindLabel, c.PoSFindLabel,
                  c.LessonFindLabel};
    ReplaceLabels = {c.ForLangReplaceLabel, c.RefLangReplaceLabel, c.ContextReplaceLabel,
                     c.PoSReplaceLabel, c.LessonReplaceLabel};
    for (int page = 0; page < PageCount; ++page) {
        const auto p = static_cast<size_t>(page);
        PageControls[3 * p + pcMode] = ModeCombos[p];
        PageControls[3 * p + pcFind] = FindEdits[p];
        PageControls[3 * p + pcReplace] = ReplaceEdits[p];
        for (TKBAwareEdit *edit : {FindEdits[p], ReplaceEdits[p]}) {
            edit->AcceptAllKeys = true;
            connect(edit, &QLineEdit::textChanged, this, [this, edit] { EditTextChanged(*edit); });
        }
        // The edit's text when the change has been looked at: a refused paste is gone again.
        connect(FindEdits[p], &QLineEdit::textChanged, this,
                [this, edit = FindEdits[p]] { FindTextChanged(edit->text()); });
        connect(ModeCombos[p], &QComboBox::activated, this, [this] {
            if (!PageChanging)
                FocusIndex = pcMode;
        });
    }
    for (QWidget *control : PageControls)
        control->installEventFilter(this);
    connect(c.PageControl, &QTabWidget::currentChanged, this, &TFindForm::PageChanged);
    connect(c.FindButton, &QPushButton::clicked, this, &TFindForm::FindButtonClick);
    connect(c.ReplaceButton, &QPushButton::clicked, this, &TFindForm::ReplaceButtonClick);
    connect(c.ReplaceAllButton, &QPushButton::clicked, this, &TFindForm::ReplaceAllButtonClick);
    connect(c.CloseButton, &QPushButton::clicked, this, &QWidget::close);
}

TFindForm::~TFindForm() = default;

void TFindForm::SetGrid(TWordsGrid *grid)
{
    Grid = grid;
}

IFindTarget *TFindForm::SetFindTarget(IFindTarget *target)
{
    return std::exchange(Target, target);
}

// A child window of the main window stays above it on every desktop.
void TFindForm::Open(QWidget *owner)
{
    if (owner && parentWidget() != owner)
        setParent(owner, windowFlags());
    show();
    raise();
    activateWindow();
}

void TFindForm::SetActivePage(TPage page)
{
    ui->PageControl->setCurrentIndex(page);
}

// The main window's grid unless a target was set in its place.
IFindTarget *TFindForm::SearchTarget() const
{
    if (Target)
        return Target;
    return Grid;
}

// The list in the main window's grid, whose language names and fonts the window shows.
const TWordList *TFindForm::SearchedList() const
{
    return Grid ? Grid->GetWordList() : nullptr;
}

TFindForm::TPage TFindForm::ActivePage() const
{
    return static_cast<TPage>(std::clamp(ui->PageControl->currentIndex(), 0, PageCount - 1));
}

void TFindForm::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TFindForm::FormShow()
{
    if (IFindTarget *target = SearchTarget())
        target->PrepareTargetRows();
    const TWordList *list = SearchedList();
    if (list) {
        ui->PageControl->setTabText(fpForeign, DecodeText(list->ForLanguage));
        ui->PageControl->setTabText(fpReference, DecodeText(list->RefLanguage));
    }
    LayoutControls();
    FocusIndex = pcFind;
    TKBAwareEdit *edit = FindEdits[ActivePage()];
    edit->setFocus();
    edit->selectAll();
}

// The foreign and context edits show the foreign font, the reference edits the reference font;
// the window grows so that both edits of a page and the buttons fit.
void TFindForm::LayoutControls()
{
    const TWordList *list = SearchedList();
    const auto fontOf
            = [this](const TListFont *listFont) { return listFont ? listFont->toQFont() : font(); };
    SetPageFont(fpForeign, fontOf(list ? list->ForFont.get() : nullptr), PageCodePage(fpForeign));
    SetPageFont(fpContext, fontOf(list ? list->ForFont.get() : nullptr), PageCodePage(fpContext));
    SetPageFont(fpReference, fontOf(list ? list->RefFont.get() : nullptr),
                PageCodePage(fpReference));
    const int h = std::max(FindEdits[fpForeign]->sizeHint().height(),
                           FindEdits[fpReference]->sizeHint().height());
    // The part-of-speech and lesson edits keep the window's font and the height it gives them.
    const auto editHeight = [h](const TKBAwareEdit &edit, TPage page) {
        return page == fpPartOfSpeech || page == fpLesson ? edit.sizeHint().height() : h;
    };
    const int replaceLabelTop = h + ReplaceLabelBeyondEdit;
    const int replaceEditTop = replaceLabelTop + ReplaceEditBelowLabel;
    for (int page = 0; page < PageCount; ++page) {
        const auto p = static_cast<size_t>(page);
        TKBAwareEdit &find = *FindEdits[p];
        TKBAwareEdit &replace = *ReplaceEdits[p];
        FindLabels[p]->move(FindLabels[p]->x(), FindLabelTop);
        find.setGeometry(find.x(), FindEditTop, find.width(),
                         editHeight(find, static_cast<TPage>(page)));
        ModeCombos[p]->move(ModeCombos[p]->x(), FindEditTop);
        ReplaceLabels[p]->move(ReplaceLabels[p]->x(), replaceLabelTop);
        replace.setGeometry(replace.x(), replaceEditTop, replace.width(),
                            editHeight(replace, static_cast<TPage>(page)));
    }
    const int pagesHeight = 2 * h + PageControlBeyondEdits;
    const int buttonsTop = pagesHeight + ButtonsBelowPages;
    // A language whose captions are longer than the stored buttons widens them all alike, and
    // the window with them.
    const std::array<QPushButton *, 4> buttons{ui->FindButton, ui->ReplaceButton,
                                               ui->ReplaceAllButton, ui->CloseButton};
    int buttonWidth = ButtonWidth;
    for (const QPushButton *button : buttons)
        buttonWidth = std::max(buttonWidth, button->sizeHint().width());
    int left = LeftMargin;
    for (QPushButton *button : buttons) {
        button->setGeometry(left, buttonsTop, buttonWidth, button->height());
        left += buttonWidth + ButtonGap;
    }
    const int windowWidth = std::max(StoredWidth, left - ButtonGap + RightMargin);
    ui->PageControl->resize(windowWidth - ui->PageControl->x() - RightMargin, pagesHeight);
    setFixedSize(windowWidth, buttonsTop + WindowBeyondButtons);
}

void TFindForm::SetPageFont(TPage page, const QFont &font, int codePage)
{
    for (TKBAwareEdit *edit : {FindEdits[page], ReplaceEdits[page]}) {
        edit->setFont(font);
        edit->CodePage = codePage;
    }
}

// Typed characters the page's code page cannot hold never reach the edit; a pasted or dropped
// text with one is refused as a whole, as the grid's editors refuse it, and the edit shows its
// text from before again, the caret where the paste began.
void TFindForm::EditTextChanged(TKBAwareEdit &edit)
{
    QString &accepted = AcceptedTexts[&edit];
    const QString text = edit.text();
    if (AcceptTyped(text, edit.CodePage)) {
        accepted = text;
        return;
    }
    qsizetype same = 0;
    while (same < text.size() && same < accepted.size() && text[same] == accepted[same])
        ++same;
    const QSignalBlocker blocker(&edit);
    edit.setText(accepted);
    edit.setCursorPosition(static_cast<int>(same));
}

void TFindForm::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FocusPageControl();
}

// Only a click chooses the control the window comes back to; the keyboard leaves it.
bool TFindForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && !PageChanging) {
        const auto found = std::find(PageControls.begin(), PageControls.end(), watched);
        if (found != PageControls.end())
            FocusIndex = static_cast<uint8_t>((found - PageControls.begin()) % 3);
    }
    return QDialog::eventFilter(watched, event);
}

void TFindForm::FocusPageControl()
{
    PageControls[3 * static_cast<size_t>(ActivePage()) + FocusIndex]->setFocus();
}

void TFindForm::PageChanged()
{
    PageChanging = true;
    FindTextChanged(FindEdits[ActivePage()]->text());
    FocusPageControl();
    PageChanging = false;
}

void TFindForm::FindTextChanged(const QString &text)
{
    const bool any = !text.isEmpty();
    ui->FindButton->setEnabled(any);
    ui->ReplaceButton->setEnabled(any);
    ui->ReplaceAllButton->setEnabled(any);
}

uint8_t TFindForm::Mode(TPage page) const
{
    const int index = ModeCombos[page]->currentIndex();
    return index >= 0 && index <= 2 ? static_cast<uint8_t>(index) : 0;
}

// The texts of a page are bytes of the code page its column is stored in.
int TFindForm::PageCodePage(TPage page) const
{
    const TWordList *list = SearchedList();
    const TListFont *font = nullptr;
    if (list && (page == fpForeign || page == fpContext))
        font = list->ForFont.get();
    else if (list && page == fpReference)
        font = list->RefFont.get();
    return font ? CodePage::ForCharset(font->Charset) : CodePage::Default;
}

// A text kept from a list of another code page that this list's column cannot hold searches for
// nothing: no character of it is turned into another.
std::optional<std::string> TFindForm::EditBytes(TPage page, const TKBAwareEdit &edit) const
{
    std::string bytes;
    if (!CodePage::FromUnicode(edit.text(), PageCodePage(page), bytes)) {
        PlatformBeep(TBeepKind::Default);
        return std::nullopt;
    }
    return bytes;
}

void TFindForm::BringOwnerToFront()
{
    if (QWidget *owner = parentWidget()) {
        owner->raise();
        owner->activateWindow();
    }
}

void TFindForm::BringToFront()
{
    raise();
    activateWindow();
}

void TFindForm::FindButtonClick()
{
    const TPage page = ActivePage();
    FindEdits[page]->selectAll();
    IFindTarget *target = SearchTarget();
    const std::optional<std::string> findText = EditBytes(page, *FindEdits[page]);
    if (!target || !findText)
        return;
    BringOwnerToFront();
    target->FindNext(page, Mode(page), false, true, *findText, {});
    BringToFront();
}

// The page's find and replace texts, when both can be searched for in its column.
std::optional<std::pair<std::string, std::string>> TFindForm::ReplaceTexts(TPage page) const
{
    std::optional<std::string> findText = EditBytes(page, *FindEdits[page]);
    if (!findText)
        return std::nullopt;
    std::optional<std::string> replaceText = EditBytes(page, *ReplaceEdits[page]);
    if (!replaceText)
        return std::nullopt;
    return std::make_pair(std::move(*findText), std::move(*replaceText));
}

void TFindForm::ReplaceButtonClick()
{
    const TPage page = ActivePage();
    IFindTarget *target = SearchTarget();
    const auto texts = ReplaceTexts(page);
    if (!target || !texts)
        return;
    BringOwnerToFront();
    target->FindNext(page, Mode(page), true, true, texts->first, texts->second);
    BringToFront();
}

void TFindForm::ReplaceAllButtonClick()
{
    const TPage page = ActivePage();
    IFindTarget *target = SearchTarget();
    const auto texts = ReplaceTexts(page);
    if (!target || !texts)
        return;
    BringOwnerToFront();
    target->ReplaceAll(page, Mode(page), texts->first, texts->second);
    BringToFront();
}

void TFindForm::FindAgain()
{
    const TPage page = ActivePage();
    IFindTarget *target = SearchTarget();
    if (!target)
        return;
    if (const std::optional<std::string> findText = EditBytes(page, *FindEdits[page]))
        target->FindNext(page, Mode(page), false, false, *findText, {});
}

void TFindForm::ApplyLanguage()
{
    Ui::TFindForm &c = *ui;
    setWindowTitle(PackText(TEntry::FindCaption));
    // The language pages take the list's language names when the window is shown.
    c.PageControl->setTabText(c.PageControl->indexOf(c.ContextTab), PackText(TEntry::ContextTab));
    c.PageControl->setTabText(c.PageControl->indexOf(c.PartOfSpeechTab),
                              PackText(TEntry::PartOfSpeechTab));
    c.PageControl->setTabText(c.PageControl->indexOf(c.LessonTab), PackText(TEntry::LessonTab));
    for (int page = 0; page < PageCount; ++page) {
        const auto p = static_cast<size_t>(page);
        FindLabels[p]->setText(PackText(TEntry::FindWhatLabel));
        ReplaceLabels[p]->setText(PackText(TEntry::ReplaceWithLabel));
        QComboBox &modes = *ModeCombos[p];
        const QSignalBlocker blocker(&modes);
        modes.clear();
        for (TEntry mode : {TEntry::ContainsMode, TEntry::EqualsMode, TEntry::BeginsWithMode})
            modes.addItem(PackText(mode));
        modes.setCurrentIndex(0);
    }
    c.FindButton->setText(PackText(TEntry::FindNextButton));
    c.ReplaceButton->setText(PackText(TEntry::ReplaceButton));
    c.ReplaceAllButton->setText(PackText(TEntry::ReplaceAllButton));
    c.CloseButton->setText(PackText(TEntry::CloseButton));
    LayoutControls();
}
