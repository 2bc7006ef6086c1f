#pragma once

// What an import reads: a bookmark collection as a list of entries, each with the folders above
// it, its title and its address, in the order of the file. The readers take the bytes of a file
// (or, for link files, a directory) and never write anything.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velnora::imports {

struct ImportEntry {
    std::vector<std::string> folders;  // the names of the folders above it, from the top (UTF-8)
    std::string title;                 // UTF-8; empty when it has none
    std::string address;               // UTF-8, as the file gives it
    bool folder_only = false;          // a folder of its own, made even when it stays empty
};

enum class SourceFormat {
    kBookmarkHtml,  // a browser's bookmark export ("<!DOCTYPE NETSCAPE-Bookmark-file-1>")
    kOpml,          // an outline from a feed reader (an <opml> root)
    kAddressList,   // addresses one a line
    kLinkFolder,    // a directory of .url link files, sub-directories as folders
};

enum class ReadError {
    kNone,
    kUnreadable,   // the file or directory cannot be read; detail says why
    kTooLarge,     // larger than an import takes
    kBinary,       // it holds a zero byte: no text file
    kOtherMarkup,  // markup that is neither a bookmark export nor OPML (a saved page, a feed)
    kDamagedHtml,  // a bookmark export cut short or broken; detail says where
    kDamagedXml,   // OPML that is not well-formed XML; detail says where
};

struct ImportSource {
    SourceFormat format = SourceFormat::kAddressList;
    std::vector<ImportEntry> entries;
    int junk_lines = 0;  // address lists: lines that are not addresses
    ReadError error = ReadError::kNone;
    std::string detail;  // for errors: the system's text, or the line and what was found
    int line = 0;        // damaged files: the line where the damage shows
};

// The largest file an import reads.
inline constexpr std::uint64_t kMaxImportFileBytes = 64u << 20;

// Tells the format of a file's bytes: a bookmark export, OPML, or an address list; refused
// (the error set) when it holds a zero byte or is other markup.
SourceFormat SniffFormat(std::string_view bytes, ReadError& error);

// Reads a file or a directory named by its path on disk (UTF-8).
ImportSource ReadImportPath(std::string_view disk_path);
// Reads the bytes of a file by their content.
ImportSource ReadImportBytes(std::string_view bytes);

// The readers of each format.
ImportSource ReadBookmarkHtml(std::string_view bytes);
ImportSource ReadOpml(std::string_view bytes);
ImportSource ReadAddressList(std::string_view bytes);
ImportSource ReadLinkFolder(std::string_view disk_path);

// The name an import folder takes from the file: its name without the extension (a directory:
// its name), UTF-8.
std::string SourceBaseName(std::string_view disk_path);

}  // namespace velnora::imports
