#include "SettingsFixture.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Int16(int value)
{
    return {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>((value >> 8) & 0xFF)};
}

Bytes Placement(bool maximized, int left, int top, int width, int height)
{
    return Join({{maximized ? uint8_t(1) : uint8_t(0), 0},
                 Int16(left),
                 Int16(top),
                 Int16(width),
                 Int16(height)});
}

Bytes DefaultPlacement()
{
    const QSize screen = QGuiApplication::primaryScreen()->size();
    return Placement(false, (screen.width() - 610) / 2, (screen.height() - 440) / 2, 610, 440);
}

const Bytes DefaultPrintSettings = Join({{0, 0, 0, 0},
                                         PrintSlot(0, 0.25),
                                         PrintSlot(1, 0.25),
                                         PrintSlot(2, 0.3),
                                         PrintSlot(3, 0.1),
                                         PrintSlot(4, 0.1)});

class SettingsTest : public SettingsFixture
{
protected:
    // Starts once with no per-user settings, so that a complete current set exists.
    void FirstStart()
    {
        Load();
        ResetPartsOfSpeech();
        reports.clear();
    }
    void PutPrint(const Bytes &columns, uint8_t confirmed = 0)
    {
        PutBinary(TrainerKey, "Print settings", Join({{confirmed, 0, 0, 0}, columns}));
    }
};

TEST_F(SettingsTest, AFirstStartWritesEveryDefault)
{
    EXPECT_TRUE(Load());
    const std::string personal = PersonalFolder();
    TRegistry user;
    ASSERT_TRUE(user.OpenKey(TrainerKey, false));
    EXPECT_EQ(user.ValueCount(), 13);
    EXPECT_EQ(user.ReadInteger("Version"), 0);
    EXPECT_EQ(Binary(TrainerKey, "Edit options"), (Bytes{1, 1, 1, 1}));
    EXPECT_EQ(Binary(TrainerKey, "Exercise options"), (Bytes{20, 1, 30, 9, 3, 2, 4, 6}));
    EXPECT_EQ(Binary(TrainerKey, "Other options"), (Bytes{0, 1, 4}));
    EXPECT_EQ(Binary(TrainerKey, "Windows"),
              Join({DefaultPlacement(), DefaultPlacement(), DefaultPlacement()}));
    EXPECT_EQ(Binary(TrainerKey, "Columns"),
              (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 150, 0, 150, 0, 150, 0, 80, 0, 50, 0}));
    EXPECT_EQ(Binary(TrainerKey, "Print settings"), DefaultPrintSettings);
    EXPECT_EQ(user.ReadString("Parts of speech"), "");
    EXPECT_EQ(user.ReadString("MRU list"), "");
    EXPECT_EQ(user.ReadString("MRU open"), personal);
    EXPECT_EQ(user.ReadString("MRU save"), personal);
    EXPECT_EQ(user.ReadString("Key prints"), "`1234567890-=QWERTYUIOP[]ASDFGHJKL;'ZXCVBNM,./\\");
    EXPECT_EQ(user.ReadString("Foreign characters"),
              "\xE0\xE1\xE2\xE4\xE3\xE5|\xE8\xE9\xEA\xEB|\xEC\xED\xEE\xEF|"
              "\xF2\xF3\xF4\xF6\xF5\xF8|\xF9\xFA\xFB\xFC|\xE7\xF1\xDF");
    EXPECT_EQ(Language, "Nederlands");
    EXPECT_TRUE(reports.empty());

    ResetPartsOfSpeech();
    EXPECT_EQ(PartsOfSpeech, DefaultPartsOfSpeech);
    EXPECT_EQ(user.ReadString("Parts of speech"), DefaultPartsOfSpeech);
}

TEST_F(SettingsTest, WithoutTheMachineWideLanguageNothingIsReadOrWritten)
{
    FirstStart();
    PutBinary(TrainerKey, "Other options", {1, 0, 7});
    for (const char *change : {"value of another type", "no value", "no key"}) {
        SCOPED_TRACE(change);
        TRegistry machine(Registry::Hive::LocalMachine);
        if (std::string(change) == "no key") {
            ASSERT_TRUE(machine.DeleteKey("\\Software"));
        } else {
            ASSERT_TRUE(machine.OpenKey(TrainerKey, false));
            if (std::string(change) == "no value")
                ASSERT_TRUE(machine.DeleteValue("Language"));
            else
                ASSERT_TRUE(machine.WriteInteger("Language", 1));
        }
        const std::string userBefore = UserFile();
        const std::string machineBefore = store.ReadFile("HKEY_LOCAL_MACHINE.reg");
        OtherOptions.NoiseLevel = 17;
        Language = "before";
        bool reset = true;
        EXPECT_FALSE(LoadSettings(reset));
        EXPECT_FALSE(reset);
        EXPECT_EQ(OtherOptions.NoiseLevel, 17);
        EXPECT_EQ(Language, "before");
        EXPECT_EQ(UserFile(), userBefore);
        EXPECT_EQ(store.ReadFile("HKEY_LOCAL_MACHINE.reg"), machineBefore);
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(SettingsTest, SettingsSurviveARestartUnchanged)
{
    FirstStart();
    const std::string afterFirst = UserFile();
    EXPECT_FALSE(Load());
    EXPECT_EQ(UserFile(), afterFirst);
    EXPECT_EQ(PrintSettings.Columns[2].Width, 0.3);

    EditOptions.NormalEnter = false;
    ExerciseOptions.Minutes = 45;
    ExerciseOptions.Flags = 0x7F;
    OtherOptions.NoiseLevel = 20;
    MRUList = "/home/ann/Frans.wdl";
    FormPlacements[1] = TFormPlacement{true, -8, -30000, 1200, 32767};
    ColumnSettings.Order = {9, 8, 7, 6, 5, 4, 3, 2, 1};
    ColumnSettings.Widths = {1, -2, 300, 0, 7};
    PrintSettings.KeyPrintsConfirmed = true;
    PrintSettings.Columns = {{{2, 0.5}, {0, 0.5}, {5, 0.7}, {5, 0.0}, {5, 2.0}}};
    KeyPrints = "short";
    ForeignCharacters = std::string(100, '\xE9');
    ASSERT_TRUE(SaveSettings());
    const std::string saved = UserFile();

    SetDefaultSettings();
    EXPECT_FALSE(Load());
    EXPECT_EQ(UserFile(), saved);
    EXPECT_FALSE(EditOptions.NormalEnter);
    EXPECT_EQ(ExerciseOptions.Minutes, 45);
    EXPECT_EQ(ExerciseOptions.Flags, 0x7F);
    EXPECT_EQ(OtherOptions.NoiseLevel, 20);
    EXPECT_EQ(MRUList, "/home/ann/Frans.wdl");
    EXPECT_EQ(FormPlacements[1].Left, -8);
    EXPECT_EQ(FormPlacements[1].Top, -30000);
    EXPECT_EQ(FormPlacements[1].Height, 32767);
    EXPECT_TRUE(FormPlacements[1].Maximized);
    EXPECT_EQ(ColumnSettings.Order[0], 9);
    EXPECT_EQ(ColumnSettings.Widths[1], -2);
    EXPECT_TRUE(PrintSettings.KeyPrintsConfirmed);
    EXPECT_EQ(PrintSettings.Columns[2].Width, 0.7);
    EXPECT_EQ(KeyPrints, "short");
    EXPECT_EQ(ForeignCharacters, std::string(100, '\xE9'));
}

TEST_F(SettingsTest, OutOfRangeValuesAreRepairedAndWrittenBack)
{
    FirstStart();
    PutBinary(TrainerKey, "Columns",
              {1, 2, 3, 4, 5, 6, 7, 8, 8, 0, 10, 0, 20, 0, 30, 0, 40, 0, 50, 0});
    PutBinary(TrainerKey, "Exercise options", {50, 0, 33, 0x41, 2, 3, 3, 6});
    PutBinary(TrainerKey, "Other options", {1, 0, 21});
    PutString(TrainerKey, "Foreign characters", std::string(101, 'x'));
    EXPECT_FALSE(Load());
    EXPECT_EQ(ColumnSettings.Order, (std::array<uint8_t, 9>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(ColumnSettings.Widths, (std::array<int16_t, 5>{10, 20, 30, 40, 50}));
    // Thresholds, required score, question count and flags go back together; the time stays.
    EXPECT_EQ(Binary(TrainerKey, "Exercise options"), (Bytes{20, 0, 30, 9, 3, 2, 4, 6}));
    EXPECT_EQ(Binary(TrainerKey, "Other options"), (Bytes{1, 0, 4}));
    EXPECT_EQ(ForeignCharacters, DefaultForeignCharacters);
    EXPECT_EQ(Binary(TrainerKey, "Columns")[8], 9);

    PutBinary(TrainerKey, "Exercise options", {101, 1, 125, 0x41, 5, 1, 2, 3});
    EXPECT_FALSE(Load());
    EXPECT_EQ(Binary(TrainerKey, "Exercise options"), (Bytes{20, 1, 30, 9, 3, 2, 4, 6}));
    PutBinary(TrainerKey, "Exercise options", {100, 1, 0, 0x41, 6, 1, 2, 3});
    EXPECT_FALSE(Load());
    EXPECT_EQ(Binary(TrainerKey, "Exercise options"), (Bytes{20, 1, 30, 9, 3, 2, 4, 6}));
    PutBinary(TrainerKey, "Exercise options", {100, 1, 120, 0x41, 5, 1, 29, 30});
    EXPECT_FALSE(Load());
    EXPECT_EQ(Binary(TrainerKey, "Exercise options"), (Bytes{100, 1, 120, 0x41, 5, 1, 29, 30}));
    EXPECT_TRUE(reports.empty());
}

TEST_F(SettingsTest, InvalidPartsOfSpeechAskForTheDefaultList)
{
    FirstStart();
    PutString(TrainerKey, "Parts of speech", "noun,verb");
    EXPECT_TRUE(Load());
    PutString(TrainerKey, "Parts of speech", "noun;;");
    EXPECT_TRUE(Load());
    PutString(TrainerKey, "Parts of speech", "noun;verb");
    EXPECT_FALSE(Load());
    EXPECT_EQ(PartsOfSpeech, "noun;verb");
}

TEST_F(SettingsTest, PrintSlotsThatThePrintoutCannotUseAreReset)
{
    FirstStart();
    const Bytes unused = PrintSlot(5, 0.0);
    struct Case
    {
        const char *what;
        Bytes stored;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case bad[] = {
            {"sum 0.999",
             Join({PrintSlot(0, 0.25), PrintSlot(1, 0.25), PrintSlot(2, 0.3), PrintSlot(3, 0.1),
                   PrintSlot(4, 0.099)})},
            {"kind 9", Join({PrintSlot(0, 0.5), PrintSlot(9, 0.5), unused, unused, unused})},
            {"NaN share", Join({PrintSlot(0, 1.0), PrintSlot(1, nan), unused, unused, unused})},
            {"negative share",
             Join({PrintSlot(0, 1.5), PrintSlot(1, -0.5), unused, unused, unused})},
            {"used after unused",
             Join({PrintSlot(0, 0.5), unused, PrintSlot(1, 0.5), unused, unused})},
            {"kind twice", Join({PrintSlot(0, 0.5), PrintSlot(0, 0.5), unused, unused, unused})},
            {"nothing used", Join({unused, unused, unused, unused, unused})},
    };
    for (const Case &c : bad) {
        SCOPED_TRACE(c.what);
        PutPrint(c.stored, 1);
        Load();
        EXPECT_EQ(Binary(TrainerKey, "Print settings"),
                  Join({{1, 0, 0, 0},
                        Bytes(DefaultPrintSettings.begin() + 4, DefaultPrintSettings.end())}));
    }
    // An unused slot's share is not looked at.
    const Bytes good = Join(
            {PrintSlot(4, 0.5), PrintSlot(2, 0.5), PrintSlot(5, nan), PrintSlot(5, -3.0), unused});
    PutPrint(good);
    Load();
    EXPECT_EQ(Binary(TrainerKey, "Print settings"), Join({{0, 0, 0, 0}, good}));
}

TEST_F(SettingsTest, ValuesOfTheWrongTypeOrSizeTakeTheirDefault)
{
    FirstStart();
    PutString(TrainerKey, "Edit options", "1111");
    PutBinary(TrainerKey, "Windows", Bytes(31, 0));
    PutBinary(TrainerKey, "MRU list", {'a'});
    PutInteger(TrainerKey, "Key prints", 5);
    EXPECT_FALSE(Load());
    EXPECT_EQ(Binary(TrainerKey, "Edit options"), (Bytes{1, 1, 1, 1}));
    EXPECT_EQ(Binary(TrainerKey, "Windows"),
              Join({DefaultPlacement(), DefaultPlacement(), DefaultPlacement()}));
    TRegistry user;
    ASSERT_TRUE(user.OpenKey(TrainerKey, false));
    EXPECT_EQ(user.ReadString("MRU list"), "");
    EXPECT_EQ(user.ReadString("Key prints"), DefaultKeyPrints);
    EXPECT_TRUE(reports.empty());
}

TEST_F(SettingsTest, AShortValueKeepsTheDefaultsOfTheRest)
{
    FirstStart();
    PutBinary(TrainerKey, "Windows", Placement(true, 1, 2, 300, 200));
    PutBinary(TrainerKey, "Exercise options", {40});
    PutBinary(TrainerKey, "Print settings", {1});
    PutString(TrainerKey, "Key prints", "1234567890");
    EXPECT_FALSE(Load());
    EXPECT_EQ(Binary(TrainerKey, "Windows"),
              Join({Placement(true, 1, 2, 300, 200), DefaultPlacement(), DefaultPlacement()}));
    EXPECT_EQ(Binary(TrainerKey, "Exercise options"), (Bytes{40, 1, 30, 9, 3, 2, 4, 6}));
    EXPECT_EQ(Binary(TrainerKey, "Print settings"),
              Join({{1, 0, 0, 0},
                    Bytes(DefaultPrintSettings.begin() + 4, DefaultPrintSettings.end())}));
    // The key prints are kept as stored; their readers treat missing keys as blank.
    EXPECT_EQ(KeyPrints, "1234567890");
}

TEST_F(SettingsTest, AFailedWriteIsReportedOnceAndStartUpGoesOn)
{
    FirstStart();
    const std::string before = UserFile();
    ASSERT_TRUE(QDir(QString::fromStdString(store.Path())).mkdir("HKEY_CURRENT_USER.reg.tmp"));

    bool reset = true;
    EXPECT_TRUE(LoadSettings(reset));
    EXPECT_FALSE(reset);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("HKEY_CURRENT_USER.reg.tmp"), std::string::npos);
    EXPECT_EQ(UserFile(), before);

    EXPECT_FALSE(SaveSettings());
    EXPECT_EQ(reports.size(), 2u);
    ResetPartsOfSpeech();
    EXPECT_EQ(reports.size(), 3u);
    EXPECT_EQ(PartsOfSpeech, DefaultPartsOfSpeech);
}

// A disk that fills up half-way through the file: the file that failed and the system's reason.
TEST_F(SettingsTest, AFullDiskIsReportedWithTheFileAndTheReason)
{
    FirstStart();
    const std::string before = UserFile();
    {
        const TFileSizeLimit limit(before.size() / 2);
        EXPECT_FALSE(SaveSettings());
    }
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0],
              "The settings could not be saved: " + store.Path()
                      + "/HKEY_CURRENT_USER.reg.tmp: " + std::strerror(EFBIG));
    EXPECT_EQ(UserFile(), before);
}

TEST_F(SettingsTest, ResetPartsOfSpeechDoesNotCreateTheKey)
{
    ResetPartsOfSpeech();
    EXPECT_EQ(PartsOfSpeech, DefaultPartsOfSpeech);
    TRegistry user;
    EXPECT_FALSE(user.KeyExists(TrainerKey));
    EXPECT_TRUE(reports.empty());
}

TEST_F(SettingsTest, SaveSettingsCreatesBothKeysAndWritesTheLanguageBack)
{
    TRegistry machine(Registry::Hive::LocalMachine);
    ASSERT_TRUE(machine.DeleteKey("\\Software"));
    Language = "English";
    ASSERT_TRUE(SaveSettings());
    ASSERT_TRUE(machine.OpenKey(TrainerKey, false));
    EXPECT_EQ(machine.ReadString("Language"), "English");
    EXPECT_EQ(ValueNames(TrainerKey).size(), 13u);
}

} // namespace
