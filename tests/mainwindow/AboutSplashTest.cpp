#include "core/ModalResult.h"
#include "dialogs/Unit_AboutForm.h"
#include "dialogs/Unit_StartupForm.h"
#include "support/WordListFixtures.h"
#include "ui_AboutForm.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

void CloseWhenShown(QDialog &dialog, const std::function<void()> &close)
{
    QTimer::singleShot(0, &dialog, [&dialog, close] {
        if (dialog.isVisible())
            close();
    });
}

} // namespace

TEST(AboutWindow, TextsAndLinksComeFromThePackAndEveryCloseIsOk)
{
    TNumberedPack pack;
    pack.Set(TEntry::CopyrightText, "(c) %y% and %y%");
    TAboutForm form;
    std::vector<QString> opened;
    form.SetAddressOpener([&](const QString &address) { opened.push_back(address); });
    form.ApplyLanguage();
    EXPECT_EQ("(c) 2002 and 2002", form.ui->CopyrightLabel->text());
    EXPECT_EQ(NumberedQText(TEntry::AuthorText), form.ui->AuthorLabel->text());
    EXPECT_EQ(NumberedQText(TEntry::EmailCaption), form.ui->EmailLabel->text());
    EXPECT_EQ(NumberedQText(TEntry::EmailAddress), form.ui->EmailLink->text());
    EXPECT_EQ(NumberedQText(TEntry::WebCaption), form.ui->WebLabel->text());
    EXPECT_EQ(NumberedQText(TEntry::HomepageAddress), form.ui->WebLink->text());
    EXPECT_EQ(NumberedQText(TEntry::OkButton), form.ui->OKButton->text());
    EXPECT_EQ(QSize(420, 308), form.size());
    EXPECT_EQ("Info", form.windowTitle());
    EXPECT_EQ(12, form.ui->CopyrightLabel->font().pixelSize());
    EXPECT_TRUE(form.ui->WebLink->font().underline());

    QTest::mouseClick(form.ui->WebLink, Qt::LeftButton);
    QTest::mouseClick(form.ui->EmailLink, Qt::LeftButton);
    QTest::mouseClick(form.ui->EmailLink, Qt::RightButton);
    pack.Set(TEntry::EmailAddress, "");
    pack.Set(TEntry::HomepageAddress, "");
    QTest::mouseClick(form.ui->WebLink, Qt::LeftButton);
    QTest::mouseClick(form.ui->EmailLink, Qt::LeftButton);
    EXPECT_EQ(
            (std::vector<QString>{NumberedQText(TEntry::HomepageAddress),
                                  "mailto:" + NumberedQText(TEntry::EmailAddress), "", "mailto:"}),
            opened);

    CloseWhenShown(form, [&] {
        EXPECT_FALSE(form.ui->AboutImage->pixmap().isNull());
        form.ui->OKButton->click();
    });
    EXPECT_EQ(mrOk, form.exec());
    CloseWhenShown(form, [&] { form.close(); });
    EXPECT_EQ(mrOk, form.exec());
    CloseWhenShown(form, [&] { QTest::keyClick(&form, Qt::Key_Escape); });
    EXPECT_EQ(mrOk, form.exec());
}

TEST(SplashWindow, ClosesAfterThreeSecondsOrOnAClickOrATypedCharacter)
{
    TStartupForm form;
    EXPECT_EQ(QSize(612, 332), form.size());
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form.Timer.isSingleShot());
    EXPECT_EQ(3000, form.Timer.interval());
    EXPECT_FALSE(form.Timer.isActive());

    form.show();
    EXPECT_TRUE(form.Timer.isActive());
    // A modifier alone types nothing.
    QTest::keyClick(&form, Qt::Key_Shift);
    EXPECT_TRUE(form.isVisible());
    QTest::keyClick(&form, Qt::Key_A);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.Timer.isActive());

    form.show();
    QTest::mouseClick(&form, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.Timer.isActive());

    form.show();
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    form.show();
    form.close();
    EXPECT_FALSE(form.Timer.isActive());

    form.Timer.setInterval(50);
    QElapsedTimer clock;
    clock.start();
    form.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); }, 2000));
    EXPECT_GE(clock.elapsed(), 45);
}
