#include "platform/KeyboardLayouts.h"
#include "platform/KbKeymap.h"
#include "platform/Registry.h"
#include "support/StoreFixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon-keysyms.h>

namespace {

// The desktop of these tests has two groups, "us" and "de", whatever the machine's own layouts
// are; the variable must be set before anything detects the desktop's layouts.
const bool UsGermanDesktop = qputenv("XKB_DEFAULT_LAYOUT", "us,de");

constexpr int ScanGrave = 41;
constexpr int Scan2 = 3;
constexpr int Scan8 = 9;
constexpr int ScanMinus = 12;
constexpr int ScanEqual = 13;
constexpr int ScanQ = 16;
constexpr int ScanE = 18;
constexpr int ScanY = 21;
constexpr int ScanZ = 44;
constexpr int ScanApostrophe = 40;
constexpr int ScanSpace = 57;
constexpr int ScanEscape = 1;

// The 48 character keys in the keyboard tool's order.
const int KeyScanCodes[48] = {41, 2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 16, 17, 18,
                              19, 20, 21, 22, 23, 24, 25, 26, 27, 30, 31, 32, 33, 34, 35, 36,
                              37, 38, 39, 40, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 43, 57};

std::shared_ptr<const KbKeymap> Keymap(const char *name)
{
    return KbKeymap::Of(KbLayout::FromName(name));
}

class KeyboardLayoutsTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { KbKeymap::UseSystemFilesOnly(); }
};

// Sets or clears an environment variable for one test.
class TEnvVar
{
public:
    TEnvVar(const char *name, const char *value)
        : name(name)
        , saved(qgetenv(name))
        , had(qEnvironmentVariableIsSet(name))
    {
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    ~TEnvVar()
    {
        if (had)
            qputenv(name, saved);
        else
            qunsetenv(name);
    }
    TEnvVar(const TEnvVar &) = delete;
    TEnvVar &operator=(const TEnvVar &) = delete;

private:
    const char *name;
    QByteArray saved;
    bool had;
};

QString WriteTemp(const QTemporaryDir &dir, const char *name, const QByteArray &text)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
}

TEST_F(KeyboardLayoutsTest, NamesReadBackAndMalformedNamesGiveNoLayout)
{
    EXPECT_EQ(KbLayout::FromName("de"), (KbLayout{"de", ""}));
    EXPECT_EQ(KbLayout::FromName("fr(oss)"), (KbLayout{"fr", "oss"}));
    EXPECT_EQ(KbLayout::FromName("fr(oss)").name(), "fr(oss)");
    EXPECT_EQ((KbLayout{"de", "nodeadkeys"}).name(), "de(nodeadkeys)");
    for (const char *bad :
         {"", "de(", "de()", "(oss)", "fr(oss", "d e", "de(a)b", "de(a(b))", "../x"})
        EXPECT_TRUE(KbLayout::FromName(bad).empty()) << bad;
}

TEST_F(KeyboardLayoutsTest, LettersAndShiftFollowTheLayout)
{
    const auto us = Keymap("us");
    const auto de = Keymap("de");
    ASSERT_TRUE(us && de);
    EXPECT_EQ(us->KeyChar(ScanY, 0), U'y');
    EXPECT_EQ(de->KeyChar(ScanY, 0), U'z');
    EXPECT_EQ(de->KeyChar(ScanZ, 0), U'y');
    EXPECT_EQ(de->KeyChar(ScanY, 1), U'Z');
    EXPECT_EQ(us->KeyChar(Scan2, 1), U'@');
    EXPECT_EQ(de->KeyChar(Scan2, 1), U'"');
    EXPECT_EQ(de->KeyChar(ScanMinus, 0), U'ß');
    EXPECT_EQ(us->KeyChar(ScanSpace, 0), U' ');

    std::u32string row;
    for (int scan : KeyScanCodes)
        row += us->KeyChar(scan, 0);
    EXPECT_EQ(row, U"`1234567890-=qwertyuiop[]asdfghjkl;'zxcvbnm,./\\ ");
}

TEST_F(KeyboardLayoutsTest, AltGrCountsOnlyOnKeysThatUseIt)
{
    const auto us = Keymap("us");
    const auto de = Keymap("de");
    const auto ru = Keymap("ru");
    ASSERT_TRUE(us && de && ru);
    for (int scan : KeyScanCodes) {
        EXPECT_EQ(us->KeyChar(scan, 2), 0u) << scan;
        EXPECT_EQ(us->KeyChar(scan, 3), 0u) << scan;
    }
    EXPECT_EQ(de->KeyChar(ScanQ, 2), U'@');
    EXPECT_EQ(de->KeyChar(ScanE, 2), U'€');
    EXPECT_EQ(de->KeyChar(Scan2, 2), U'²');
    EXPECT_EQ(ru->KeyChar(Scan8, 2), U'₽');
    EXPECT_EQ(ru->KeyChar(ScanQ, 2), 0u);
    EXPECT_EQ(ru->KeyChar(ScanQ, 0), U'й');
}

TEST_F(KeyboardLayoutsTest, GreekAndItsCodePages)
{
    const auto gr = Keymap("gr");
    ASSERT_TRUE(gr);
    EXPECT_EQ(gr->KeyChar(ScanE, 0), U'ε');
    EXPECT_EQ(gr->KeyChar(ScanE, 1), U'Ε');
    EXPECT_EQ(KbKeymap::InCodePage(U'ε', 1253), 0xE5);
    EXPECT_EQ(KbKeymap::InCodePage(U'ε', 1252), 0);
    EXPECT_EQ(KbKeymap::InCodePage(U'й', 1251), 0xE9);
    EXPECT_EQ(KbKeymap::InCodePage(U'€', 1252), 0x80);
    EXPECT_EQ(KbKeymap::InCodePage(U'\t', 1252), 0);
    EXPECT_EQ(KbKeymap::InCodePage(U'あ', 932), 0);
    EXPECT_EQ(KbKeymap::InCodePage(U'a', 932), 'a');
}

TEST_F(KeyboardLayoutsTest, KeysWithoutTextAndOutOfRangeRequestsGiveNothing)
{
    const auto de = Keymap("de");
    ASSERT_TRUE(de);
    EXPECT_EQ(de->KeyChar(ScanEscape, 0), 0u);
    EXPECT_EQ(de->KeyChar(0, 0), 0u);
    EXPECT_EQ(de->KeyChar(-8, 0), 0u);
    EXPECT_EQ(de->KeyChar(5000, 0), 0u);
    EXPECT_EQ(de->KeyChar(ScanY, 4), 0u);
    EXPECT_EQ(de->KeyChar(ScanY, -1), 0u);
}

TEST_F(KeyboardLayoutsTest, DeadKeysComposeWithTheFollowingKey)
{
    const auto de = Keymap("de");
    ASSERT_TRUE(de);
    const uint32_t acute = de->KeySym(ScanEqual, 0);
    EXPECT_EQ(acute, static_cast<uint32_t>(XKB_KEY_dead_acute));
    EXPECT_TRUE(KbKeymap::IsDead(acute));
    EXPECT_EQ(KbKeymap::DeadChar(acute), U'\u00B4');
    EXPECT_EQ(KbKeymap::Composed(acute, de->KeySym(ScanE, 0)), U'é');
    EXPECT_EQ(KbKeymap::Composed(acute, de->KeySym(ScanE, 1)), U'É');
    EXPECT_EQ(KbKeymap::Composed(acute, de->KeySym(ScanQ, 0)), 0u);
    EXPECT_EQ(de->KeySym(ScanEqual, 1), static_cast<uint32_t>(XKB_KEY_dead_grave));

    const uint32_t circumflex = de->KeySym(ScanGrave, 0);
    EXPECT_TRUE(KbKeymap::IsDead(circumflex));
    EXPECT_EQ(KbKeymap::DeadChar(circumflex), U'^');
    EXPECT_EQ(KbKeymap::Composed(circumflex, de->KeySym(ScanE, 0)), U'ê');
    // A second dead key waits for more: no character yet.
    EXPECT_EQ(KbKeymap::Composed(circumflex, de->KeySym(ScanEqual, 1)), 0u);

    EXPECT_FALSE(KbKeymap::IsDead(de->KeySym(ScanE, 0)));
    EXPECT_EQ(KbKeymap::DeadChar(de->KeySym(ScanE, 0)), 0u);
    EXPECT_FALSE(KbKeymap::IsDead(0));
    EXPECT_EQ(KbKeymap::Composed(0, de->KeySym(ScanE, 0)), 0u);
}

TEST_F(KeyboardLayoutsTest, DeadKeysOfOtherLayouts)
{
    const auto intl = Keymap("us(intl)");
    const auto us = Keymap("us");
    ASSERT_TRUE(intl && us);
    EXPECT_EQ(intl->KeySym(ScanGrave, 0), static_cast<uint32_t>(XKB_KEY_dead_grave));
    EXPECT_EQ(intl->KeySym(ScanApostrophe, 0), static_cast<uint32_t>(XKB_KEY_dead_acute));
    EXPECT_EQ(intl->KeySym(ScanApostrophe, 1), static_cast<uint32_t>(XKB_KEY_dead_diaeresis));
    EXPECT_EQ(KbKeymap::DeadChar(intl->KeySym(ScanApostrophe, 1)), U'¨');
    EXPECT_EQ(KbKeymap::Composed(intl->KeySym(ScanApostrophe, 1), intl->KeySym(ScanE, 0)), U'ë');
    for (int scan : KeyScanCodes) {
        for (int shift = 0; shift < 4; ++shift)
            EXPECT_FALSE(KbKeymap::IsDead(us->KeySym(scan, shift))) << scan << " " << shift;
    }
}

TEST_F(KeyboardLayoutsTest, LayoutTextsAndLayoutsThatDoNotCompile)
{
    EXPECT_EQ(KbLayouts::LayoutText(KbLayout::FromName("de")), "German");
    EXPECT_EQ(KbLayouts::LayoutText(KbLayout::FromName("de(nodeadkeys)")), "German (no dead keys)");
    EXPECT_EQ(KbKeymap::Of(KbLayout{"nosuchlayout", ""}), nullptr);
    EXPECT_EQ(KbKeymap::Of(KbLayout{"de", "nosuchvariant"}), nullptr);
    EXPECT_EQ(KbKeymap::Of(KbLayout{}), nullptr);
    EXPECT_EQ(KbLayouts::LayoutText(KbLayout{"nosuchlayout", ""}), "");
    EXPECT_EQ(Keymap("de"), Keymap("de"));
}

TEST_F(KeyboardLayoutsTest, ActiveLayoutChangesOnlyToLayoutsThatCompile)
{
    const KbLayout startup = KbLayouts::StartupLayout();
    ASSERT_FALSE(startup.empty());
    EXPECT_TRUE(KbKeymap::Of(startup));
    EXPECT_TRUE(KbLayouts::ActivateKeyboardLayout(KbLayout{"gr", ""}));
    EXPECT_EQ(KbLayouts::GetKeyboardLayout(), (KbLayout{"gr", ""}));
    EXPECT_FALSE(KbLayouts::ActivateKeyboardLayout(KbLayout{"nosuchlayout", ""}));
    EXPECT_FALSE(KbLayouts::ActivateKeyboardLayout(KbLayout{}));
    EXPECT_EQ(KbLayouts::GetKeyboardLayout(), (KbLayout{"gr", ""}));
    EXPECT_EQ(KbLayouts::StartupLayout(), startup);
    EXPECT_TRUE(KbLayouts::ActivateKeyboardLayout(startup));
}

TEST_F(KeyboardLayoutsTest, CatalogueHoldsLayoutsAndVariantsWithTheirNames)
{
    const auto catalogue = KbLayouts::Catalogue();
    auto find = [&](const char *name) {
        return std::find_if(catalogue.begin(), catalogue.end(), [&](const auto &entry) {
            return entry.layout == KbLayout::FromName(name);
        });
    };
    ASSERT_NE(find("de"), catalogue.end());
    EXPECT_EQ(find("de")->description, "German");
    ASSERT_NE(find("fr(oss)"), catalogue.end());
    EXPECT_EQ(find("fr(oss)")->description, "French (alt.)");
    ASSERT_NE(find("be(oss)"), catalogue.end());
    EXPECT_EQ(find("be(oss)")->description, "Belgian (alt.)");
    // Models and options are no layouts.
    EXPECT_EQ(find("pc105"), catalogue.end());
    EXPECT_EQ(find("ctrl"), catalogue.end());
}

TEST_F(KeyboardLayoutsTest, DamagedOrMissingRulesListsGiveWhatIsReadable)
{
    QTemporaryDir dir;
    const QString path = WriteTemp(dir, "rules.lst",
                                   "  de  German before any section\n"
                                   "! layout\n"
                                   "  de              German\n"
                                   "  lonely\n"
                                   "\tgr\tGreek\n"
                                   "  bad(name        Broken\n"
                                   "! variant\n"
                                   "  nocolon         German without a colon\n"
                                   "  oss             fr: French (alt.)\n"
                                   "  x               : no layout\n"
                                   "! option\n"
                                   "  grp             Switching\n");
    const auto catalogue = KbLayouts::Catalogue(path);
    ASSERT_EQ(catalogue.size(), 3u);
    EXPECT_EQ(catalogue[0].layout, (KbLayout{"de", ""}));
    EXPECT_EQ(catalogue[0].description, "German");
    EXPECT_EQ(catalogue[1].layout, (KbLayout{"gr", ""}));
    EXPECT_EQ(catalogue[1].description, "Greek");
    EXPECT_EQ(catalogue[2].layout, (KbLayout{"fr", "oss"}));
    EXPECT_EQ(catalogue[2].description, "French (alt.)");
    EXPECT_TRUE(KbLayouts::Catalogue(dir.filePath("missing.lst")).empty());
    EXPECT_TRUE(KbLayouts::Catalogue(WriteTemp(dir, "empty.lst", "")).empty());
}

TEST_F(KeyboardLayoutsTest, DesktopLayoutsComeFromTheEnvironmentThenTheFileThenUs)
{
    QTemporaryDir dir;
    const QString file = WriteTemp(dir, "keyboard",
                                   "# keyboard configuration\n"
                                   "XKBMODEL=\"pc105\"\n"
                                   "XKBLAYOUT=\"fr,gr\"\n"
                                   "XKBVARIANT='oss,'\n"
                                   "XKBOPTIONS=\"\"\n");
    const QString missing = dir.filePath("missing");
    {
        TEnvVar layout("XKB_DEFAULT_LAYOUT", "de,us");
        TEnvVar variant("XKB_DEFAULT_VARIANT", "nodeadkeys,");
        EXPECT_EQ(KbLayouts::DetectDesktopLayouts(file),
                  (std::vector<KbLayout>{{"de", "nodeadkeys"}, {"us", ""}}));
    }
    {
        // Items that do not compile are passed over.
        TEnvVar layout("XKB_DEFAULT_LAYOUT", "nosuchlayout,gr");
        TEnvVar variant("XKB_DEFAULT_VARIANT", nullptr);
        EXPECT_EQ(KbLayouts::DetectDesktopLayouts(file), (std::vector<KbLayout>{{"gr", ""}}));
    }
    {
        TEnvVar layout("XKB_DEFAULT_LAYOUT", "nosuchlayout");
        TEnvVar variant("XKB_DEFAULT_VARIANT", nullptr);
        EXPECT_EQ(KbLayouts::DetectDesktopLayouts(file),
                  (std::vector<KbLayout>{{"fr", "oss"}, {"gr", ""}}));
    }
    {
        TEnvVar layout("XKB_DEFAULT_LAYOUT", nullptr);
        TEnvVar variant("XKB_DEFAULT_VARIANT", "oss");
        EXPECT_EQ(KbLayouts::DetectDesktopLayouts(file).front(), (KbLayout{"fr", "oss"}));
        EXPECT_EQ(KbLayouts::DetectDesktopLayouts(missing), (std::vector<KbLayout>{{"us", ""}}));
        const QString unknown = WriteTemp(dir, "unknown", "XKBLAYOUT=zz\nXKBVARIANT=\"\n");
        EXPECT_EQ(KbLayouts::DetectDesktopLayouts(unknown), (std::vector<KbLayout>{{"us", ""}}));
    }
}

TEST_F(KeyboardLayoutsTest, AddedLayoutsAreKeptInTheStore)
{
    TStoreDir store;
    const std::vector<KbLayout> desktop = KbLayouts::OfferedLayouts();
    ASSERT_FALSE(desktop.empty());
    EXPECT_EQ(desktop.front(), KbLayouts::StartupLayout());
    const KbLayout added
            = desktop.front() == KbLayout{"gr", ""} ? KbLayout{"ru", ""} : KbLayout{"gr", ""};

    EXPECT_TRUE(KbLayouts::AddOfferedLayout(added));
    EXPECT_FALSE(KbLayouts::AddOfferedLayout(added));
    EXPECT_FALSE(KbLayouts::AddOfferedLayout(desktop.front()));
    EXPECT_FALSE(KbLayouts::AddOfferedLayout(KbLayout{"nosuchlayout", ""}));
    const KbLayout alternative{"fr", "oss"};
    const bool offeredBefore
            = std::find(desktop.begin(), desktop.end(), alternative) != desktop.end();
    EXPECT_EQ(KbLayouts::AddOfferedLayout(alternative), !offeredBefore);

    std::vector<KbLayout> expected = desktop;
    expected.push_back(added);
    if (!offeredBefore)
        expected.push_back(alternative);
    EXPECT_EQ(KbLayouts::OfferedLayouts(), expected);

    TRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly("Keyboard Layout\\Preload"));
    EXPECT_EQ(registry.ReadString("1"), added.name());
}

TEST_F(KeyboardLayoutsTest, StoredListsAreReadInNumberOrderAndDamagedEntriesPassedOver)
{
    TStoreDir store;
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey("Keyboard Layout\\Preload", true));
        registry.WriteString("10", "ru");
        registry.WriteString("2", "fr(oss)");
        registry.WriteString("x", "de(nodeadkeys)");
        registry.WriteString("0", "de(nodeadkeys)");
        registry.WriteString("3", "nosuchlayout");
        registry.WriteString("4", "not a name");
        registry.WriteInteger("5", 7);
        registry.WriteString("6", "fr(oss)");
    }
    std::vector<KbLayout> offered = KbLayouts::OfferedLayouts();
    const std::vector<KbLayout> desktop = KbLayouts::DetectDesktopLayouts();
    std::vector<KbLayout> stored(offered.begin() + static_cast<long>(desktop.size()),
                                 offered.end());
    std::vector<KbLayout> expected;
    for (const KbLayout &layout : {KbLayout{"fr", "oss"}, KbLayout{"ru", ""}}) {
        if (std::find(desktop.begin(), desktop.end(), layout) == desktop.end())
            expected.push_back(layout);
    }
    EXPECT_EQ(stored, expected);
    // A new entry takes the first free number.
    if (std::find(offered.begin(), offered.end(), KbLayout{"gr", ""}) == offered.end()) {
        ASSERT_TRUE(KbLayouts::AddOfferedLayout(KbLayout{"gr", ""}));
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKeyReadOnly("Keyboard Layout\\Preload"));
        EXPECT_EQ(registry.ReadString("1"), "gr");
    }
}

TEST_F(KeyboardLayoutsTest, GroupsKeepTheirPlacesAndTheActiveGroupGivesTheStartupLayout)
{
    const KbLayout us{"us", ""};
    const KbLayout german{"de", "nodeadkeys"};
    TEnvVar layout("XKB_DEFAULT_LAYOUT", "us,nosuchlayout,,de");
    TEnvVar variant("XKB_DEFAULT_VARIANT", ",,,nodeadkeys");
    const std::vector<KbLayout> groups = KbLayouts::DetectDesktopGroups();
    EXPECT_EQ(groups, (std::vector<KbLayout>{us, {}, {}, german}));
    EXPECT_EQ(KbLayouts::DetectDesktopLayouts(), (std::vector<KbLayout>{us, german}));
    EXPECT_EQ(KbLayouts::GroupLayout(groups, 3), german);
    EXPECT_EQ(KbLayouts::GroupLayout(groups, 1), KbLayout{});
    EXPECT_EQ(KbLayouts::GroupLayout(groups, 4), KbLayout{});

    EXPECT_EQ(KbLayouts::StartupChoice(groups, 3u), german);
    EXPECT_EQ(KbLayouts::StartupChoice(groups, 0u), us);
    // An unknown group, or one whose layout does not compile, leaves the first that does.
    EXPECT_EQ(KbLayouts::StartupChoice(groups, std::nullopt), us);
    EXPECT_EQ(KbLayouts::StartupChoice(groups, 1u), us);
    EXPECT_EQ(KbLayouts::StartupChoice(std::vector<KbLayout>{KbLayout{}, german}, 7u), german);
}

TEST_F(KeyboardLayoutsTest, ADesktopSwitchChangesTheDesktopsLayoutAndTellsTheHandler)
{
    ASSERT_TRUE(UsGermanDesktop);
    const KbLayout us{"us", ""};
    const KbLayout german{"de", ""};
    // Offscreen the desktop tells no active group: its first is the start-up layout.
    ASSERT_EQ(KbLayouts::StartupLayout(), us);
    ASSERT_EQ(KbLayouts::DesktopLayout(), us);
    ASSERT_TRUE(KbLayouts::ActivateKeyboardLayout(us));
    std::vector<KbLayout> heard;
    const KbLayouts::TDesktopSwitchHandler previous = KbLayouts::SetDesktopSwitchHandler(
            [&](const KbLayout &layout) { heard.push_back(layout); });
    KbLayouts::DesktopGroupSwitched(1);
    EXPECT_EQ(KbLayouts::DesktopLayout(), german);
    // The program's own layout is the editors' business.
    EXPECT_EQ(KbLayouts::GetKeyboardLayout(), us);
    KbLayouts::DesktopGroupSwitched(2);
    EXPECT_EQ(KbLayouts::DesktopLayout(), german);
    KbLayouts::DesktopGroupSwitched(0);
    KbLayouts::SetDesktopSwitchHandler(previous);
    EXPECT_EQ(heard, (std::vector<KbLayout>{german, us}));
    EXPECT_EQ(KbLayouts::DesktopLayout(), us);
    EXPECT_EQ(KbLayouts::StartupLayout(), us);
}

} // namespace
