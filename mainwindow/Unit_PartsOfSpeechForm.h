#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TPartsOfSpeechForm;
}

class TPartsOfSpeechForm : public QDialog
{
    Q_OBJECT

public:
    explicit TPartsOfSpeechForm(QWidget *parent = nullptr);
    ~TPartsOfSpeechForm() override;

private:
    std::unique_ptr<Ui::TPartsOfSpeechForm> ui;
};

extern TPartsOfSpeechForm *PartsOfSpeechForm;
