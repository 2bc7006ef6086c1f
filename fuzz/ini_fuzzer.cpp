// Any bytes as an INI file: reading must end without a crash or an undefined operation, saving
// what was read must give a file that reads the same, and a value written reads back.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ini/ini_file.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using velnora::ini::IniFile;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // The first line names the key that is looked up and written; the rest is the file.
    std::size_t line_end = bytes.find('\n');
    std::string_view key = bytes.substr(0, line_end == bytes.npos ? 0 : line_end);
    std::string_view file = line_end == bytes.npos ? bytes : bytes.substr(line_end + 1);

    IniFile ini;
    ini.Parse(file);
    std::string saved = ini.Serialize();
    IniFile again;
    again.Parse(saved);
    Require(again.Serialize() == saved);
    for (std::string_view section : {"CONFIG", "RESULT", "config"}) {
        Require(again.GetString(section, key, "d", 2101) == ini.GetString(section, key, "d", 2101));
        Require(again.GetInt(section, key, 7) == ini.GetInt(section, key, 7));
    }
    (void)velnora::ini::ParseLeadingInt(key);

    // A plain value written under a plain key reads back as written, whatever the file held.
    std::string value;
    for (char c : file.substr(0, 64)) {
        if (c > ' ' && c != '"' && c != '\'' && c != 0x7f) {
            value.push_back(c);
        }
    }
    ini.SetString("CONFIG", "FUZZ_KEY", value);
    ini.SetString("CONFIG", key, value);
    Require(ini.GetString("config", "fuzz_key", "", 2101) == value);
    ini.SetInt("RESULT", "CODE", static_cast<int>(size));
    Require(ini.GetInt("RESULT", "CODE", -1) == static_cast<int>(size));
    IniFile reread;
    reread.Parse(ini.Serialize());
    Require(reread.GetString("CONFIG", "FUZZ_KEY", "", 2101) == value);
    return 0;
}
