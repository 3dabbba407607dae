#include "core/Unit_GlobalSettings.h"
#include "exercises/Unit_ExercForm.h"
#include "mainwindow/Main.h"
#include "platform/WindowPositions.h"
#include "print/Unit_PrintPreviewForm.h"
#include "support/gui/ProgramFixture.h"

#include <QWidget>
#include <array>
#include <gtest/gtest.h>

// What closing the main window keeps of the three windows' placements.

namespace {

bool NoPositions()
{
    return false;
}

bool Positions()
{
    return true;
}

class WindowPlacement : public ProgramFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ProgramFixture::SetUp());
        CreateProgram();
        ASSERT_TRUE(Start());
    }
    void TearDown() override
    {
        SetPositionsQuery(previous);
        ProgramFixture::TearDown();
    }

    // Stored by an earlier session that could place its windows.
    static void SeedPositions()
    {
        for (size_t i = 0; i < FormPlacements.size(); ++i) {
            FormPlacements[i].Left = static_cast<int16_t>(100 + i);
            FormPlacements[i].Top = static_cast<int16_t>(50 + i);
        }
    }

    static std::array<QWidget *, 3> Windows() { return {MainForm, ExercForm, PrintPreviewForm}; }

    TPositionsQuery previous = SetPositionsQuery(nullptr);
};

} // namespace

// A desktop that keeps the positions to itself (Wayland) reports 0/0 for every window: the
// positions of an earlier session stay, the sizes are the windows' own.
TEST_F(WindowPlacement, WithoutReportedPositionsOnlyTheSizesAreStored)
{
    SeedPositions();
    SetPositionsQuery(NoPositions);
    for (size_t i = 0; i < Windows().size(); ++i)
        Windows()[i]->resize(600 + static_cast<int>(i), 400 + static_cast<int>(i));
    MainForm->close();
    for (size_t i = 0; i < FormPlacements.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(100 + static_cast<int>(i), FormPlacements[i].Left);
        EXPECT_EQ(50 + static_cast<int>(i), FormPlacements[i].Top);
        EXPECT_EQ(600 + static_cast<int>(i), FormPlacements[i].Width);
        EXPECT_EQ(400 + static_cast<int>(i), FormPlacements[i].Height);
    }
}

TEST_F(WindowPlacement, ReportedPositionsAreStored)
{
    SeedPositions();
    SetPositionsQuery(Positions);
    MainForm->setGeometry(230, 140, 640, 480);
    MainForm->close();
    EXPECT_EQ(230, FormPlacements[0].Left);
    EXPECT_EQ(140, FormPlacements[0].Top);
    EXPECT_EQ(640, FormPlacements[0].Width);
}
