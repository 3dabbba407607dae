#include "setup/SetupMain.h"

#include "core/Unit_LanguagePack.h"
#include "core/Unit_Paths.h"
#include "platform/JpegImage.h"
#include "platform/SpecialFolders.h"
#include "setup/Unit_ExitForm.h"
#include "setup/Unit_Extract.h"
#include "setup/Unit_FileWrite.h"
#include "setup/Unit_FolderTest.h"
#include "setup/Unit_FullScreenForm.h"
#include "setup/Unit_LogFile.h"
#include "setup/Unit_Overwrite.h"
#include "setup/Unit_SetupDialogs.h"
#include "setup/Unit_SetupPars.h"
#include "setup/Unit_SetupTexts.h"
#include "setup/Unit_Shortcuts.h"
#include "setup/Unit_Uninstall.h"
#include "ui_SetupMainForm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWindow>

namespace Setup {

TMainForm *MainForm = nullptr;

namespace {

const char *const Version = "2.0";
// The summary says for whom the installation is; the packs have no text for it.
const char *const ForEveryUserText = "Tarnwick will be installed for every user of this computer.";
const char *const ForThisUserText = "Tarnwick will be installed for you only.";
const char *const PictureResource = ":/forms/setup/SetupImage.jpg";
constexpr int PackNameRole = Qt::UserRole;

// The language list and the group tree sort without regard to case.
class TLanguageItem : public QListWidgetItem
{
public:
    using QListWidgetItem::QListWidgetItem;
    bool operator<(const QListWidgetItem &other) const override
    {
        return text().compare(other.text(), Qt::CaseInsensitive) < 0;
    }
};

class TFolderItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem &other) const override
    {
        return text(0).compare(other.text(0), Qt::CaseInsensitive) < 0;
    }
};

QIcon FolderIcon(const QStyle *style)
{
    const int size = style->pixelMetric(QStyle::PM_SmallIconSize);
    QIcon icon;
    icon.addPixmap(style->standardIcon(QStyle::SP_DirClosedIcon).pixmap(size), QIcon::Normal);
    icon.addPixmap(style->standardIcon(QStyle::SP_DirOpenIcon).pixmap(size), QIcon::Selected);
    return icon;
}

// Copies a language pack whole or not at all: a full disk leaves no half-written pack behind.
// The failure names the file and the system's reason.
bool CopyPack(const QString &source, const QString &target, QString &error)
{
    QFile in(source);
    const QByteArray bytes = in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    if (in.error() != QFileDevice::NoError) {
        error = QStringLiteral("Could not read the file \"%1\": %2.").arg(source, in.errorString());
        return false;
    }
    QString reason;
    if (!WriteWholeFile(target, bytes.toStdString(), reason)) {
        error = QStringLiteral("Could not write the file \"%1\": %2.").arg(target, reason);
        return false;
    }
    return true;
}

// The same file under two names (the same folder, or a link to it); a hard link is a file of its
// own in this sense, as removing it leaves the other name.
bool SameFile(const QString &source, const QString &target)
{
    const QString canonical = QFileInfo(source).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(target).canonicalFilePath();
}

void LogFile(TLogFile &log, const std::string &name, const QString &path)
{
    log.WriteLine(name);
    if (const std::optional<int32_t> stamp = FileTimeStamp(ToLocal(path)))
        log.WriteNumber(*stamp);
}

void UncheckRadios(QRadioButton *first, QRadioButton *second)
{
    first->setAutoExclusive(false);
    second->setAutoExclusive(false);
    first->setChecked(false);
    second->setChecked(false);
    first->setAutoExclusive(true);
    second->setAutoExclusive(true);
}

} // namespace

TMainForm::TMainForm(ISetupDialogs &dialogs, const QString &setupFolder, QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::SetupMainForm>())
    , dialogs(dialogs)
    , setupFolder(setupFolder)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    ui->SetupImage->setPixmap(QPixmap::fromImage(LoadJpegFile(PictureResource)));
    ui->NextButton->hide();
    ui->BackButton->hide();
    ui->BackButton->setEnabled(false);
    ui->FinishButton->hide();
    ui->LanguageBox->setSortingEnabled(true);
    ui->LanguageBox->viewport()->installEventFilter(this);
    ui->LanguageBox->installEventFilter(this);
    ui->ProgFoldersTree->setSelectionMode(QAbstractItemView::SingleSelection);

    connect(ui->NextButton, &QPushButton::clicked, this, &TMainForm::NextButtonClick);
    connect(ui->BackButton, &QPushButton::clicked, this, &TMainForm::BackButtonClick);
    connect(ui->CancelButton, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->FinishButton, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->AgreeRadio, &QRadioButton::clicked, this, &TMainForm::RadioClick);
    connect(ui->DisagreeRadio, &QRadioButton::clicked, this, &TMainForm::RadioClick);
    connect(ui->BrowseButton, &QPushButton::clicked, this, &TMainForm::BrowseButtonClick);
    connect(ui->ProgFoldersTree, &QTreeWidget::itemSelectionChanged, this,
            &TMainForm::ProgFoldersTreeChange);
    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate()
{
    InitSetupPars(SetupPars);
    setWindowTitle(QStringLiteral("Tarnwick Setup"));
    ui->LanguageLabel->setText(QStringLiteral("&Select a language:"));
    ui->LanguageLabel->setBuddy(ui->LanguageBox);
    ui->CancelButton->setText(QStringLiteral("Stop"));
    ShowPage(ui->LanguagePanel);
}

void TMainForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TMainForm::FormShow()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FullScreenForm->ShowOverScreen();
    // The wizard belongs to its backdrop, so that a window manager keeps it above the backdrop
    // when the backdrop is clicked. Set before the wizard is mapped, which follows this event.
    if (windowHandle() && FullScreenForm->windowHandle())
        windowHandle()->setTransientParent(FullScreenForm->windowHandle());
    raise();
    activateWindow();

    ListLanguagePacks();
    if (ui->LanguageBox->count() == 0) {
        dialogs.ShowMessage(QStringLiteral("Could not find a language pack."));
        SetupPars.CloseWithoutAsking = true;
        QTimer::singleShot(0, this, &QWidget::close);
    } else if (ui->LanguageBox->count() == 1) {
        SelectLanguage(PackFileName(0));
    }
}

// Only lower-case ".lng" counts, so that the listing, the loading and the copying of a pack all
// name the same file.
void TMainForm::ListLanguagePacks()
{
    ui->LanguageBox->clear();
    const QFileInfoList files = QDir(setupFolder)
                                        .entryInfoList({QStringLiteral("*.lng")},
                                                       QDir::Files | QDir::Hidden | QDir::System
                                                               | QDir::CaseSensitive);
    for (const QFileInfo &file : files) {
        std::string name;
        if (!IsLanguagePackFile(ToLocal(file.absoluteFilePath()))
            || !ToBytes(file.fileName().chopped(4), name))
            continue;
        auto *item = new TLanguageItem(DecodeText(name));
        item->setData(PackNameRole, QByteArray::fromStdString(name));
        ui->LanguageBox->addItem(item);
    }
}

std::string TMainForm::PackFileName(int index) const
{
    return ui->LanguageBox->item(index)->data(PackNameRole).toByteArray().toStdString();
}

void TMainForm::SelectLanguage(const std::string &name)
{
    auto pack = std::make_unique<TLanguagePack>();
    const std::string path = JoinPath(ToLocal(setupFolder), ToLocal(DecodeText(name + ".lng")));
    if (!pack->LoadSetupFile(path)) {
        dialogs.ShowMessage(QStringLiteral("Language pack could not be read."));
        return;
    }
    delete LanguagePack;
    LanguagePack = pack.release();

    SetupPars.Language = name;
    ApplyLanguage();
    SetupPars.CloseWithoutAsking = false;
    ui->BackButton->show();
    ui->NextButton->show();
    ShowPage(ui->WelcomePanel);
    ui->NextButton->setFocus();
}

void TMainForm::ApplyLanguage()
{
    ui->BackButton->setText(SetupText(TSetupEntry::BackButton));
    ui->NextButton->setText(SetupText(TSetupEntry::NextButton));
    ui->CancelButton->setText(SetupText(TSetupEntry::CancelButton));
    ui->FinishButton->setText(SetupText(TSetupEntry::FinishButton));
    ui->WelcomeLabel->setText(ReplacePlaceholders(SetupText(TSetupEntry::WelcomeText),
                                                  {{u"%v%", QString::fromLatin1(Version)}}));
    ui->BeforeLicenceLabel->setText(SetupText(TSetupEntry::BeforeLicenceText));
    ui->LicenceMemo->setPlainText(SetupText(TSetupEntry::LicenceText));
    ui->AfterLicenceLabel->setText(SetupText(TSetupEntry::AfterLicenceText));
    ui->AgreeRadio->setText(SetupText(TSetupEntry::AgreeRadio));
    ui->DisagreeRadio->setText(SetupText(TSetupEntry::DisagreeRadio));
    ui->SelectInstallDirLabel->setText(SetupText(TSetupEntry::InstallDirLabel));
    ui->InstallDirBox->setTitle(SetupText(TSetupEntry::InstallDirBox));
    ui->BrowseButton->setText(SetupText(TSetupEntry::BrowseButton));
    ui->ProgFolderLabel->setText(SetupText(TSetupEntry::ProgramGroupLabel));
    ui->ConfirmSettingsLabel->setText(SetupText(TSetupEntry::SummaryLabel));
    ui->FinishedLabel->setText(SetupText(TSetupEntry::FinishedText));
    ExitForm->ApplyTexts();
    ExtractForm->ApplyLanguage();
    OverwriteForm->ApplyLanguage();
}

void TMainForm::ChooseSelectedLanguage()
{
    for (int i = 0; i < ui->LanguageBox->count(); ++i) {
        if (ui->LanguageBox->item(i)->isSelected()) {
            SelectLanguage(PackFileName(i));
            return;
        }
    }
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->LanguageBox->viewport()) {
        if (event->type() == QEvent::MouseMove)
            LanguageBoxMouseMove(static_cast<QMouseEvent *>(event)->position().toPoint());
        else if (event->type() == QEvent::MouseButtonPress)
            LanguageBoxMouseDown(static_cast<QMouseEvent *>(event)->position().toPoint());
        else if (event->type() == QEvent::MouseButtonRelease)
            LanguageBoxMouseUp(static_cast<QMouseEvent *>(event)->position().toPoint());
    } else if (watched == ui->LanguageBox && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ChooseSelectedLanguage();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// The list works as a hover menu: the item under the pointer is the one selected.
void TMainForm::LanguageBoxMouseMove(const QPoint &pos)
{
    QListWidgetItem *item = ui->LanguageBox->itemAt(pos);
    if (!item) {
        ui->LanguageBox->clearSelection();
        ui->LanguageBox->viewport()->unsetCursor();
    } else if (!item->isSelected()) {
        ui->LanguageBox->clearSelection();
        item->setSelected(true);
        ui->LanguageBox->viewport()->setCursor(Qt::PointingHandCursor);
    }
}

void TMainForm::LanguageBoxMouseDown(const QPoint &pos)
{
    mouseDownPoint = pos;
}

void TMainForm::LanguageBoxMouseUp(const QPoint &pos)
{
    if (pos == mouseDownPoint)
        ChooseSelectedLanguage();
}

void TMainForm::ShowPage(QWidget *page)
{
    ui->Pages->setCurrentWidget(page);
}

void TMainForm::ShowLicencePage()
{
    ui->NextButton->setEnabled(false);
    UncheckRadios(ui->AgreeRadio, ui->DisagreeRadio);
    ShowPage(ui->LicencePanel);
    ui->LicenceMemo->setFocus();
}

void TMainForm::ShowGroupPage()
{
    FillGroupTree();
    ui->ProgFolderEdit->setText(DecodeText(SetupPars.ProgramGroup));
    ShowPage(ui->ProgFolderPanel);
    ui->NextButton->setFocus();
}

void TMainForm::NextButtonClick()
{
    switch (SetupPars.State) {
    case 0:
        SetupPars.State = 1;
        ui->BackButton->setEnabled(true);
        ShowLicencePage();
        break;
    case 1:
        if (ui->AgreeRadio->isChecked()) {
            SetupPars.State = 2;
            ui->InstallDirEdit->setText(FromLocal(SetupPars.InstallFolder));
            ShowPage(ui->InstallDirPanel);
            ui->NextButton->setFocus();
        } else if (ui->DisagreeRadio->isChecked()) {
            close();
        }
        break;
    case 2: {
        const QString text = ExpandHome(ui->InstallDirEdit->text());
        if (!FolderTest(ToLocal(text))) {
            ui->InstallDirEdit->setFocus();
            return;
        }
        SetupPars.State = 3;
        SetupPars.InstallFolder = ToLocal(QDir::cleanPath(QFileInfo(text).absoluteFilePath()));
        ShowGroupPage();
        break;
    }
    case 3: {
        std::string group;
        if (!GroupFolderTest(ui->ProgFolderEdit->text(), group)) {
            ui->ProgFolderEdit->setFocus();
            return;
        }
        SetupPars.State = 4;
        SetupPars.ProgramGroup = WithoutTrailingSeparator(group);
        FillSummary();
        ShowPage(ui->ConfirmPanel);
        ui->NextButton->setFocus();
        break;
    }
    case 4:
        Install();
        break;
    default:
        break;
    }
}

void TMainForm::BackButtonClick()
{
    switch (SetupPars.State) {
    case 1:
        SetupPars.State = 0;
        ui->BackButton->setEnabled(false);
        ui->NextButton->setEnabled(true);
        ShowPage(ui->WelcomePanel);
        ui->NextButton->setFocus();
        break;
    case 2:
        SetupPars.State = 1;
        ShowLicencePage();
        break;
    case 3:
        SetupPars.State = 2;
        ui->InstallDirEdit->setText(FromLocal(SetupPars.InstallFolder));
        ShowPage(ui->InstallDirPanel);
        ui->NextButton->setFocus();
        break;
    case 4:
        SetupPars.State = 3;
        ShowGroupPage();
        break;
    default:
        break;
    }
}

void TMainForm::RadioClick()
{
    ui->NextButton->setEnabled(true);
}

void TMainForm::BrowseButtonClick()
{
    const QString folder = dialogs.BrowseForFolder(this, SetupText(TSetupEntry::BrowseTitle));
    if (!folder.isEmpty())
        ui->InstallDirEdit->setText(folder);
}

bool TMainForm::FolderTest(const std::string &path)
{
    if (FolderCanBeUsed(path))
        return true;
    dialogs.ShowError(SetupText(TSetupEntry::FolderNotCreated));
    return false;
}

// A group the language pack's code page cannot name cannot be logged either.
bool TMainForm::GroupFolderTest(const QString &text, std::string &group)
{
    if (!ToBytes(text, group)) {
        dialogs.ShowError(SetupText(TSetupEntry::FolderNotCreated));
        return false;
    }
    return FolderTest(
            JoinPath(ToLocal(ProgramsFolder()), ToLocal(DecodeText(GroupFolderPath(group)))));
}

void TMainForm::FillGroupTree()
{
    ui->ProgFoldersTree->clear();
    const QString programs = ProgramsFolder();
    auto *root = new TFolderItem(ui->ProgFoldersTree, QStringList(QFileInfo(programs).fileName()));
    root->setIcon(0, FolderIcon(style()));
    AddSubfolders(root, programs);
    ui->ProgFoldersTree->sortItems(0, Qt::AscendingOrder);
    root->setExpanded(true);
}

// Symbolic links to folders are left out: they can lead back up the tree.
void TMainForm::AddSubfolders(QTreeWidgetItem *node, const QString &path)
{
    const QFileInfoList folders = QDir(path).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot
                                                           | QDir::Hidden | QDir::System);
    for (const QFileInfo &folder : folders) {
        if (folder.isSymLink())
            continue;
        auto *child = new TFolderItem(node, QStringList(folder.fileName()));
        child->setIcon(0, node->icon(0));
        AddSubfolders(child, folder.filePath());
    }
}

void TMainForm::ProgFoldersTreeChange()
{
    const QList<QTreeWidgetItem *> selected = ui->ProgFoldersTree->selectedItems();
    if (selected.isEmpty())
        return;
    QStringList names;
    for (const QTreeWidgetItem *node = selected.first(); node->parent(); node = node->parent())
        names.prepend(node->text(0));
    ui->ProgFolderEdit->setText(names.join(QLatin1Char('\\')));
}

void TMainForm::FillSummary()
{
    QString group = QFileInfo(ProgramsFolder()).fileName();
    if (!SetupPars.ProgramGroup.empty())
        group += QLatin1Char('\\') + DecodeText(SetupPars.ProgramGroup);
    group.replace(QLatin1Char('/'), QLatin1Char('\\'));
    group.replace(QStringLiteral("\\"), QStringLiteral(" | "));

    ui->ConfirmMemo->clear();
    const QString blanks = QStringLiteral("   ");
    ui->ConfirmMemo->setPlainText(QStringList{
            SetupText(TSetupEntry::SummaryFolderHeading),
            blanks + FromLocal(SetupPars.InstallFolder), QString(), QString(),
            SetupText(TSetupEntry::SummaryGroupHeading), blanks + group, QString(), QString(),
            QString::fromLatin1(InstallsForEveryUser() ? ForEveryUserText : ForThisUserText)}
                                          .join(QLatin1Char('\n')));
}

bool TMainForm::FormCloseQuery()
{
    return SetupPars.CloseWithoutAsking || dialogs.AskExit() == 2;
}

// Every way of closing (Cancel, Finish, Escape, the close box) comes through here.
void TMainForm::reject()
{
    if (FormCloseQuery())
        QDialog::reject();
}

void TMainForm::Install()
{
    if (SetupPars.PreviousFound)
        UninstallPrevious(SetupPars.PreviousFolder, SetupPars.PreviousGroup);
    QDir().mkpath(FromLocal(SetupPars.InstallFolder));
    auto log = std::make_unique<TLogFile>(SetupPars.InstallFolder, SetupPars.ProgramGroup);
    if (!log->Created()) {
        dialogs.ShowError(DecodeText(log->Error()));
        CloseAfterInstall();
        return;
    }
    ExtractForm->Log = log.get();
    ExtractForm->DestFolder = SetupPars.InstallFolder;
    ExtractForm->ExitQuestion = [this] { return dialogs.AskExit() == 2; };
    const int result = ExtractForm->exec();
    ExtractForm->Log = nullptr;
    const bool installed = result == 1 && CopyLanguagePacks(*log, !ExtractForm->YesToAll);
    if (!installed) {
        CloseLog(*log);
        CloseAfterInstall();
        return;
    }
    TFailures failures;
    CreateShortcuts(SetupPars.InstallFolder, SetupPars.ProgramGroup, *log, failures);
    // The association's files are logged too, so the log stays open until they are written.
    WriteSettings(SetupPars.Language, SetupPars.InstallFolder, failures);
    LogDesktopDataFiles(*log);
    CloseLog(*log);
    if (!failures.empty())
        dialogs.ShowMessage(DecodeText(FailureWarning(failures)));
    ShowFinishPage();
}

// A write that failed is reported once, when the log is closed.
void TMainForm::CloseLog(TLogFile &log)
{
    log.Close();
    if (!log.Error().empty())
        dialogs.ShowError(DecodeText(log.Error()));
}

// An existing pack is replaced only when the user agrees; any other failure to copy ends the
// installation.
bool TMainForm::CopyLanguagePacks(TLogFile &log, bool asking)
{
    for (int i = 0; i < ui->LanguageBox->count(); ++i) {
        const std::string fileName = PackFileName(i) + ".lng";
        const std::string localName = ToLocal(DecodeText(fileName));
        const QString source = FromLocal(JoinPath(ToLocal(setupFolder), localName));
        const QString target = FromLocal(JoinPath(SetupPars.InstallFolder, localName));
        const QFileInfo existing(target);
        if (SameFile(source, target)) {
            // Installing into setup's own folder: the pack is already where it belongs, and
            // removing the target would remove the source.
            LogFile(log, fileName, target);
            continue;
        }
        if (existing.exists() || existing.isSymLink()) {
            if (asking) {
                const int answer = dialogs.AskOverwrite(ReplacePlaceholders(
                        SetupBytes(TSetupEntry::OverwriteQuestion), {{"%f%", fileName}}));
                if (answer == TOverwriteForm::No)
                    continue;
                asking = answer != TOverwriteForm::YesToAll;
            }
            QFile old(target);
            if (!old.remove()) {
                dialogs.ShowError(QStringLiteral("Could not replace the file \"%1\": %2.")
                                          .arg(target, old.errorString()));
                return false;
            }
        }
        QString error;
        if (!CopyPack(source, target, error)) {
            dialogs.ShowError(error);
            return false;
        }
        LogFile(log, fileName, target);
    }
    return true;
}

void TMainForm::CloseAfterInstall()
{
    SetupPars.CloseWithoutAsking = true;
    close();
}

void TMainForm::ShowFinishPage()
{
    SetupPars.State = 5;
    SetupPars.CloseWithoutAsking = true;
    ui->BackButton->hide();
    ui->NextButton->hide();
    ui->CancelButton->hide();
    ShowPage(ui->FinishPanel);
    ui->FinishButton->show();
    ui->FinishButton->setFocus();
}

} // namespace Setup
