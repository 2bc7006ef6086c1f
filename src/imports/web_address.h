#pragma once

// Addresses taken from bookmark files and drops: which ones a page can watch, their host, and
// the form the program stores them in.

#include <string>
#include <string_view>

namespace velnora::imports {

// Whether the address is an http, https or ftp address ("scheme://" with something after it;
// the scheme without regard to letter case) without blanks or control characters inside.
// Bookmarklets ("javascript:"), "place:" queries, "file:" and "data:" addresses are not.
bool IsWebAddress(std::string_view utf8);

// The host of an address: what follows "//" up to the path, without user information or port
// ("example.com" of "http://user@example.com:8080/x"); empty when there is none.
std::string HostOf(std::string_view utf8);

// The address as the program keeps it: blanks around it removed; the bytes of characters
// outside ASCII, blanks and control characters inside it written as %XX (their UTF-8 bytes, as
// browsers send them), as the request line would; everything else as it is. ASCII is the same
// in Shift_JIS.
std::string StoredAddress(std::string_view utf8);

// The text without the blanks (spaces, tabs, line breaks, the ideographic space) around it.
std::string_view TrimBlanks(std::string_view utf8);

}  // namespace velnora::imports
