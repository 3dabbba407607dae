#pragma once

#include <QMainWindow>
#include <memory>

class TWordsGrid;

namespace Ui {
class TMainForm;
}

class TMainForm : public QMainWindow
{
    Q_OBJECT

public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    TWordsGrid *WordsGrid() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    std::unique_ptr<Ui::TMainForm> ui;
};

extern TMainForm *MainForm;
