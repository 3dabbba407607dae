#include "tools/pack/Packer.h"
#include "setup/ExtractFixture.h"

#include <gtest/gtest.h>

namespace {

TEST(Packer, RefusesWhatTheInstallerCouldNotRead)
{
    TFolder sources, out;
    sources.Write("f", "content");
    std::string error;
    EXPECT_EQ(PackVolumes({{"name", sources.File("f")}}, 13, out.Path(), error), 0);
    EXPECT_EQ(error, "the volume capacity is too small");
    EXPECT_EQ(PackVolumes({{std::string(4097, 'n'), sources.File("f")}}, 10000, out.Path(), error),
              0);
    EXPECT_EQ(PackVolumes({{"", sources.File("f")}}, 10000, out.Path(), error), 0);
    EXPECT_EQ(PackVolumes({{"x", sources.File("missing")}}, 10000, out.Path(), error), 0);
    EXPECT_EQ(error, "not a file: " + sources.File("missing"));
}

// Content that fills the last volume exactly closes it without a volume after it; empty files
// after the last content byte go into that volume even past its capacity.
TEST(Packer, NoVolumeIsOpenedForNothing)
{
    TFolder sources, exact, trailing;
    sources.Write("ten", "0123456789");
    sources.Write("none", "");
    std::string error;
    // 4 (total) + 6 (header) + 10 content + 1 = 21
    EXPECT_EQ(PackVolumes({{"a", sources.File("ten")}}, 21, exact.Path(), error), 1);
    EXPECT_EQ(exact.Read("Setup.d01"), Int32Bytes(10) + EntryBytes("a", "0123456789") + "\x02");

    EXPECT_EQ(PackVolumes({{"a", sources.File("ten")}, {"b", sources.File("none")}}, 21,
                          trailing.Path(), error),
              1);
    EXPECT_EQ(trailing.Read("Setup.d01"),
              Int32Bytes(10) + EntryBytes("a", "0123456789") + EntryHeader("b", 0) + "\x02");
}

TEST(Packer, SplitsContentAndKeepsHeadersWhole)
{
    TFolder sources, out;
    sources.Write("ten", "0123456789");
    const std::string longName = "bbbbbbbbb";
    std::string error;
    // Content areas of 14 bytes. Volume 1: the total, a's header and four content bytes; volume 2
    // the rest of a, and the 14-byte header of the long name does not fit beside it, so it fills
    // volume 3 on its own and its content is all in volume 4.
    ASSERT_EQ(PackVolumes({{"a", sources.File("ten")}, {longName, sources.File("ten")}}, 15,
                          out.Path(), error),
              4)
            << error;
    EXPECT_EQ(out.Read("Setup.d01"), Int32Bytes(20) + EntryHeader("a", 10) + "0123" + "\x02");
    EXPECT_EQ(out.Read("Setup.d02"), std::string("456789") + "\x03");
    EXPECT_EQ(out.Read("Setup.d03"), EntryHeader(longName, 10) + "\x04");
    EXPECT_EQ(out.Read("Setup.d04"), std::string("0123456789") + "\x05");
}

} // namespace
