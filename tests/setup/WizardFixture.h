#pragma once

#include "setup/WizardEnvironment.h"

#include <QWidget>
#include <gtest/gtest.h>

class QListWidget;

// setup's five windows over a fresh environment, with the wizard shown.
class WizardTest : public ::testing::Test
{
protected:
    void TearDown() override;

    // Creates the windows as the program does and shows the wizard.
    void Start();
    // A pack named Pack.lng, chosen at once as the only one.
    void StartWithOnePack();

    template<class T> T *Child(const char *name) const
    {
        T *child = Wizard()->findChild<T *>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QWidget *Wizard() const;
    QWidget *CurrentPage() const;
    std::string PageName() const;
    void Next();
    void Back();
    void ClickAgree();
    void CloseWizard();
    QListWidget *LanguageBox() const;

    TSetupEnvironment env;
    TScriptedDialogs dialogs;
};
