#include "dialogs/Unit_AboutForm.h"

#include "core/LanguageEntries.h"
#include "core/ModalResult.h"
#include "core/Texts.h"
#include "platform/JpegImage.h"
#include "ui_AboutForm.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QScreen>

TAboutForm *AboutForm = nullptr;

namespace {

constexpr const char *AboutPicture = ":/forms/AboutImg.jpg";
constexpr char16_t CopyrightYear[] = u"2002";
constexpr const char *TextFace = "Arial";
constexpr const char *LinkFace = "MS Sans Serif";
constexpr int TextPixels = 12;
constexpr int LinkPixels = 11;

QFont LabelFont(const char *face, int pixels, bool bold)
{
    QFont font(QString::fromLatin1(face));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The addresses come from a language-pack file: only a web or mail address is opened.
void OpenAddress(const QString &address)
{
    const QUrl url = HomepageUrl(address);
    if (url.isValid() && !url.isEmpty())
        QDesktopServices::openUrl(url);
}

} // namespace

void CentreOnDesktop(QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

TAboutForm::TAboutForm(QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowCloseButtonHint)
    , ui(std::make_unique<Ui::TAboutForm>())
    , opener(OpenAddress)
{
    ui->setupUi(this);
    setFixedSize(ui->AboutImage->size());
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    for (QLabel *label : {ui->CopyrightLabel, ui->EmailLabel, ui->WebLabel})
        label->setFont(LabelFont(TextFace, TextPixels, true));
    ui->AuthorLabel->setFont(LabelFont(TextFace, TextPixels, false));
    for (QLabel *link : {ui->EmailLink, ui->WebLink}) {
        QFont font = LabelFont(LinkFace, LinkPixels, false);
        font.setUnderline(true);
        link->setFont(font);
        QPalette blue = link->palette();
        blue.setColor(QPalette::WindowText, Qt::blue);
        link->setPalette(blue);
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }
    connect(ui->OKButton, &QPushButton::clicked, this, [this] { done(mrOk); });
}

TAboutForm::~TAboutForm() = default;

void TAboutForm::ApplyLanguage()
{
    ui->CopyrightLabel->setText(PackText(TEntry::CopyrightText, {{u"%y%", CopyrightYear}}));
    ui->AuthorLabel->setText(PackText(TEntry::AuthorText));
    ui->EmailLabel->setText(PackText(TEntry::EmailCaption));
    ui->EmailLink->setText(PackText(TEntry::EmailAddress));
    ui->WebLabel->setText(PackText(TEntry::WebCaption));
    ui->WebLink->setText(PackText(TEntry::HomepageAddress));
    ui->OKButton->setText(PackText(TEntry::OkButton));
}

void TAboutForm::SetAddressOpener(TAddressOpener newOpener)
{
    opener = newOpener ? std::move(newOpener) : TAddressOpener(OpenAddress);
}

// The close box and Escape close the window as OK does.
void TAboutForm::reject()
{
    done(mrOk);
}

void TAboutForm::showEvent(QShowEvent *event)
{
    // Decoded at the first showing rather than during start-up.
    if (ui->AboutImage->pixmap().isNull())
        ui->AboutImage->setPixmap(
                QPixmap::fromImage(LoadJpegFile(QString::fromLatin1(AboutPicture))));
    QDialog::showEvent(event);
    CentreOnDesktop(this);
}

bool TAboutForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == ui->WebLink)
            WebLinkClick();
        else if (watched == ui->EmailLink)
            EmailLinkClick();
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutForm::WebLinkClick()
{
    opener(PackText(TEntry::HomepageAddress));
}

void TAboutForm::EmailLinkClick()
{
    opener(QStringLiteral("mailto:") + PackText(TEntry::EmailAddress));
}

QUrl HomepageUrl(const QString &text)
{
    const QString address = text.trimmed();
    if (address.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return QUrl(QStringLiteral("http://") + address, QUrl::StrictMode);
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid())
        return {};
    const QString scheme = url.scheme().toLower();
    if ((scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        && !url.host().isEmpty())
        return url;
    if (scheme == QLatin1String("mailto") && !url.path().isEmpty())
        return url;
    return {};
}
