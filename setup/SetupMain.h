#pragma once

#include <QDialog>
#include <QPoint>
#include <memory>
#include <string>

class QTreeWidgetItem;
class TLogFile;

namespace Ui {
class SetupMainForm;
}

namespace Setup {

class ISetupDialogs;

// The wizard: the language page, then the pages of states 0 to 5.
class TMainForm : public QDialog
{
    Q_OBJECT

public:
    // Language packs are looked for in setupFolder (setup's own folder).
    TMainForm(ISetupDialogs &dialogs, const QString &setupFolder, QWidget *parent = nullptr);
    ~TMainForm() override;

    // Name is a pack's file name without ".lng" (DEFAULT code-page bytes).
    void SelectLanguage(const std::string &name);
    void ChooseSelectedLanguage();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void ApplyLanguage();
    void ListLanguagePacks();

    void LanguageBoxMouseMove(const QPoint &pos);
    void LanguageBoxMouseDown(const QPoint &pos);
    void LanguageBoxMouseUp(const QPoint &pos);

    void NextButtonClick();
    void BackButtonClick();
    void RadioClick();
    void BrowseButtonClick();
    void ProgFoldersTreeChange();
    void ShowPage(QWidget *page);
    void ShowLicencePage();
    void ShowGroupPage();

    bool FolderTest(const std::string &path);
    bool GroupFolderTest(const QString &text, std::string &group);
    void FillGroupTree();
    void AddSubfolders(QTreeWidgetItem *node, const QString &path);
    void FillSummary();

    void Install();
    bool CopyLanguagePacks(TLogFile &log, bool asking);
    void CloseLog(TLogFile &log);
    void CloseAfterInstall();
    void ShowFinishPage();

    std::string PackFileName(int index) const;

    std::unique_ptr<Ui::SetupMainForm> ui;
    ISetupDialogs &dialogs;
    QString setupFolder;
    QPoint mouseDownPoint;
};

extern TMainForm *MainForm;

} // namespace Setup
