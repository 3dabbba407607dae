#pragma once

#include "core/ModalResult.h"

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace Ui {
class TPrintPreviewForm;
}

class QAction;
class QHeaderView;
class QLabel;
class QMenu;
class QPainter;
class QStandardItemModel;
class QStatusBar;
class QToolButton;
class QWidget;

// The print preview: the pages of the print layout one at a time as
// white sheets on grey, exactly as they print, with paging, zoom, and the printed columns chosen,
// sized and ordered in place over the sheet. Every column change goes at once into the print
// settings. Its print button runs the job. The grid's print command sets PrintList,
// PrintFirst and PrintLast and shows it modally.
class TPrintPreviewForm : public QDialog
{
    Q_OBJECT

public:
    explicit TPrintPreviewForm(QWidget *parent = nullptr);
    ~TPrintPreviewForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

    std::unique_ptr<Ui::TPrintPreviewForm> ui;
    QWidget *PrintSheet = nullptr;
    QHeaderView *HeaderControl = nullptr;
    QStatusBar *StatusBar = nullptr;
    QLabel *StatusLabel = nullptr;
    QMenu *HeadersMenu = nullptr;
    QAction *MIMoveLeft = nullptr;
    QAction *MIMoveRight = nullptr;

    // Screen pixels per inch; 0 (the default) reads the screen's.
    void SetScreenPpi(double ppi) { InjectedPpi = ppi; }
    double ScreenPpi() const;
    // The header section under the mouse pointer, as last seen.
    int HoverSection = 0;

    // The toggle of a column kind (0..4).
    QToolButton *ColumnButton(int kind) const;
    QString StatusText() const;
    // round(screen pixels per inch x inches x Zoom).
    int InchToSheet(double inches) const;

    void FormShow();
    void FormResize();
    void FitZoom();
    void ApplyZoom();
    void PlaceHeader();
    void Paginate();
    void PrintSheetPaint(QPainter &painter);
    void NextButtonClick();
    void PrevButtonClick();
    void ZoomInButtonClick();
    void ZoomOutButtonClick();
    void CloseButtonClick();
    void SectionButtonClick(int kind);
    void HeaderControlMouseMove(int x);
    void HeadersMenuPopup();
    void MIMoveLeftClick();
    void MIMoveRightClick();
    // The user dragged section index to width.
    void HeaderControlSectionResize(int index, int width);
    void PrintButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    // The frame the sheet is fitted into, in the scroll box's content.
    QRect Frame() const;
    void RebuildSections();
    void AddColumn(uint8_t kind);
    void RemoveColumn(int index);
    void ShowPage();
    void UpdatePageButtons();
    void UpdateStatus();
    void SetSectionWidth(int index, int width);

    double InjectedPpi = 0.0;
    int HeaderHeight = 0;
    // Set while the program itself sizes the header's sections.
    bool PlacingHeader = false;
    // The section the user is dragging, until the mouse button is released.
    int ResizedSection = -1;
    QStandardItemModel *HeaderModel = nullptr;
};

extern TPrintPreviewForm *PrintPreviewForm;
