#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TPrintPreviewForm;
}

class TPrintPreviewForm : public QDialog
{
    Q_OBJECT

public:
    explicit TPrintPreviewForm(QWidget *parent = nullptr);
    ~TPrintPreviewForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

private:
    std::unique_ptr<Ui::TPrintPreviewForm> ui;
};

extern TPrintPreviewForm *PrintPreviewForm;
