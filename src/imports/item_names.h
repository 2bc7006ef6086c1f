#pragma once

// Titles made into item names. A name is Shift_JIS bytes that the file system can take as the
// name of a directory and that the program reads back as the same bytes:
//   - control characters and line breaks become blanks, runs of blanks one space, and blanks
//     around the name go;
//   - the slash becomes the full-width slash "／", and the names "." and ".." full-width dots;
//   - a character without a Shift_JIS form is replaced by its compatibility form or by its
//     letter without accents when those have one, and is left out otherwise (emoji);
//   - a character that comes back from the disk as another is stored as what comes back;
//   - the name is cut at a character boundary to the room it has: within the path limit of
//     the pages a check can take, and within the file system's 255 bytes for one name;
//   - an empty title gives the address's host, or the fallback name.

#include <cstddef>
#include <string>
#include <string_view>

namespace velnora::imports {

// The room a name has, in Shift_JIS bytes and in UTF-8 bytes on disk, suffixes not counted.
struct NameRoom {
    std::size_t sjis = 0;
    std::size_t disk = 0;
};

// The room of a page name in the directory, and of a folder name, which keeps room below it
// for the pages it will hold.
NameRoom PageNameRoom(std::string_view directory);
NameRoom FolderNameRoom(std::string_view directory);

// The title (UTF-8) as a name that fits the room; for an empty result the host of the address
// (UTF-8), then the fallback (Shift_JIS). Empty only when not even one character fits.
std::string ItemNameFromTitle(std::string_view title, std::string_view address,
                              std::string_view fallback, NameRoom room);

// A name made unique by a number: the base for n 0, else the base cut to leave room for "(n)"
// and followed by it.
std::string NumberedName(std::string_view base, int n, NameRoom room);

}  // namespace velnora::imports
