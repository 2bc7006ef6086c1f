#include "imports/item_names.h"

#include <QChar>
#include <QList>
#include <QString>

#include "fetch/page_walk.h"
#include "files/file_names.h"
#include "imports/web_address.h"
#include "store/page_files.h"
#include "text/cp932.h"
#include "text/shift_jis.h"

namespace velnora::imports {

namespace {

// The file system's limit for one name, in bytes.
constexpr std::size_t kDiskNameLimit = 255;
// A folder keeps room below it for a page: a separator, a name of eight bytes and ".dat".
constexpr std::size_t kRoomForAPage = 1 + 8 + 4;
// "／" and "．" in Shift_JIS.
constexpr std::string_view kFullWidthSlash = "\x81\x5E";
constexpr std::string_view kFullWidthDot = "\x81\x44";

NameRoom RoomAfter(std::string_view directory, std::size_t kept_below) {
    // The directory, a separator, the name and its four-byte suffix.
    std::size_t used = directory.size() + 1 + 4 + kept_below;
    NameRoom room;
    room.sjis = used < fetch::kMaxCheckedPagePath ? fetch::kMaxCheckedPagePath - used : 0;
    room.disk = kDiskNameLimit - 4;
    return room;
}

// The Shift_JIS form of one character (a code point), or nothing.
std::optional<std::string> SjisOf(char32_t code) {
    if (code > 0xFFFF) {
        return std::nullopt;
    }
    auto sjis = text::FindShiftJis(static_cast<std::uint16_t>(code));
    if (!sjis) {
        return std::nullopt;
    }
    std::string bytes;
    if (*sjis >= 0x100) {
        bytes += static_cast<char>(*sjis >> 8);
    }
    bytes += static_cast<char>(*sjis & 0xFF);
    return bytes;
}

// The Shift_JIS of a text whose every character has a form; nothing otherwise.
std::optional<std::string> SjisOfAll(const QString& text) {
    std::string bytes;
    for (char32_t code : text.toUcs4()) {
        auto one = SjisOf(code);
        if (!one) {
            return std::nullopt;
        }
        bytes += *one;
    }
    return bytes;
}

// A character without a Shift_JIS form: its compatibility form ("ﬁ" as "fi"), else its
// letter without accents ("é" as "e"), else nothing.
std::string Substitute(char32_t code) {
    QString one = QString::fromUcs4(&code, 1);
    if (auto compatible = SjisOfAll(one.normalized(QString::NormalizationForm_KC))) {
        return *compatible;
    }
    QString bare;
    for (QChar c : one.normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing &&
            c.category() != QChar::Mark_SpacingCombining && c.category() != QChar::Mark_Enclosing) {
            bare += c;
        }
    }
    if (!bare.isEmpty() && bare != one) {
        if (auto letters = SjisOfAll(bare)) {
            return *letters;
        }
    }
    return {};
}

bool IsBlankOrControl(char32_t code) {
    QChar::Category category = QChar::category(code);
    return code < 0x20 || code == 0x7F || QChar::isSpace(code) ||
           category == QChar::Other_Control || category == QChar::Other_Format ||
           category == QChar::Separator_Line || category == QChar::Separator_Paragraph;
}

// The title's characters as Shift_JIS, blanks collapsed and trimmed.
std::string SjisName(std::string_view title) {
    std::string name;
    bool blank = false;
    for (char32_t code :
         QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())).toUcs4()) {
        if (IsBlankOrControl(code)) {
            blank = !name.empty();
            continue;
        }
        std::string bytes;
        if (code == '/') {
            bytes = kFullWidthSlash;
        } else if (auto sjis = SjisOf(code)) {
            bytes = *sjis;
        } else {
            bytes = Substitute(code);
        }
        if (bytes.empty()) {
            continue;
        }
        if (blank) {
            name += ' ';
            blank = false;
        }
        name += bytes;
    }
    if (name == "." || name == "..") {
        std::string dots;
        for (std::size_t i = 0; i < name.size(); ++i) {
            dots += kFullWidthDot;
        }
        name = dots;
    }
    // What the disk gives back is what the tree will show: store that.
    if (auto disk = files::ToDiskName(name)) {
        if (auto back = files::FromDiskName(*disk)) {
            name = std::move(*back);
        }
    }
    return name;
}

// The name cut at a character boundary so that it fits the room, blanks at its end removed.
std::string CutToRoom(std::string_view name, NameRoom room) {
    std::size_t end = text::CharacterBoundary(name, std::min(name.size(), room.sjis));
    // Each Shift_JIS byte is at most one and a half UTF-8 bytes; cut further while too long.
    while (end > 0) {
        auto disk = files::ToDiskName(name.substr(0, end));
        if (disk && disk->size() <= room.disk) {
            break;
        }
        end = text::CharacterBoundary(name, end - 1);
    }
    // A space is never the second byte of a character.
    while (end > 0 && name[end - 1] == ' ') {
        --end;
    }
    return std::string(name.substr(0, end));
}

}  // namespace

NameRoom PageNameRoom(std::string_view directory) {
    return RoomAfter(directory, 0);
}

NameRoom FolderNameRoom(std::string_view directory) {
    return RoomAfter(directory, kRoomForAPage);
}

std::string ItemNameFromTitle(std::string_view title, std::string_view address,
                              std::string_view fallback, NameRoom room) {
    std::string name = CutToRoom(SjisName(title), room);
    if (name.empty()) {
        name = CutToRoom(SjisName(HostOf(address)), room);
    }
    if (name.empty()) {
        name = CutToRoom(fallback, room);
    }
    return name;
}

std::string NumberedName(std::string_view base, int n, NameRoom room) {
    if (n == 0) {
        return std::string(base);
    }
    std::string suffix = "(" + std::to_string(n) + ")";
    if (room.sjis < suffix.size() || room.disk < suffix.size()) {
        return {};
    }
    NameRoom left{room.sjis - suffix.size(), room.disk - suffix.size()};
    std::string name = CutToRoom(base, left);
    return name.empty() ? std::string() : name + suffix;
}

}  // namespace velnora::imports
