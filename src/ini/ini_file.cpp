#include "ini/ini_file.h"

#include <cstdint>
#include <optional>

#include "files/file_system.h"
#include "text/bounded_string.h"
#include "text/shift_jis.h"

namespace velnora::ini {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The section name of a line "[name]", or nothing when the line is no section line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    std::size_t close = text::FindLastByte(line, ']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return line.substr(1, close - 1);
}

struct KeyLine {
    std::string_view name;
    std::string_view value;
};

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
    std::size_t equals = text::FindByte(line, '=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return KeyLine{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

}  // namespace

int ParseLeadingInt(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10u + static_cast<std::uint32_t>(c - '0');
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<int>(value);
}

bool IniFile::Load(std::string_view path, std::string* error) {
    std::string bytes;
    load_error_.clear();
    bool ok = files::ReadWholeFile(path, bytes, &load_error_, kMaxIniFileSize);
    Parse(ok ? std::string_view(bytes) : std::string_view());
    // A missing file is an empty one; a file that exists but cannot be read is an error, so that
    // a write does not replace what could not be read. (A dangling link counts as existing.)
    if (!ok && !files::PathExists(path) && !files::IsSymbolicLink(path)) {
        load_error_.clear();
        return true;
    }
    if (!ok && error != nullptr) {
        *error = load_error_;
    }
    return ok;
}

void IniFile::Parse(std::string_view bytes) {
    lines_.clear();
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') {
            ++end;
        }
        lines_.emplace_back(bytes.substr(start, end - start));
        if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') {
            end += 2;
        } else {
            end += 1;
        }
        start = end;
    }
}

std::size_t IniFile::FindKey(std::string_view section, std::string_view key) const {
    bool in_section = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (auto name = SectionName(lines_[i])) {
            in_section = text::EqualNoCase(*name, section);
            continue;
        }
        if (!in_section) {
            continue;
        }
        auto entry = ParseKeyLine(lines_[i]);
        if (entry && text::EqualNoCase(entry->name, key)) {
            return i;
        }
    }
    return std::string::npos;
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               std::string_view default_value, std::size_t buffer_size) const {
    std::size_t index = FindKey(section, key);
    if (index == std::string::npos) {
        return text::CutToBuffer(default_value, buffer_size);
    }
    std::string_view value = ParseKeyLine(lines_[index])->value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return text::CutToBuffer(value, buffer_size);
}

int IniFile::GetInt(std::string_view section, std::string_view key, int default_value) const {
    std::string text = GetString(section, key, "", 32);
    if (text.empty()) {
        return default_value;
    }
    return ParseLeadingInt(text);
}

void IniFile::SetString(std::string_view section, std::string_view key,
                        std::string_view raw_value) {
    std::string_view name = Trim(key);
    if ((!name.empty() && name.front() == '[') ||
        key.find_first_of("\r\n") != std::string_view::npos) {
        return;
    }
    // A line break in a value would cut the line and could make a key of what follows.
    std::string value(raw_value);
    for (char& c : value) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    std::size_t index = FindKey(section, key);
    if (index != std::string::npos) {
        std::string name(ParseKeyLine(lines_[index])->name);
        lines_[index] = name + "=" + value;
        return;
    }
    std::string line = std::string(key) + "=" + value;
    // The end of the first section of that name: after its last line that is not blank.
    std::size_t insert_at = std::string::npos;
    bool in_section = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (auto name = SectionName(lines_[i])) {
            if (in_section) {
                break;
            }
            in_section = text::EqualNoCase(*name, section);
            if (in_section) {
                insert_at = i + 1;
            }
            continue;
        }
        if (in_section && !Trim(lines_[i]).empty()) {
            insert_at = i + 1;
        }
    }
    if (insert_at != std::string::npos) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert_at), std::move(line));
        return;
    }
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(std::move(line));
}

void IniFile::SetInt(std::string_view section, std::string_view key, int value) {
    SetString(section, key, std::to_string(value));
}

bool IniFile::RemoveKey(std::string_view section, std::string_view key) {
    bool removed = false;
    for (std::size_t index = FindKey(section, key); index != std::string::npos;
         index = FindKey(section, key)) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
        removed = true;
    }
    return removed;
}

std::string IniFile::Serialize() const {
    std::string bytes;
    for (const std::string& line : lines_) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

bool IniFile::Save(std::string_view path, std::string* error, files::Durability durability) const {
    if (!load_error_.empty()) {
        if (error != nullptr) {
            *error = load_error_;
        }
        return false;
    }
    return files::WriteFileAtomically(path, Serialize(), error, durability);
}

std::string GetProfileString(std::string_view file, std::string_view section, std::string_view key,
                             std::string_view default_value, std::size_t buffer_size) {
    IniFile ini;
    ini.Load(file);
    return ini.GetString(section, key, default_value, buffer_size);
}

int GetProfileInt(std::string_view file, std::string_view section, std::string_view key,
                  int default_value) {
    IniFile ini;
    ini.Load(file);
    return ini.GetInt(section, key, default_value);
}

bool WriteProfileString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view value, std::string* error) {
    IniFile ini;
    if (!ini.Load(file, error)) {
        return false;
    }
    ini.SetString(section, key, value);
    return ini.Save(file, error);
}

}  // namespace velnora::ini
