#pragma once

#include "core/Unit_Warnings.h"

#include <QDialog>
#include <QList>

class QPushButton;

// A message dialog with its buttons in the order given (the desktop's button boxes would reorder
// them). Escape and the close box answer the request's escape button.
class TMessageDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TMessageDialog(const TMessageRequest &request, QWidget *parent = nullptr);

    int Pressed() const { return pressed; }
    const QList<QPushButton *> &Buttons() const { return buttons; }
    QString Message() const;

protected:
    void reject() override;

private:
    QList<QPushButton *> buttons;
    QString message;
    int escapeButton;
    int pressed;
};

class TDesktopMessageBox : public IMessageBox
{
public:
    int Show(const TMessageRequest &request) override;
};
