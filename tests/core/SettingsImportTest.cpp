#include "core/SettingsImport.h"
#include "SettingsFixture.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace {

using Bytes = std::vector<uint8_t>;
using Names = std::vector<std::string>;

Bytes Int16(int value)
{
    return {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>((value >> 8) & 0xFF)};
}

Bytes Int32(int64_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    return {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
            static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
}

Bytes Placement(uint8_t maximized, int left, int top, int width, int height)
{
    return Join({{maximized, 0}, Int16(left), Int16(top), Int16(width), Int16(height)});
}

Names Sorted(Names names)
{
    std::sort(names.begin(), names.end());
    return names;
}

class SettingsImportTest : public SettingsFixture
{
protected:
    // The values of the earlier product's layout 3; layouts 4 and 5 add to them.
    void PutLayout3(uint8_t booleans = 0x0F)
    {
        PutString(EarlierKey, "MRU list", "C:\\Lijsten\\Frans.wdl");
        PutBinary(EarlierKey, "Exercise settings", {3, 5, 7, 2, 25, 0x11});
        PutBinary(EarlierKey, "Windows",
                  Join({Placement(1, 10, 20, 700, 500), Placement(0, 30, 40, 600, 400),
                        Placement(0, 50, 60, 640, 480)}));
        PutString(EarlierKey, "MRU open", "C:\\Open");
        PutString(EarlierKey, "MRU save", "C:\\Save");
        PutBinary(EarlierKey, "Columns", Join({Int16(100), Int16(110), Int16(120), Int16(60)}));
        PutString(EarlierKey, "Key prints", "keys");
        PutBinary(EarlierKey, "Boolean settings", {booleans});
        PutBinary(EarlierKey, "Print settings",
                  Join({PrintSlot(0, 0.5), PrintSlot(3, 0.25), PrintSlot(1, 0.25),
                        PrintSlot(4, 0.0)}));
    }
    void PutLayout1()
    {
        PutString(EarlierKey, "MRU list", "C:\\Oud.wdl");
        PutBinary(EarlierKey, "Exercise settings", Join({Int32(3), Int32(0x105), Int32(9)}));
        PutBinary(EarlierKey, "Windows",
                  Join({{1, 0, 0, 0},
                        Int32(-5),
                        Int32(70000),
                        Int32(800),
                        Int32(600),
                        {0, 0, 0, 0},
                        Int32(1),
                        Int32(2),
                        Int32(3),
                        Int32(4)}));
        PutInteger(EarlierKey, "Load MRU list", 1);
        PutInteger(EarlierKey, "Confirm delete", 0);
        PutInteger(EarlierKey, "Confirm sort", 7);
    }
    // A complete current set in the earlier key (layout 6), with values unlike the defaults.
    void PutLayout6(int32_t version)
    {
        PutInteger(EarlierKey, "Version", version);
        PutBinary(EarlierKey, "Edit options", {0, 0, 0, 1});
        PutBinary(EarlierKey, "Exercise options", {50, 0, 60, 1, 4, 3, 6, 9});
        PutBinary(EarlierKey, "Other options", {1, 0, 7});
        PutString(EarlierKey, "Parts of speech", "nomen;verbum");
        PutString(EarlierKey, "MRU list", "C:\\Zes.wdl");
        PutString(EarlierKey, "MRU open", "C:\\Open6");
        PutString(EarlierKey, "MRU save", "C:\\Save6");
        PutBinary(EarlierKey, "Windows",
                  Join({Placement(0, 1, 2, 3, 4), Placement(0, 5, 6, 7, 8),
                        Placement(1, 9, 10, 11, 12)}));
        PutBinary(EarlierKey, "Columns",
                  Join({{9, 8, 7, 6, 5, 4, 3, 2, 1, 0},
                        Int16(1),
                        Int16(2),
                        Int16(3),
                        Int16(4),
                        Int16(5)}));
        PutBinary(EarlierKey, "Print settings",
                  Join({{1, 0, 0, 0},
                        PrintSlot(1, 1.0),
                        PrintSlot(5, 0),
                        PrintSlot(5, 0),
                        PrintSlot(5, 0),
                        PrintSlot(5, 0)}));
        PutString(EarlierKey, "Key prints", "zes");
    }
    // Detection as on a machine where the trainer never ran.
    uint8_t DetectFresh()
    {
        TRegistry().DeleteKey(TrainerKey);
        return Detect();
    }
    uint8_t Detect()
    {
        TRegistry user;
        return DetectSettingsLayout(user);
    }
    void ExpectDefaults()
    {
        EXPECT_EQ(Binary(TrainerKey, "Other options"), (Bytes{0, 1, 4}));
        EXPECT_EQ(Binary(TrainerKey, "Edit options"), (Bytes{1, 1, 1, 1}));
        EXPECT_EQ(MRUList, "");
        EXPECT_EQ(KeyPrints, DefaultKeyPrints);
        EXPECT_EQ(ValueNames(TrainerKey).size(), 13u);
    }
};

TEST_F(SettingsImportTest, LayoutsAreTestedInOrderAndTheLastMatchWins)
{
    EXPECT_EQ(Detect(), 0);
    EXPECT_FALSE(TRegistry().KeyExists(TrainerKey));

    PutLayout3();
    EXPECT_EQ(DetectFresh(), 3);
    PutBinary(EarlierKey, "Time", {1, 30});
    EXPECT_EQ(DetectFresh(), 3);
    PutInteger(EarlierKey, "Enter key", 1);
    EXPECT_EQ(DetectFresh(), 5);
    PutLayout1();
    EXPECT_EQ(DetectFresh(), 2);
    TRegistry earlier;
    ASSERT_TRUE(earlier.OpenKey(EarlierKey, false));
    ASSERT_TRUE(earlier.DeleteValue("Columns"));
    EXPECT_EQ(DetectFresh(), 1);
    // Every test of the earlier key leaves the trainer's key behind, holding "Version" 0.
    EXPECT_EQ(ValueNames(TrainerKey), Names{"Version"});
    TRegistry trainer;
    ASSERT_TRUE(trainer.OpenKey(TrainerKey, false));
    EXPECT_EQ(trainer.ReadInteger("Version"), 0);
    // From now on the trainer's key decides, and it is not complete.
    EXPECT_EQ(Detect(), 0);
}

TEST_F(SettingsImportTest, AnIncompleteTrainerKeyMeansDefaultsWithoutLookingFurther)
{
    PutLayout6(0);
    Load();
    ResetPartsOfSpeech();
    TRegistry trainer;
    ASSERT_TRUE(trainer.OpenKey(TrainerKey, false));
    ASSERT_TRUE(trainer.DeleteValue("Foreign characters"));
    const Names earlierBefore = ValueNames(EarlierKey);

    EXPECT_EQ(Detect(), 0);
    EXPECT_TRUE(Load());
    ExpectDefaults();
    EXPECT_EQ(ValueNames(EarlierKey), earlierBefore);
}

TEST_F(SettingsImportTest, AnotherTrainerVersionIsSetToZeroAndDefaultsAreUsed)
{
    PutLayout6(0);
    Load();
    PutInteger(TrainerKey, "Version", 5);
    PutBinary(TrainerKey, "Other options", {1, 0, 7});
    EXPECT_EQ(Detect(), 0);
    TRegistry trainer;
    ASSERT_TRUE(trainer.OpenKey(TrainerKey, false));
    EXPECT_EQ(trainer.ReadInteger("Version"), 0);

    PutInteger(TrainerKey, "Version", 5);
    EXPECT_TRUE(Load());
    ExpectDefaults();
    // A "Version" of another type is no version: the earlier key is consulted.
    PutString(TrainerKey, "Version", "0");
    EXPECT_EQ(Detect(), 6);
}

TEST_F(SettingsImportTest, AnEarlierKeyOfAnotherVersionGivesDefaults)
{
    PutLayout6(1);
    EXPECT_EQ(Detect(), 0);
    EXPECT_EQ(ValueNames(TrainerKey), Names{"Version"});
    EXPECT_TRUE(Load());
    ExpectDefaults();
}

TEST_F(SettingsImportTest, Layout6IsTakenAsItIsAndLeftInPlace)
{
    PutLayout6(0);
    const Names before = ValueNames(EarlierKey);
    EXPECT_FALSE(Load());
    EXPECT_EQ(Binary(TrainerKey, "Edit options"), (Bytes{0, 0, 0, 1}));
    EXPECT_EQ(Binary(TrainerKey, "Exercise options"), (Bytes{50, 0, 60, 1, 4, 3, 6, 9}));
    EXPECT_EQ(Binary(TrainerKey, "Other options"), (Bytes{1, 0, 7}));
    EXPECT_EQ(PartsOfSpeech, "nomen;verbum");
    EXPECT_EQ(MRUOpen, "C:\\Open6");
    EXPECT_EQ(FormPlacements[2].Height, 12);
    EXPECT_EQ(ColumnSettings.Order[0], 9);
    EXPECT_TRUE(PrintSettings.KeyPrintsConfirmed);
    EXPECT_EQ(KeyPrints, "zes");
    EXPECT_EQ(ForeignCharacters, DefaultForeignCharacters);
    EXPECT_EQ(ValueNames(EarlierKey), before);
    EXPECT_EQ(Detect(), 7);
}

TEST_F(SettingsImportTest, Layout4IsConvertedAndOnlyItsOldValuesAreRemoved)
{
    // Load the last list, confirm deletes, key prints confirmed; sorting not confirmed.
    PutLayout3(0x0B);
    PutInteger(EarlierKey, "Enter key", 0);
    PutString(EarlierKey, "Unrelated", "stays");
    EXPECT_TRUE(Load());
    ResetPartsOfSpeech();

    EXPECT_EQ(Binary(TrainerKey, "Edit options"), (Bytes{1, 0, 0, 1}));
    EXPECT_EQ(Binary(TrainerKey, "Exercise options"), (Bytes{25, 1, 30, 0x11, 2, 3, 5, 7}));
    EXPECT_EQ(Binary(TrainerKey, "Other options"), (Bytes{1, 1, 4}));
    EXPECT_EQ(MRUList, "C:\\Lijsten\\Frans.wdl");
    EXPECT_EQ(MRUOpen, "C:\\Open");
    EXPECT_EQ(MRUSave, "C:\\Save");
    EXPECT_EQ(Binary(TrainerKey, "Windows"),
              Join({Placement(1, 10, 20, 700, 500), Placement(0, 30, 40, 600, 400),
                    Placement(0, 50, 60, 640, 480)}));
    EXPECT_EQ(Binary(TrainerKey, "Columns"),
              Join({{1, 2, 3, 4, 5, 6, 7, 8, 9, 0},
                    Int16(100),
                    Int16(110),
                    Int16(120),
                    Int16(80),
                    Int16(60)}));
    // Old kind 3 (lesson) is now 4, old 4 (unused) now 5; the fifth slot is unused.
    EXPECT_EQ(Binary(TrainerKey, "Print settings"),
              Join({{1, 0, 0, 0},
                    PrintSlot(0, 0.5),
                    PrintSlot(4, 0.25),
                    PrintSlot(1, 0.25),
                    PrintSlot(5, 0.0),
                    PrintSlot(5, 0.0)}));
    EXPECT_EQ(KeyPrints, "keys");
    EXPECT_EQ(ForeignCharacters, DefaultForeignCharacters);

    EXPECT_EQ(Sorted(ValueNames(EarlierKey)),
              Sorted({"MRU list", "Windows", "MRU open", "MRU save", "Columns", "Key prints",
                      "Print settings", "Unrelated"}));
    const std::string saved = UserFile();
    EXPECT_EQ(Detect(), 7);
    EXPECT_FALSE(Load());
    EXPECT_EQ(UserFile(), saved);
}

TEST_F(SettingsImportTest, EnterKeyAndTimeComeOnlyFromTheLayoutsThatHoldThem)
{
    PutLayout3();
    PutInteger(EarlierKey, "Enter key", 1);
    EXPECT_TRUE(Load());
    EXPECT_TRUE(EditOptions.NormalEnter);

    TRegistry earlier;
    ASSERT_TRUE(earlier.DeleteKey(EarlierKey));
    ASSERT_TRUE(earlier.DeleteKey(TrainerKey));
    PutLayout3();
    EXPECT_TRUE(Load());
    EXPECT_FALSE(EditOptions.NormalEnter);
    EXPECT_TRUE(ExerciseOptions.TimeLimit);

    ASSERT_TRUE(earlier.DeleteKey(EarlierKey));
    ASSERT_TRUE(earlier.DeleteKey(TrainerKey));
    PutLayout3();
    PutInteger(EarlierKey, "Enter key", 1);
    PutBinary(EarlierKey, "Time", {0, 45});
    EXPECT_TRUE(Load());
    EXPECT_FALSE(ExerciseOptions.TimeLimit);
    EXPECT_EQ(ExerciseOptions.Minutes, 45);
    EXPECT_EQ(Sorted(ValueNames(EarlierKey)),
              Sorted({"MRU list", "Windows", "MRU open", "MRU save", "Columns", "Key prints",
                      "Print settings"}));
}

TEST_F(SettingsImportTest, UnknownOldPrintKindsBecomeTheForeignWord)
{
    PutLayout3(0);
    PutBinary(
            EarlierKey, "Print settings",
            Join({PrintSlot(7, 0.25), PrintSlot(1, 0.25), PrintSlot(2, 0.25), PrintSlot(3, 0.25)}));
    EXPECT_TRUE(Load());
    EXPECT_EQ(Binary(TrainerKey, "Print settings"),
              Join({{0, 0, 0, 0},
                    PrintSlot(0, 0.25),
                    PrintSlot(1, 0.25),
                    PrintSlot(2, 0.25),
                    PrintSlot(4, 0.25),
                    PrintSlot(5, 0.0)}));
    EXPECT_EQ(Binary(TrainerKey, "Edit options"), (Bytes{0, 0, 0, 1}));
    EXPECT_FALSE(OtherOptions.LoadMRU);
}

TEST_F(SettingsImportTest, Layout1IsConvertedWithItsWideWindowsRecord)
{
    PutLayout1();
    EXPECT_TRUE(Load());
    const QSize screen = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(Binary(TrainerKey, "Windows"),
              Join({Placement(1, -5, 70000 - 65536, 800, 600), Placement(0, 1, 2, 3, 4),
                    Placement(0, (screen.width() - 610) / 2, (screen.height() - 440) / 2, 610,
                              440)}));
    EXPECT_EQ(Binary(TrainerKey, "Edit options"), (Bytes{0, 1, 0, 1}));
    EXPECT_EQ(Binary(TrainerKey, "Exercise options"), (Bytes{20, 1, 30, 9, 3, 3, 5, 9}));
    EXPECT_EQ(Binary(TrainerKey, "Other options"), (Bytes{1, 1, 4}));
    EXPECT_EQ(MRUList, "C:\\Oud.wdl");
    EXPECT_EQ(MRUOpen, PersonalFolder());
    EXPECT_EQ(MRUSave, PersonalFolder());
    EXPECT_EQ(ColumnSettings.Widths, (std::array<int16_t, 5>{150, 150, 150, 80, 50}));
    EXPECT_EQ(PrintSettings.Columns[4].Kind, 4);
    EXPECT_FALSE(PrintSettings.KeyPrintsConfirmed);
    EXPECT_EQ(KeyPrints, DefaultKeyPrints);
    EXPECT_EQ(Sorted(ValueNames(EarlierKey)), Sorted({"MRU list", "Windows"}));
}

TEST_F(SettingsImportTest, Layout2TakesTwoCurrentPlacementsAndConvertsTheColumns)
{
    PutLayout1();
    PutBinary(EarlierKey, "Windows",
              Join({Placement(0, -100, 5, 900, 700), Placement(1, 7, 8, 9, 10)}));
    PutBinary(EarlierKey, "Columns", Join({Int16(1), Int16(2), Int16(3), Int16(-4)}));
    EXPECT_TRUE(Load());
    EXPECT_EQ(FormPlacements[0].Left, -100);
    EXPECT_TRUE(FormPlacements[1].Maximized);
    EXPECT_EQ(FormPlacements[1].Height, 10);
    EXPECT_EQ(FormPlacements[2].Width, 610);
    EXPECT_EQ(ColumnSettings.Widths, (std::array<int16_t, 5>{1, 2, 3, 80, -4}));
}

TEST_F(SettingsImportTest, OldValuesOfTheWrongSizeOrTypeTakeDefaultsOrZeros)
{
    PutLayout3();
    PutBinary(EarlierKey, "Exercise settings", Bytes(12, 1));
    PutString(EarlierKey, "Boolean settings", "15");
    PutBinary(EarlierKey, "Print settings", Bytes(49, 0));
    EXPECT_TRUE(Load());
    EXPECT_EQ(Binary(TrainerKey, "Exercise options"), (Bytes{20, 1, 30, 9, 3, 2, 4, 6}));
    EXPECT_EQ(Binary(TrainerKey, "Edit options"), (Bytes{1, 1, 0, 1}));
    EXPECT_FALSE(OtherOptions.LoadMRU);
    EXPECT_EQ(Binary(TrainerKey, "Print settings"),
              Join({{0, 0, 0, 0},
                    PrintSlot(0, 0.25),
                    PrintSlot(1, 0.25),
                    PrintSlot(2, 0.3),
                    PrintSlot(3, 0.1),
                    PrintSlot(4, 0.1)}));

    // A short old value fills the first bytes of a zeroed record.
    TRegistry registry;
    ASSERT_TRUE(registry.DeleteKey(EarlierKey));
    ASSERT_TRUE(registry.DeleteKey(TrainerKey));
    PutLayout3();
    PutBinary(EarlierKey, "Exercise settings", {3, 5, 7});
    PutBinary(EarlierKey, "Columns", Int16(90));
    EXPECT_TRUE(Load());
    EXPECT_EQ(Binary(TrainerKey, "Exercise options"), (Bytes{0, 1, 30, 0, 0, 3, 5, 7}));
    EXPECT_EQ(ColumnSettings.Widths, (std::array<int16_t, 5>{90, 0, 0, 80, 0}));
}

TEST_F(SettingsImportTest, OldValuesStayWhenTheConvertedOnesCannotBeSaved)
{
    PutLayout3();
    const Names before = ValueNames(EarlierKey);
    // The machine-wide write, the last of the save, fails.
    ASSERT_TRUE(QDir(QString::fromStdString(store.Path())).mkdir("HKEY_LOCAL_MACHINE.reg.tmp"));
    EXPECT_TRUE(Load());
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_EQ(ValueNames(EarlierKey), before);

    // Now the per-user writes fail, from the first on.
    ASSERT_TRUE(QDir(QString::fromStdString(store.Path())).rmdir("HKEY_LOCAL_MACHINE.reg.tmp"));
    ASSERT_TRUE(TRegistry().DeleteKey(TrainerKey));
    ASSERT_TRUE(QDir(QString::fromStdString(store.Path())).mkdir("HKEY_CURRENT_USER.reg.tmp"));
    EXPECT_TRUE(Load());
    EXPECT_EQ(reports.size(), 2u);
    EXPECT_EQ(ValueNames(EarlierKey), before);
}

} // namespace
