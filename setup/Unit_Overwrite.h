#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class TOverwriteForm;
}

// The question whether to overwrite an existing file: Yes 1, No 2 (the default), Yes to all 3;
// the close box counts as No.
class TOverwriteForm : public QDialog
{
    Q_OBJECT

public:
    explicit TOverwriteForm(QWidget *parent = nullptr);
    ~TOverwriteForm() override;

    // Caption and buttons from setup entries 30, 2, 32 and 3.
    void ApplyLanguage();
    // Shows text (DEFAULT code-page bytes) in OverwriteLabel and returns the answer.
    int Ask(const std::string &text);

    static constexpr int Yes = 1;
    static constexpr int No = 2;
    static constexpr int YesToAll = 3;

private:
    std::unique_ptr<Ui::TOverwriteForm> ui;
};

extern TOverwriteForm *OverwriteForm;
