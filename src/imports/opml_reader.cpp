// Outlines from feed readers: <opml><body> holds <outline> elements, nested to make folders. An
// outline for a feed gives its address in xmlUrl (a page watching the feed), one for a web
// page in htmlUrl, one of type "link" in url.

#include <QByteArray>
#include <QXmlStreamReader>
#include <array>

#include "imports/import_source.h"
#include "imports/text_bytes.h"
#include "text/cp932.h"
#include "text/shift_jis.h"

namespace velnora::imports {

namespace {

// Names an XML declaration gives Shift_JIS under, which the XML reader does not know.
constexpr std::array<std::string_view, 6> kShiftJisNames = {
    "shift_jis", "shift-jis", "sjis", "x-sjis", "windows-31j", "cp932",
};

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

// A document declared as Shift_JIS, as UTF-8 declared as such.
std::string AsDeclaredUtf8(std::string bytes) {
    if (!bytes.starts_with("<?xml")) {
        return bytes;
    }
    std::size_t end = bytes.find("?>");
    std::size_t key = bytes.find("encoding", 0);
    if (end == std::string::npos || key == std::string::npos || key > end) {
        return bytes;
    }
    std::size_t open = bytes.find_first_of("\"'", key);
    if (open == std::string::npos || open > end) {
        return bytes;
    }
    std::size_t close = bytes.find(bytes[open], open + 1);
    if (close == std::string::npos || close > end) {
        return bytes;
    }
    std::string_view name = std::string_view(bytes).substr(open + 1, close - open - 1);
    for (std::string_view sjis : kShiftJisNames) {
        if (text::EqualNoCase(name, sjis)) {
            return bytes.substr(0, open + 1) + "UTF-8" + bytes.substr(close, end - close) +
                   text::ShiftJisToUtf8(std::string_view(bytes).substr(end));
        }
    }
    return bytes;
}

bool NameIs(const QStringView name, QLatin1String expected) {
    return name.compare(expected, Qt::CaseInsensitive) == 0;
}

}  // namespace

ImportSource ReadOpml(std::string_view bytes) {
    ImportSource source;
    source.format = SourceFormat::kOpml;
    std::string document = AsDeclaredUtf8(WithoutByteOrderMark(bytes));
    QXmlStreamReader reader(QByteArray(document.data(), static_cast<qsizetype>(document.size())));
    // The names of the open outlines: the folders of what is inside them.
    std::vector<std::string> outlines;
    bool root_seen = false;
    int body_depth = 0;
    while (!reader.atEnd()) {
        QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            QStringView name = reader.name();
            if (!root_seen) {
                root_seen = true;
                if (!NameIs(name, QLatin1String("opml"))) {
                    source.error = ReadError::kOtherMarkup;
                    source.detail = "its root element is <" + Utf8(name.toString()) + ">";
                    return source;
                }
                continue;
            }
            if (NameIs(name, QLatin1String("body"))) {
                ++body_depth;
                continue;
            }
            if (body_depth == 0 || !NameIs(name, QLatin1String("outline"))) {
                outlines.push_back({});  // kept in step with the end elements
                continue;
            }
            QXmlStreamAttributes attributes = reader.attributes();
            std::string title = Utf8(attributes.value(QLatin1String("text")).toString());
            if (title.empty()) {
                title = Utf8(attributes.value(QLatin1String("title")).toString());
            }
            std::string address;
            for (const char* key : {"xmlUrl", "htmlUrl", "url"}) {
                address = Utf8(attributes.value(QLatin1String(key)).toString());
                if (!address.empty()) {
                    break;
                }
            }
            if (!address.empty()) {
                ImportEntry entry;
                for (const std::string& folder : outlines) {
                    if (!folder.empty()) {
                        entry.folders.push_back(folder);
                    }
                }
                entry.title = title;
                entry.address = address;
                source.entries.push_back(std::move(entry));
            }
            // Outlines inside this one are in a folder of its name.
            outlines.push_back(title.empty() ? std::string(address) : title);
        } else if (token == QXmlStreamReader::EndElement) {
            if (NameIs(reader.name(), QLatin1String("body")) && body_depth > 0) {
                --body_depth;
            } else if (!outlines.empty()) {
                outlines.pop_back();
            }
        }
    }
    if (reader.hasError()) {
        source.entries.clear();
        source.error = ReadError::kDamagedXml;
        source.line = static_cast<int>(reader.lineNumber());
        source.detail =
            "line " + std::to_string(reader.lineNumber()) + ": " + Utf8(reader.errorString());
    } else if (!root_seen) {
        source.error = ReadError::kDamagedXml;
        source.detail = "it holds no element";
    }
    return source;
}

}  // namespace velnora::imports
