#include "setup/SetupMain.h"
#include "setup/Unit_ExitForm.h"
#include "setup/Unit_Extract.h"
#include "setup/Unit_Overwrite.h"
#include "setup/WizardFixture.h"
#include "support/WholeTexts.h"

#include <QLayout>
#include <QLineEdit>
#include <gtest/gtest.h>

// No label or box title of the installer's windows cuts its text, in either shipped pack, on every
// page of the wizard up to the start of the installation.

namespace {

class SetupLabels
    : public WizardTest
    , public ::testing::WithParamInterface<const char *>
{
protected:
    // A window that is not shown (showing the extraction window would start extracting) is
    // checked as its layout places the controls.
    void ExpectWhole(QWidget *window, const std::string &state)
    {
        ASSERT_NE(nullptr, window);
        if (QLayout *layout = window->layout())
            layout->activate();
        EXPECT_EQ(std::vector<std::string>(), CutTexts(*window)) << GetParam() << ", " << state;
    }
};

} // namespace

TEST_P(SetupLabels, EveryWindowAndPageShowsItsWholeTexts)
{
    env.AddShippedPack(QString::fromLatin1(GetParam()) + QStringLiteral(".lng"),
                       QStringLiteral("Pack.lng"));
    Start();
    ASSERT_EQ(PageName(), "WelcomePanel");
    ExpectWhole(Wizard(), PageName());
    Next();
    ClickAgree();
    ExpectWhole(Wizard(), PageName());
    Next();
    ASSERT_EQ(PageName(), "InstallDirPanel");
    Child<QLineEdit>("InstallDirEdit")->setText(env.Path(QStringLiteral("target")));
    ExpectWhole(Wizard(), PageName());
    Next();
    ExpectWhole(Wizard(), PageName());
    Next();
    ASSERT_EQ(PageName(), "ConfirmPanel");
    ExpectWhole(Wizard(), PageName());

    ExpectWhole(Setup::ExitForm, "the exit question");
    ExpectWhole(ExtractForm, "the extraction");
    ExpectWhole(OverwriteForm, "the overwrite question");
}

INSTANTIATE_TEST_SUITE_P(ShippedPacks, SetupLabels, ::testing::Values("Nederlands", "English"));
