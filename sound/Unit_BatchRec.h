#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <string>

// One spoken part of a batch recording: bytes Start to End of the recording (End 0 while the
// part is still open), cut out into its own WAV file, and the MP3 file the conversion makes of it.
struct TSpeechPart
{
    int32_t Start = 0;
    int32_t End = 0;
    std::string WavFile;
    std::string Mp3File;
};

namespace Ui {
class TBatchRecForm;
}

class TBatchRecForm : public QDialog
{
    Q_OBJECT

public:
    explicit TBatchRecForm(QWidget *parent = nullptr);
    ~TBatchRecForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

private:
    std::unique_ptr<Ui::TBatchRecForm> ui;
};

extern TBatchRecForm *BatchRecForm;
