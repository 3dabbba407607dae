#include "mainwindow/Main.h"

#include "core/BusyCursor.h"
#include "core/ModalResult.h"
#include "core/PrivateMessages.h"
#include "core/Texts.h"
#include "core/Unit_FileAssociation.h"
#include "core/Unit_FilesThread.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_ThreadInterchange.h"
#include "core/Unit_Warnings.h"
#include "core/Unit_WordList.h"
#include "dialogs/Unit_FindForm.h"
#include "dialogs/Unit_StartupForm.h"
#include "exercises/Unit_ExercForm.h"
#include "exercises/Unit_ExercList.h"
#include "exercises/Unit_ExercStartForm.h"
#include "exercises/Unit_FilterForm.h"
#include "grid/SoundGlyph.h"
#include "grid/SoundPanel.h"
#include "grid/WordsGrid.h"
#include "mainwindow/ApplyLanguage.h"
#include "platform/Beep.h"
#include "platform/CodePage.h"
#include "platform/EntrySpelling.h"
#include "platform/HelpProbe.h"
#include "platform/WindowPositions.h"
#include "print/Unit_PrintPreviewForm.h"
#include "sound/XaudioPlayer.h"
#include "ui_MainForm.h"
#include "widgets/KbLayoutHandle.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QStringList>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <exception>
#include <limits>
#include <utility>
#include <vector>

TMainForm *MainForm = nullptr;

namespace {

constexpr const char *RegistrationUnreadable
        = "The registration data could not be read.  Re-install Tarnwick to restore the data.";
constexpr const char *PackUnreadable = "Language pack could not be read.";
constexpr int CurrentFormat = 5;
constexpr int SeparatorWidth = 12;
constexpr const char *CharacterProperty = "Character";

int16_t Clamped(int value)
{
    return static_cast<int16_t>(std::clamp<int>(value, std::numeric_limits<int16_t>::min(),
                                                std::numeric_limits<int16_t>::max()));
}

void RestorePlacement(QWidget *window, const TFormPlacement &placement)
{
    if (!window)
        return;
    if (WindowPositionsReported())
        window->setGeometry(placement.Left, placement.Top, placement.Width, placement.Height);
    else
        window->resize(placement.Width, placement.Height);
    window->setWindowState(placement.Maximized ? Qt::WindowMaximized : Qt::WindowNoState);
}

void StorePlacement(const QWidget *window, TFormPlacement &placement)
{
    if (!window)
        return;
    placement.Maximized = window->isMaximized();
    QRect normal = window->normalGeometry();
    if (!placement.Maximized || normal.isEmpty())
        normal = normal.isEmpty() || !placement.Maximized ? window->geometry() : normal;
    // Where the desktop keeps the positions to itself, those of an earlier session stay.
    if (WindowPositionsReported()) {
        placement.Left = Clamped(normal.left());
        placement.Top = Clamped(normal.top());
    }
    placement.Width = Clamped(normal.width());
    placement.Height = Clamped(normal.height());
}

// The characters of a foreign-characters string in the code page of the list's foreign font;
// an empty string stands for a group separator.
std::vector<QString> SplitCharacters(const std::string &chars, int codePage)
{
    std::vector<QString> result;
    for (size_t pos = 0; pos < chars.size();) {
        const size_t length = CodePage::CharLength(chars, pos, codePage);
        if (length == 1 && chars[pos] == '|')
            result.emplace_back();
        else
            result.push_back(
                    CodePage::ToUnicode(std::string_view(chars).substr(pos, length), codePage));
        pos += length;
    }
    return result;
}

} // namespace

bool IsDebugArgument(const QString &argument)
{
    return IsDiagnosticsArgument(argument);
}

std::string StartupFileName(const QStringList &arguments, bool loadMRU, const std::string &mruList)
{
    QStringList files;
    for (qsizetype i = 1; i < arguments.size(); ++i)
        if (!IsDebugArgument(arguments[i]))
            files.append(arguments[i]);
    // The title and the recent files show the name as the folder spells it.
    if (files.size() == 1)
        return WithEntrySpelling(
                QFile::encodeName(QFileInfo(files.front()).absoluteFilePath()).toStdString());
    return loadMRU ? mruList : std::string();
}

QString MainTitle(const TWordList *list)
{
    if (!list)
        return QStringLiteral("Tarnwick");
    // The toolkit takes "[*]" for its modified mark; doubled it stands for itself.
    QString name = list->GetListName();
    name.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
    return QStringLiteral("Tarnwick - ") + name;
}

TMainForm::TMainForm(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::TMainForm>())
{
    ui->setupUi(this);
    CommandLine = QCoreApplication::arguments();
    setWindowTitle(MainTitle(nullptr));
    ui->ForWordEdit->setMaxLength(512);
    ui->RefWordEdit->setMaxLength(512);
    ui->ContextEdit->setMaxLength(1000);
    ui->LessonEdit->setMaxLength(64);
    ui->PartOfSpeechCombo->lineEdit()->setMaxLength(64);
    // Completion is the grid's own, case-sensitive; Enter must not add the text as an item.
    ui->PartOfSpeechCombo->setCompleter(nullptr);
    ui->PartOfSpeechCombo->setInsertPolicy(QComboBox::NoInsert);
    ui->ExercLevelCombo->setMaxVisibleItems(4);
    // The editors live in the grid's viewport; their layout changes still come here.
    for (TKBAwareEdit *edit : {ui->ForWordEdit, ui->RefWordEdit, ui->ContextEdit, ui->LessonEdit})
        edit->LayoutReceiver = this;
    ui->PartOfSpeechCombo->LayoutReceiver = this;
    ui->ExercLevelCombo->LayoutReceiver = this;
    auto *count = new QLabel(ui->StatusBar);
    count->setObjectName(QStringLiteral("WordCountLabel"));
    ui->StatusBar->addPermanentWidget(count, 1);
    ui->StatusBar->setSizeGripEnabled(false);
    ui->ClientLayout->setStretch(0, 1);
    ApplyHelpContexts();

    TWordsGrid &grid = *ui->WordsGrid;
    grid.SetMessageTarget(this);
    grid.SetForWordEdit(ui->ForWordEdit);
    grid.SetRefWordEdit(ui->RefWordEdit);
    grid.SetContextEdit(ui->ContextEdit);
    grid.SetPartOfSpeechCombo(ui->PartOfSpeechCombo);
    grid.SetLessonEdit(ui->LessonEdit);
    grid.SetLevelCombo(ui->ExercLevelCombo);
    grid.BindSoundPanel(new TSoundPanel(this));
    // The grid's player; its notices stop with the grid.
    auto *player = new TXaudioPlayer(&grid);
    player->SetPriority(XaudioPlayerPriority);
    grid.SetXAPlayer(player);
    grid.SetSoundBmp(SoundGlyph(palette().color(QPalette::Text)));
    grid.SetSoundInvBmp(SoundGlyph(palette().color(QPalette::HighlightedText)));
    CreateCommands();
    // An exercise answer makes an undoable score reset of the shown list undoable no longer:
    // undoing it would wipe what the exercise recorded.
    TExercForm::RecordChanged = [&grid](const TWordList &changed) {
        if (grid.GetWordList() == &changed && grid.GetUndoKind() == TUndoKind::ScoreReset)
            grid.ClearUndo();
    };
}

TMainForm::~TMainForm()
{
    TExercForm::RecordChanged = nullptr;
    UnhookHelp();
}

TWordsGrid *TMainForm::WordsGrid() const
{
    return ui->WordsGrid;
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (Shown)
        return;
    Shown = true;
    Starting = true;
    // A modal splash and a close from inside the show handler are unsafe: start-up runs next.
    QTimer::singleShot(0, this, &TMainForm::FormShow);
}

void TMainForm::FormShow()
{
    // Closed again before its start-up came: there is nothing to start.
    if (!isVisible()) {
        Starting = false;
        return;
    }
    bool resetPartsOfSpeech = false;
    if (!LoadSettings(resetPartsOfSpeech)) {
        StartupFailed(RegistrationUnreadable);
        return;
    }
    SettingsRead = true;
    if (!LanguagePack)
        LanguagePack = new TLanguagePack;
    if (!LanguagePack->Load(Language)) {
        StartupFailed(PackUnreadable);
        return;
    }
    if (resetPartsOfSpeech)
        ResetPartsOfSpeech();
    // Every window, this one included.
    ::ApplyLanguage();
    HookHelp();
    RestorePlacement(this, FormPlacements[0]);
    RestorePlacement(ExercForm, FormPlacements[1]);
    RestorePlacement(PrintPreviewForm, FormPlacements[2]);
    ui->WordsGrid->ApplyColumnSettings();
    if (OtherOptions.RegisterFileType)
        CheckFileType();
    if (StartupForm)
        StartupForm->exec();
    const std::string fileName = StartupFileName(CommandLine, OtherOptions.LoadMRU, MRUList);
    if (!fileName.empty()) {
        OpenList(fileName);
        return;
    }
    Starting = false;
    emit StartupDone();
}

// The two texts are fixed: without settings or a pack there is nothing to take a text from.
void TMainForm::StartupFailed(const char *text)
{
    ShowError(text);
    SaveSettingsOnClose = false;
    StartFailed = true;
    Starting = false;
    QTimer::singleShot(0, this, &QWidget::close);
}

// A failed write is reported once; the program goes on without the association.
void TMainForm::CheckFileType()
{
    const std::string program
            = QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
    const std::string &description = LanguageText(TEntry::FileTypeName);
    if (CheckFileAssociation(program, description))
        return;
    std::string error;
    if (!RegisterFileAssociation(program, description, error))
        ShowError(error);
}

void TMainForm::OpenList(const std::string &fileName)
{
    ui->WordsGrid->SetBusy(true);
    SetBusyCursor(true);
    FilesThread = new TFilesThread(fileName, FilesOpen, this);
}

bool TMainForm::FormCloseQuery()
{
    return !Busy && CheckSaved();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    // A close that comes before start-up has read the settings must not write them back; a
    // refused close changes nothing.
    if (!SettingsRead)
        SaveSettingsOnClose = false;
    FormClose();
    QMainWindow::closeEvent(event);
    // The main window ends the program even while a modeless window is still visible.
    if (event->isAccepted())
        QApplication::quit();
}

// A failing settings write is reported by the settings unit; the program still ends.
void TMainForm::FormClose()
{
    UnhookHelp();
    if (FindForm)
        FindForm->close();
    if (!SaveSettingsOnClose)
        return;
    StorePlacement(this, FormPlacements[0]);
    StorePlacement(ExercForm, FormPlacements[1]);
    StorePlacement(PrintPreviewForm, FormPlacements[2]);
    ui->WordsGrid->StoreColumnSettings();
    SaveSettings();
}

bool TMainForm::CheckSaved()
{
    const TWordList *list = ui->WordsGrid->GetWordList();
    if (!list || list->Saved)
        return true;
    switch (WarnYesNoCancel(
            PackText(TEntry::SaveChangesQuestion, {{u"%ln%", list->GetListName()}}))) {
    case mbYes:
        return SaveList(true);
    case mbNo:
        return true;
    default:
        return false;
    }
}

bool TMainForm::SaveList(bool Synchronous)
{
    const TWordList *list = ui->WordsGrid->GetWordList();
    if (!list)
        return false;
    if (list->FileName.empty())
        return SaveListAs(Synchronous);
    return SaveTo(list->FileName, Synchronous);
}

bool TMainForm::SaveListAs(bool Synchronous)
{
    const TWordList *list = ui->WordsGrid->GetWordList();
    if (!list)
        return false;
    CloseFindForm();
    TFileDialogRequest request;
    request.FileName = list->GetListName();
    if (!RunFileDialog(request, TEntry::SaveAsDialogTitle, TEntry::SaveAsFilter, "wdl", true,
                       SaveAsFilterIndex))
        return false;
    return SaveTo(QFile::encodeName(request.FileName).toStdString(), Synchronous);
}

// A synchronous save shows its outcome at once, as the finished message does for a threaded
// one; a failed save keeps the list's old name and unsaved state.
bool TMainForm::SaveTo(const std::string &fileName, bool synchronous)
{
    TWordsGrid &grid = *ui->WordsGrid;
    if (!grid.SaveList(fileName, synchronous))
        return false;
    if (synchronous) {
        ShowTitle();
        MRUList = grid.GetWordList()->FileName;
        ui->ToolBar->repaint();
    }
    return true;
}

void TMainForm::StartExercise(bool Exercise)
{
    TWordsGrid &grid = *ui->WordsGrid;
    TWordList *words = grid.GetWordList();
    if (!words || !ExercStartForm || !ExercForm)
        return;
    uint8_t status = 0;
    auto list = std::make_unique<TExercList>(*words, Exercise, status);
    if (status != 0) {
        ShowError(LanguageText(status == 1 ? TEntry::NoLevelsSet : TEntry::AllWordsLearned));
        return;
    }
    // The dialogs only borrow the list; neither may keep it once it is freed or handed on.
    ExercStartForm->ExercList = list.get();
    const int result = ExercStartForm->exec();
    ExercStartForm->ExercList = nullptr;
    if (FilterForm)
        FilterForm->ExercList = nullptr;
    if (result == mrCancel)
        return;
    if (FilterForm)
        list->ApplyFilter(FilterForm->SelectedPartsOfSpeech, FilterForm->SelectedLessons,
                          FilterForm->OnlyPronunciation);
    // The dialogs keep the filter from leaving nothing; should it still, there is nothing to ask.
    if (list->Count() == 0) {
        ShowError(LanguageText(TEntry::AllWordsLearned));
        return;
    }

    grid.SaveSelection();
    // The explicit flag: the strip's own visibility also depends on the window being shown.
    const bool charsShown = !ui->PageScroller->isHidden();
    HideGridForExercise();
    CloseFindForm();
    ExercForm->ExercList = std::move(list);
    ExercForm->exec();
    grid.show();
    ui->PageScroller->setVisible(charsShown);
    grid.RestoreSelection();
}

// The words stay out of sight while they are asked.
void TMainForm::HideGridForExercise()
{
    for (QWidget *control : std::initializer_list<QWidget *>{
                 ui->WordsGrid, ui->PageScroller, ui->ForWordEdit, ui->RefWordEdit,
                 ui->PartOfSpeechCombo, ui->LessonEdit, ui->ContextEdit,
                 findChild<QWidget *>(QStringLiteral("SoundPanel")), ui->ExercLevelCombo})
        if (control)
            control->hide();
}

void TMainForm::ShowTitle()
{
    setWindowTitle(MainTitle(ui->WordsGrid->GetWordList()));
}

void TMainForm::ShowWordCount()
{
    auto *label = ui->StatusBar->findChild<QLabel *>(QStringLiteral("WordCountLabel"));
    const TWordList *list = ui->WordsGrid->GetWordList();
    if (!list)
        label->clear();
    else if (list->Count() == 1)
        label->setText(PackText(TEntry::OneWordCount));
    else
        label->setText(PackText(TEntry::WordCount, {{u"%n%", QString::number(list->Count())}}));
}

void TMainForm::RebuildCharToolBar()
{
    delete std::exchange(CharToolBar, nullptr);
    const TWordList *list = ui->WordsGrid->GetWordList();
    auto *bar = new QWidget;
    CharToolBar = bar;
    ui->PageScroller->setWidget(bar);
    if (!list || !list->ForFont) {
        ui->PageScroller->hide();
        return;
    }
    const QFont font = list->ForFont->toQFont();
    bar->setFont(font);
    const std::vector<QString> chars
            = SplitCharacters(list->ForeignChars, CodePage::ForCharset(list->ForFont->Charset));
    const QFontMetrics metrics(font);
    int w = 0;
    int h = 0;
    for (const QString &character : chars) {
        if (character.isEmpty())
            continue;
        w = std::max(w, metrics.horizontalAdvance(character));
        h = std::max(h, metrics.height());
    }
    if (w < 1 || h < 1) {
        ui->PageScroller->hide();
        return;
    }
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    int width = 0;
    for (const QString &character : chars) {
        if (character.isEmpty()) {
            layout->addSpacing(SeparatorWidth);
            width += SeparatorWidth;
            continue;
        }
        auto *button = new QToolButton(bar);
        button->setAutoRaise(true);
        button->setFixedSize(w + 8, h + 8);
        // "&" would be a mnemonic and show nothing; the character to send lies apart.
        button->setText(QString(character).replace(QLatin1Char('&'), QLatin1String("&&")));
        button->setProperty(CharacterProperty, character);
        connect(button, &QToolButton::clicked, this, [this, button] { CharacterTBClick(button); });
        layout->addWidget(button, 0, Qt::AlignTop);
        width += w + 8;
    }
    bar->setFixedSize(width, h + 10);
    ui->PageScroller->setFixedHeight(
            h + 10 + ui->PageScroller->horizontalScrollBar()->sizeHint().height());
    // A click anywhere on the bar would give the focus to the first part of it that takes one,
    // and so close the editor that the character is meant for.
    ui->PageScroller->setFocusPolicy(Qt::NoFocus);
    for (QWidget *part : ui->PageScroller->findChildren<QWidget *>())
        part->setFocusPolicy(Qt::NoFocus);
    ui->PageScroller->show();
}

void TMainForm::CharacterTBClick(QToolButton *button)
{
    QWidget *active = focusWidget();
    if (active != ui->ForWordEdit && active != ui->RefWordEdit && active != ui->ContextEdit) {
        PlatformBeep(TBeepKind::Default);
        return;
    }
    const QString character = button->property(CharacterProperty).toString();
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, character);
    QCoreApplication::sendEvent(active, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, character);
    QCoreApplication::sendEvent(active, &release);
}

bool TMainForm::event(QEvent *event)
{
    switch (static_cast<int>(event->type())) {
    case WM_KBLAYOUTCHANGED:
        WMKbLayoutChanged(*static_cast<TMessageEvent *>(event));
        return true;
    case WM_GRIDBUSY:
        WMGridBusy(*static_cast<TMessageEvent *>(event));
        return true;
    case WM_WORDCOUNTCHANGED:
        WMWordCountChanged(*static_cast<TMessageEvent *>(event));
        return true;
    case WM_FILESTHREADDONE:
        WMFilesThreadDone(*static_cast<TMessageEvent *>(event));
        return true;
    default:
        return QMainWindow::event(event);
    }
}

// A layout chosen in the foreign or reference editor goes to every control that takes text of
// the same language.
void TMainForm::WMKbLayoutChanged(const TMessageEvent &message)
{
    const auto layout = static_cast<TKbLayoutHandle>(message.LParam);
    const auto give = [layout](std::initializer_list<const char *> names) {
        if (!FindForm)
            return;
        for (const char *name : names)
            if (auto *edit = FindForm->findChild<QWidget *>(QLatin1String(name)))
                SetKbLayout(*edit, layout);
    };
    if (message.WParam == reinterpret_cast<intptr_t>(ui->ForWordEdit)) {
        give({"ForLangFindEdit", "ForLangReplaceEdit", "ContextFindEdit", "ContextReplaceEdit"});
        if (ExercForm)
            ExercForm->ForeignKbLayout = layout;
        SetKbLayout(*ui->ContextEdit, layout);
    } else if (message.WParam == reinterpret_cast<intptr_t>(ui->RefWordEdit)) {
        give({"RefLangFindEdit", "RefLangReplaceEdit"});
        if (ExercForm)
            ExercForm->ReferenceKbLayout = layout;
    }
}

void TMainForm::WMGridBusy(const TMessageEvent &message)
{
    Busy = message.WParam == 1;
    for (QMenu *menu : {ui->MFile, ui->MEdit, ui->MWordlist, ui->MExercise, ui->MHelp})
        menu->menuAction()->setEnabled(message.WParam == 0);
}

void TMainForm::WMWordCountChanged(const TMessageEvent &)
{
    ShowWordCount();
}

void TMainForm::WMFilesThreadDone(const TMessageEvent &message)
{
    TWordsGrid &grid = *ui->WordsGrid;
    if (message.WParam == FilesSave && grid.GetWordList()) {
        ShowTitle();
        MRUList = grid.GetWordList()->FileName;
        ui->ToolBar->repaint();
    }
    if (message.WParam != FilesOpen)
        return;
    SetBusyCursor(false);
    std::unique_ptr<TWordList> opened(std::exchange(CurrentList, nullptr));
    grid.ClearBusy();
    if (LoadOk && opened) {
        grid.SetWordList(std::move(opened));
        ShowTitle();
        ShowWordCount();
        MRUList = grid.GetWordList()->FileName;
        RebuildCharToolBar();
        if (LoadFormat < CurrentFormat)
            ShowWarning(LanguageText(TEntry::OldFormatNotice));
    }
    if (std::exchange(Starting, false))
        emit StartupDone();
}
