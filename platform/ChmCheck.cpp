#include "platform/ChmCheck.h"

#include <cstdint>
#include <optional>
#include <string>
#include <strings.h>

namespace {

// The file header ("ITSF") and the directory header ("ITSP").
constexpr size_t ItsfV2Length = 0x58;
constexpr size_t ItsfV3Length = 0x60;
constexpr size_t ItsfVersionAt = 4;
constexpr size_t ItsfDirOffsetAt = 0x48;
constexpr size_t ItsfDirLengthAt = 0x50;
constexpr size_t ItsfDataOffsetAt = 0x58;
constexpr size_t ItspLength = 0x54;
constexpr size_t ItspHeaderLengthAt = 8;
constexpr size_t ItspBlockLengthAt = 0x10;
constexpr size_t ItspIndexRootAt = 0x1C;
constexpr size_t ItspIndexHeadAt = 0x20;
// Directory chunks: listing chunks ("PMGL") and index chunks ("PMGI").
constexpr size_t PmglHeaderLength = 20;
constexpr size_t PmgiHeaderLength = 8;
constexpr size_t PmglNextAt = 16;
// Help compilers write chunks of 4 KiB; the library allocates one of the claimed length per walk.
constexpr uint32_t MaxBlockLength = 64 * 1024;
constexpr size_t FreeSpaceAt = 4;
constexpr size_t MaxNameLength = 512;
constexpr int MaxEncodedIntBytes = 9;
// An index deeper than this is a loop, which the library would follow for ever.
constexpr int MaxIndexDepth = 32;

constexpr const char *ControlDataObject = "::DataSpace/Storage/MSCompressed/ControlData";
constexpr const char *ContentObject = "::DataSpace/Storage/MSCompressed/Content";
constexpr const char *ResetTableObject
        = "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/"
          "InstanceData/ResetTable";
constexpr uint32_t UncompressedSection = 0;
constexpr uint32_t CompressedSection = 1;

// The LZX control data: size, "LZXC", version, reset interval, window size, windows per reset.
constexpr size_t ControlDataLength = 24;
constexpr size_t MaxControlDataLength = 0x1000;
constexpr size_t ControlSignatureAt = 4;
constexpr size_t ControlVersionAt = 8;
constexpr size_t ControlResetIntervalAt = 12;
constexpr size_t ControlWindowAt = 16;
constexpr size_t ControlWindowsPerResetAt = 20;
constexpr uint32_t LzxVersion = 2;
constexpr uint32_t LzxUnit = 0x8000;
constexpr uint32_t MinLzxWindow = 1u << 15;
constexpr uint32_t MaxLzxWindow = 1u << 21;
// The reset table: version, block count, a word, table offset, uncompressed and compressed
// lengths, block length.
constexpr size_t ResetTableLength = 40;
constexpr size_t ResetCompressedLengthAt = 24;
constexpr size_t ResetBlockLengthAt = 32;

std::optional<uint64_t> Number(std::string_view bytes, uint64_t at, int size)
{
    if (at > bytes.size() || bytes.size() - at < static_cast<uint64_t>(size))
        return std::nullopt;
    uint64_t value = 0;
    for (int i = 0; i < size; ++i)
        value |= uint64_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
    return value;
}

std::optional<uint32_t> U32(std::string_view bytes, uint64_t at)
{
    const auto value = Number(bytes, at, 4);
    return value ? std::optional<uint32_t>(static_cast<uint32_t>(*value)) : std::nullopt;
}

std::optional<uint64_t> U64(std::string_view bytes, uint64_t at)
{
    return Number(bytes, at, 8);
}

// The directory's numbers: seven bits a byte, most significant first, the top bit set on all but
// the last byte.
std::optional<uint64_t> EncodedInt(std::string_view chunk, size_t &at, size_t end)
{
    uint64_t value = 0;
    for (int i = 0; i < MaxEncodedIntBytes && at < end; ++i) {
        const auto byte = static_cast<unsigned char>(chunk[at++]);
        value = value << 7 | (byte & 0x7F);
        if ((byte & 0x80) == 0)
            return value;
    }
    return std::nullopt;
}

std::optional<std::string> Name(std::string_view chunk, size_t &at, size_t end)
{
    const auto length = EncodedInt(chunk, at, end);
    if (!length || *length > MaxNameLength || end - at < *length)
        return std::nullopt;
    std::string name(chunk.substr(at, *length));
    at += *length;
    return name;
}

struct TEntry
{
    uint64_t Section = 0;
    uint64_t Start = 0;
    uint64_t Length = 0;
};

enum class TLookup {
    Found,
    Absent,
    Damaged,
};

class TDirectory
{
public:
    TDirectory(std::string_view file, uint64_t offset, uint32_t blockLength, int32_t root)
        : file(file)
        , offset(offset)
        , blockLength(blockLength)
        , root(root)
    { }

    // As the library looks an object up: from the root chunk down the index chunks to the one
    // listing chunk that holds it.
    TLookup Find(const char *wanted, TEntry &entry) const
    {
        int64_t page = root;
        for (int depth = 0; depth < MaxIndexDepth; ++depth) {
            if (page < 0 || blockLength < PmglHeaderLength)
                return TLookup::Absent;
            const uint64_t at = offset + static_cast<uint64_t>(page) * blockLength;
            if (at < offset || at > file.size() || file.size() - at < blockLength)
                return TLookup::Absent;
            const std::string_view chunk = file.substr(at, blockLength);
            const auto freeSpace = U32(chunk, FreeSpaceAt);
            if (!freeSpace || *freeSpace > blockLength)
                return TLookup::Damaged;
            const size_t end = blockLength - *freeSpace;
            if (chunk.starts_with("PMGL"))
                return FindInListing(chunk, end, wanted, entry);
            if (!chunk.starts_with("PMGI"))
                return TLookup::Absent;
            if (!NextPage(chunk, end, wanted, page))
                return TLookup::Damaged;
        }
        return TLookup::Damaged;
    }

    // As the library lists every object: along the listing chunks from the first, each entry read
    // without a bound. False when an entry overruns its chunk or the chain runs in a circle.
    bool ListingChainIsSound(int32_t head) const
    {
        const uint64_t chunks = file.size() / blockLength + 1;
        int64_t page = head;
        for (uint64_t visited = 0; page >= 0; ++visited) {
            const uint64_t at = offset + static_cast<uint64_t>(page) * blockLength;
            if (at < offset || at > file.size() || file.size() - at < blockLength)
                return true;
            const std::string_view chunk = file.substr(at, blockLength);
            const auto freeSpace = U32(chunk, FreeSpaceAt);
            if (!chunk.starts_with("PMGL"))
                return true;
            if (visited >= chunks || !freeSpace || *freeSpace > blockLength - PmglHeaderLength)
                return false;
            TEntry entry;
            if (FindInListing(chunk, blockLength - *freeSpace, nullptr, entry) == TLookup::Damaged)
                return false;
            page = static_cast<int32_t>(*U32(chunk, PmglNextAt));
        }
        return true;
    }

private:
    static TLookup FindInListing(std::string_view chunk, size_t end, const char *wanted,
                                 TEntry &entry)
    {
        size_t at = PmglHeaderLength;
        while (at < end) {
            const auto name = Name(chunk, at, end);
            if (!name)
                return TLookup::Damaged;
            const auto section = EncodedInt(chunk, at, end);
            const auto start = EncodedInt(chunk, at, end);
            const auto length = EncodedInt(chunk, at, end);
            if (!section || !start || !length)
                return TLookup::Damaged;
            if (wanted && strcasecmp(name->c_str(), wanted) == 0) {
                entry = {*section, *start, *length};
                return TLookup::Found;
            }
        }
        return TLookup::Absent;
    }

    // The page of the last index entry whose name does not sort after the wanted one; -1 when the
    // first already does.
    static bool NextPage(std::string_view chunk, size_t end, const char *wanted, int64_t &page)
    {
        size_t at = PmgiHeaderLength;
        page = -1;
        while (at < end) {
            const auto name = Name(chunk, at, end);
            if (!name)
                return false;
            if (strcasecmp(name->c_str(), wanted) > 0)
                return true;
            const auto next = EncodedInt(chunk, at, end);
            if (!next)
                return false;
            page = static_cast<int32_t>(*next);
        }
        return true;
    }

    std::string_view file;
    uint64_t offset;
    uint32_t blockLength;
    int32_t root;
};

bool ControlDataIsSound(std::string_view data)
{
    if (!data.substr(ControlSignatureAt).starts_with("LZXC")
        || U32(data, ControlVersionAt) != LzxVersion)
        return false;
    // The library scales both by 32 KiB in 32-bit arithmetic, and so does this.
    const uint32_t window = *U32(data, ControlWindowAt) * LzxUnit;
    const uint32_t resetInterval = *U32(data, ControlResetIntervalAt) * LzxUnit;
    const uint32_t windowsPerReset = *U32(data, ControlWindowsPerResetAt);
    if (window < MinLzxWindow || window > MaxLzxWindow || (window & (window - 1)) != 0
        || resetInterval == 0 || resetInterval % (window / 2) != 0)
        return false;
    const uint64_t blocksPerReset = uint64_t{resetInterval / (window / 2)} * windowsPerReset;
    return blocksPerReset != 0 && blocksPerReset <= UINT32_MAX;
}

} // namespace

bool ChmIsSafeToOpen(std::string_view file)
{
    if (!file.starts_with("ITSF"))
        return false;
    const auto version = U32(file, ItsfVersionAt);
    if (version != 2u && version != 3u)
        return false;
    const auto dirOffset = U64(file, ItsfDirOffsetAt);
    const auto dirLength = U64(file, ItsfDirLengthAt);
    const auto dataOffset = version == 3u ? U64(file, ItsfDataOffsetAt)
            : dirOffset && dirLength      ? std::optional<uint64_t>(*dirOffset + *dirLength)
                                          : std::nullopt;
    if (file.size() < (version == 3u ? ItsfV3Length : ItsfV2Length) || !dataOffset
        || *dirOffset > file.size() || file.size() - *dirOffset < ItspLength)
        return false;
    const std::string_view itsp = file.substr(*dirOffset, ItspLength);
    const auto headerLength = U32(itsp, ItspHeaderLengthAt);
    const auto blockLength = U32(itsp, ItspBlockLengthAt);
    auto root = static_cast<int32_t>(*U32(itsp, ItspIndexRootAt));
    const auto head = static_cast<int32_t>(*U32(itsp, ItspIndexHeadAt));
    if (!itsp.starts_with("ITSP") || !headerLength || !blockLength
        || *blockLength < PmglHeaderLength || *blockLength > MaxBlockLength)
        return false;
    if (root <= -1)
        root = head;
    const TDirectory directory(file, *dirOffset + *headerLength, *blockLength, root);
    if (!directory.ListingChainIsSound(head))
        return false;

    TEntry control;
    TEntry content;
    TEntry resetTable;
    const TLookup found[]
            = {directory.Find(ControlDataObject, control), directory.Find(ContentObject, content),
               directory.Find(ResetTableObject, resetTable)};
    for (TLookup lookup : found)
        if (lookup == TLookup::Damaged)
            return false;
    for (TLookup lookup : found)
        if (lookup == TLookup::Absent)
            return true;
    // The library keeps a section number as the low 32 bits of what the entry says. One of the
    // three in the compressed section turns decompression off; any other number but the plain
    // section's makes it read that object through the decompressor before it is set up.
    const auto section = [](const TEntry &entry) { return static_cast<uint32_t>(entry.Section); };
    for (const TEntry *entry : {&control, &content, &resetTable})
        if (section(*entry) == CompressedSection)
            return true;
    for (const TEntry *entry : {&control, &content, &resetTable})
        if (section(*entry) != UncompressedSection)
            return false;
    const uint64_t controlAt = *dataOffset + control.Start;
    const uint64_t tableAt = *dataOffset + resetTable.Start;
    if (control.Length < ControlDataLength || control.Length > MaxControlDataLength
        || controlAt < *dataOffset || controlAt > file.size()
        || file.size() - controlAt < control.Length || tableAt < *dataOffset
        || tableAt > file.size() || file.size() - tableAt < ResetTableLength)
        return false;
    // A file cut short loses the end of its compressed section; the library would decompress
    // whatever lies in its buffers instead.
    const uint64_t contentAt = *dataOffset + content.Start;
    if (contentAt < *dataOffset || contentAt > file.size()
        || file.size() - contentAt < content.Length)
        return false;
    const std::string_view table = file.substr(tableAt, ResetTableLength);
    if (*U64(table, ResetCompressedLengthAt) > content.Length)
        return false;
    // The library divides by the block length and allocates buffers of it for every block.
    const uint64_t frameLength = *U64(table, ResetBlockLengthAt);
    return ControlDataIsSound(file.substr(controlAt, control.Length)) && U32(table, 0) == LzxVersion
            && frameLength != 0 && frameLength <= MaxLzxWindow;
}
