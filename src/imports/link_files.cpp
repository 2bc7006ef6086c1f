#include "imports/link_files.h"

#include <QFile>

#include "imports/text_bytes.h"
#include "ini/ini_file.h"
#include "text/bounded_string.h"
#include "text/shift_jis.h"

namespace velnora::imports {

namespace {

constexpr std::string_view kUrlExtension = ".url";
constexpr std::string_view kDesktopExtension = ".desktop";

}  // namespace

bool IsLinkFileName(std::string_view name) {
    return text::EndsWithNoCase(name, kUrlExtension) ||
           text::EndsWithNoCase(name, kDesktopExtension);
}

std::string LinkFileTitle(std::string_view name) {
    for (std::string_view extension : {kUrlExtension, kDesktopExtension}) {
        if (name.size() > extension.size() && text::EndsWithNoCase(name, extension)) {
            return std::string(name.substr(0, name.size() - extension.size()));
        }
    }
    return std::string(name);
}

std::string LinkFileAddress(std::string_view name, std::string_view bytes) {
    ini::IniFile file;
    file.Parse(WithoutByteOrderMark(bytes));
    std::string_view section =
        text::EndsWithNoCase(name, kDesktopExtension) ? "Desktop Entry" : "InternetShortcut";
    // Read whole, so that an address too long to keep is refused rather than cut.
    return TextAsUtf8(file.GetString(section, "URL", "", kMaxLinkFileBytes + 1));
}

std::optional<std::string> ReadLinkFile(std::string_view disk_path) {
    QFile file(QString::fromUtf8(disk_path.data(), static_cast<qsizetype>(disk_path.size())));
    if (!file.open(QIODevice::ReadOnly) || file.size() > static_cast<qint64>(kMaxLinkFileBytes)) {
        return std::nullopt;
    }
    QByteArray bytes = file.read(static_cast<qint64>(kMaxLinkFileBytes) + 1);
    if (bytes.size() > static_cast<qsizetype>(kMaxLinkFileBytes)) {
        return std::nullopt;
    }
    std::size_t slash = disk_path.rfind('/');
    std::string_view name =
        slash == std::string_view::npos ? disk_path : disk_path.substr(slash + 1);
    return LinkFileAddress(name, std::string_view(bytes.constData(), bytes.size()));
}

}  // namespace velnora::imports
