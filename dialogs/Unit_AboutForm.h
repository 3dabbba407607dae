#pragma once

#include <QDialog>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

// The web page to open for a homepage text: http(s) and mailto addresses as they are, "www."
// with "http://" in front; anything else is not opened (an empty URL).
QUrl HomepageUrl(const QString &text);

namespace Ui {
class TAboutForm;
}

// Opens an address from the about window's links; tests put in a recorder.
using TAddressOpener = std::function<void(const QString &address)>;

// The about window: a picture with the credits, a mail and a web address from the language pack,
// both clickable. Closing it any way gives OK.
class TAboutForm : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutForm(QWidget *parent = nullptr);
    ~TAboutForm() override;

    void ApplyLanguage();
    // nullptr restores the program's opener, which opens only web and mail addresses.
    void SetAddressOpener(TAddressOpener opener);

    std::unique_ptr<Ui::TAboutForm> ui;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void WebLinkClick();
    void EmailLinkClick();

    TAddressOpener opener;
};

extern TAboutForm *AboutForm;

// Puts a window in the middle of the desktop's free area.
void CentreOnDesktop(QWidget *window);
