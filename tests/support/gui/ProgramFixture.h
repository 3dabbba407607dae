#pragma once

#include "support/StoreFixture.h"

#include <QStringList>
#include <gtest/gtest.h>

class TWordsGrid;
namespace Ui {
class TMainForm;
}

// The trainer over a store of its own that holds what the installer leaves. Tests of the windows
// create them in this process as the program does (CreateProgram) and start them (Start);
// end-to-end tests run the built program over the same store.
class ProgramFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    // Takes down the windows and whatever start-up left behind.
    void TearDown() override;

    // The program's windows with the command line "tarnwick" and the arguments; start-up runs at
    // once when the main window is shown.
    static void CreateProgram(const QStringList &arguments = {});
    // Shows the main window and waits until start-up is done or the window closed again.
    static bool Start();

    static Ui::TMainForm &Form();
    static TWordsGrid &Grid();

    TStoreDir store;
};
