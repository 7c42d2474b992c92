#pragma once
// What FSCTL_GET_REPARSE_POINT hands back for a folder link, laid out here
// because the system headers keep REPARSE_DATA_BUFFER out of windows.h (and
// the host tests have no system headers at all). Every field has a fixed
// width, so the layout is the same for i686, x86_64 and the host; the names
// are UTF-16 code units, read as such whatever the width of wchar_t.

#include <cstddef>
#include <cstdint>

#include "services/PlatformTypes.h"

namespace qvn {

// The control code, the tags of the two kinds of folder link, and the flag a
// symbolic link with a relative target carries.
constexpr DWORD kGetReparsePoint = 0x000900A8;   // FSCTL_GET_REPARSE_POINT
constexpr DWORD kJunctionTag = 0xA0000003;       // IO_REPARSE_TAG_MOUNT_POINT: a junction or a mounted volume
constexpr DWORD kSymbolicLinkTag = 0xA000000C;   // IO_REPARSE_TAG_SYMLINK
constexpr DWORD kNameSurrogateBit = 0x20000000;  // the tag's kind names another file or folder
constexpr std::uint32_t kRelativeSymbolicLink = 1;  // SYMLINK_FLAG_RELATIVE
constexpr std::size_t kMostReparseData = 16 * 1024;  // MAXIMUM_REPARSE_DATA_BUFFER_SIZE

// REPARSE_DATA_BUFFER up to its union.
struct ReparseHeader {
  std::uint32_t tag;
  std::uint16_t dataLength;  // of what follows this header
  std::uint16_t reserved;
};

// Where the two names lie in the path buffer, in bytes from its start.
struct ReparseNames {
  std::uint16_t substituteOffset;  // the name the system follows: "\??\D:\Quorvane"
  std::uint16_t substituteLength;
  std::uint16_t printOffset;  // the name a user is shown: "D:\Quorvane"
  std::uint16_t printLength;
};

// A junction's reparse data; its path buffer follows.
struct JunctionReparse {
  ReparseHeader header;
  ReparseNames names;
};

// A symbolic link's reparse data; its path buffer follows.
struct SymbolicLinkReparse {
  ReparseHeader header;
  ReparseNames names;
  std::uint32_t flags;
};

static_assert(sizeof(ReparseHeader) == 8, "the header is 8 bytes");
static_assert(offsetof(JunctionReparse, names) == 8, "a junction's names follow the header");
static_assert(sizeof(JunctionReparse) == 16, "a junction's path buffer starts at byte 16");
static_assert(offsetof(SymbolicLinkReparse, flags) == 16, "a symbolic link's flags follow its names");
static_assert(sizeof(SymbolicLinkReparse) == 20, "a symbolic link's path buffer starts at byte 20");

}  // namespace qvn
