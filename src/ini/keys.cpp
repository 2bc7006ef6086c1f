#include "ini/keys.h"

namespace velnora::ini {

int Ranged(const NumberKey& key, int value) {
    if (key.width == NumberWidth::kByte) {
        value &= 0xFF;
    }
    if (key.ranged && !key.range.Contains(value)) {
        return key.fallback;
    }
    return value;
}

int Read(const IniFile& ini, const NumberKey& key, int number) {
    return Ranged(key, ini.GetInt(key.section, KeyName(key, number), key.fallback));
}

std::string Read(const IniFile& ini, const TextKey& key, int number) {
    return ini.GetString(key.section, KeyName(key, number), key.fallback, key.buffer);
}

void Write(IniFile& ini, const NumberKey& key, long long value, int number) {
    if (key.omitted_at_fallback && value == key.fallback) {
        ini.RemoveKey(key.section, KeyName(key, number));
        return;
    }
    ini.SetString(key.section, KeyName(key, number), std::to_string(value));
}

void Write(IniFile& ini, const TextKey& key, std::string_view value, int number) {
    if (key.omitted_at_fallback && value == key.fallback) {
        ini.RemoveKey(key.section, KeyName(key, number));
        return;
    }
    ini.SetString(key.section, KeyName(key, number), value);
}

int GetProfileInt(std::string_view file, const NumberKey& key) {
    return Ranged(key, ini::GetProfileInt(file, key.section, key.name, key.fallback));
}

}  // namespace velnora::ini
