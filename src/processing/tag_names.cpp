#include "processing/tag_names.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "text/shift_jis.h"

namespace velnora::processing {
namespace {

// A tag with its closing name; an empty closing name means the tag has none in the table. A
// name that begins with "/" is looked up only among the closing names, any other name only
// among the opening names.
struct NamePair {
    std::string_view opening;
    std::string_view closing;
};

// Names that end a line.
constexpr NamePair kBreakSetA[] = {
    {"br", ""},    {"table", ""}, {"p", "/p"},   {"div", "/div"}, {"title", "/title"},
    {"ul", "/ul"}, {"ol", "/ol"}, {"li", "/li"}, {"br/", ""},
};

// Names that change only the look of text.
constexpr NamePair kInlineSet[] = {
    {"span", "/span"},
    {"font", "/font"},
    {"b", "/b"},
};

// More names that end a line. "framset" and "noembedd" are spelt so on purpose: stored logs were
// made with an opening frameset or noembed tag ending no line, and a check must extract the same
// lines from an unchanged page or it would report them as new.
constexpr NamePair kBreakSetB[] = {
    {"hr", ""},
    {"hr/", ""},
    {"th", "/th"},
    {"caption", "/caption"},
    {"dl", "/dl"},
    {"dt", ""},
    {"dd", ""},
    {"form", "/form"},
    {"input", ""},
    {"blockquote", "/blockquote"},
    {"framset", "/frameset"},
    {"textarea", "/textarea"},
    {"option", "/option"},
    {"fieldset", "/fieldset"},
    {"legend", "/legend"},
    {"button", "/button"},
    {"noscript", "/noscript"},
    {"noembedd", "/noembedd"},
    {"nolayer", "/nolayer"},
    {"noframes", "/noframes"},
};

// RSS elements that end a line (letter case significant).
constexpr NamePair kRssStructureSet[] = {
    {"item", "/item"},
    {"channel", "/channel"},
    {"description", "/description"},
};

// RSS elements written as labelled lines (letter case significant); each closing name is "/"
// and the opening name.
constexpr std::string_view kRssFieldSet[] = {
    "language",
    "copyright",
    "managingEditor",
    "webMaster",
    "pubDate",
    "lastBuildDate",
    "category",
    "generator",
    "docs",
    "cloud",
    "ttl",
    "image",
    "dc:language",
    "dc:title",
    "dc:creator",
    "dc:subject",
    "dc:description",
    "dc:publisher",
    "dc:contributor",
    "dc:date",
    "dc:type",
    "dc:format",
    "dc:identifier",
    "dc:source",
    "dc:relation",
    "dc:coverage",
    "dc:rights",
    "rating",
    "textInput",
    "skipHours",
    "skipDays",
    "url",
    "width",
    "height",
    "author",
    "guid",
    "name",
    "comments",
    "enclosure",
    "source",
};

// Names with a meaning of their own.
struct NamedKind {
    std::string_view name;
    TagKind kind;
};

constexpr NamedKind kSingleNames[] = {
    {"td", TagKind::kTd},
    {"/td", TagKind::kTdEnd},
    {"tr", TagKind::kTr},
    {"/tr", TagKind::kTrEnd},
    {"/table", TagKind::kTableEnd},
    {"a", TagKind::kA},
    {"/a", TagKind::kAEnd},
    {"img", TagKind::kImg},
    {"script", TagKind::kScript},
    {"optgroup", TagKind::kOptgroup},
    {"select", TagKind::kSelect},
    {"style", TagKind::kStyle},
    {"pre", TagKind::kPre},
    {"base", TagKind::kBase},
    {"meta", TagKind::kMeta},
    {"?xml", TagKind::kXml},
    {"link", TagKind::kLink},
    {"/link", TagKind::kLinkEnd},
    {"description", TagKind::kDescription},
    {"/description", TagKind::kDescriptionEnd},
};

constexpr std::size_t CountNames() {
    auto count_pairs = [](const auto& table) {
        std::size_t n = 0;
        for (const NamePair& pair : table) {
            n += pair.closing.empty() ? 1 : 2;
        }
        return n;
    };
    return std::size(kSingleNames) + count_pairs(kBreakSetA) + count_pairs(kInlineSet) +
           count_pairs(kBreakSetB);
}

// Every name compared without regard to letter case (the names of the tables are all in lower
// case).
constexpr auto kAllNames = [] {
    std::array<NamedKind, CountNames()> names{};
    std::size_t n = 0;
    for (const NamedKind& entry : kSingleNames) {
        names[n++] = entry;
    }
    auto add_pairs = [&](const auto& table, TagKind kind) {
        for (const NamePair& pair : table) {
            names[n++] = {pair.opening, kind};
            if (!pair.closing.empty()) {
                names[n++] = {pair.closing, kind};
            }
        }
    };
    add_pairs(kBreakSetA, TagKind::kBreakA);
    add_pairs(kInlineSet, TagKind::kInline);
    add_pairs(kBreakSetB, TagKind::kBreakB);
    return names;
}();

constexpr std::size_t LongestName() {
    std::size_t longest = 0;
    for (const NamedKind& entry : kAllNames) {
        longest = std::max(longest, entry.name.size());
    }
    return longest;
}

constexpr bool NamesAreUniqueAndLowerCase() {
    for (std::size_t i = 0; i < kAllNames.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (kAllNames[j].name == kAllNames[i].name) {
                return false;
            }
        }
        for (char c : kAllNames[i].name) {
            if (c >= 'A' && c <= 'Z') {
                return false;
            }
        }
    }
    return true;
}
static_assert(NamesAreUniqueAndLowerCase());

// The names in an open-addressing hash table (FNV-1a of the lower-case name, linear probing),
// since a page has a tag every few dozen bytes.
constexpr std::size_t kHashSlots = 256;
static_assert(kAllNames.size() * 2 < kHashSlots);

constexpr std::uint32_t kFnvOffset = 2166136261u;
constexpr std::uint32_t kFnvPrime = 16777619u;

constexpr std::uint32_t HashName(std::string_view name) {
    std::uint32_t hash = kFnvOffset;
    for (char c : name) {
        hash = (hash ^ static_cast<unsigned char>(c)) * kFnvPrime;
    }
    return hash;
}

constexpr auto kNameSlots = [] {
    std::array<std::int16_t, kHashSlots> slots{};
    slots.fill(-1);
    for (std::size_t i = 0; i < kAllNames.size(); ++i) {
        std::size_t slot = HashName(kAllNames[i].name) % kHashSlots;
        while (slots[slot] != -1) {
            slot = (slot + 1) % kHashSlots;
        }
        slots[slot] = static_cast<std::int16_t>(i);
    }
    return slots;
}();

constexpr auto kSortedFields = [] {
    std::array<std::string_view, std::size(kRssFieldSet)> names{};
    std::copy(std::begin(kRssFieldSet), std::end(kRssFieldSet), names.begin());
    std::sort(names.begin(), names.end());
    return names;
}();

}  // namespace

TagKind KindOfTag(std::string_view name) {
    constexpr std::size_t kLongest = LongestName();
    if (name.empty() || name.size() > kLongest) {
        return TagKind::kOther;
    }
    char lower[kLongest];
    std::uint32_t hash = kFnvOffset;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = text::AsciiLower(static_cast<unsigned char>(name[i]));
        lower[i] = static_cast<char>(c);
        hash = (hash ^ c) * kFnvPrime;
    }
    const std::string_view key(lower, name.size());
    for (std::size_t slot = hash % kHashSlots; kNameSlots[slot] != -1;
         slot = (slot + 1) % kHashSlots) {
        const NamedKind& entry = kAllNames[kNameSlots[slot]];
        if (entry.name == key) {
            return entry.kind;
        }
    }
    return TagKind::kOther;
}

bool IsRssStructureName(std::string_view name) {
    bool closing = name.starts_with('/');
    for (const NamePair& pair : kRssStructureSet) {
        if (closing ? pair.closing == name : pair.opening == name) {
            return true;
        }
    }
    return false;
}

std::string_view RssFieldName(std::string_view name, bool& closing) {
    closing = name.starts_with('/');
    std::string_view key = closing ? name.substr(1) : name;
    auto it = std::lower_bound(kSortedFields.begin(), kSortedFields.end(), key);
    return (it != kSortedFields.end() && *it == key) ? *it : std::string_view{};
}

}  // namespace velnora::processing
