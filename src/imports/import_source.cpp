#include "imports/import_source.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "imports/link_files.h"
#include "imports/text_bytes.h"
#include "imports/web_address.h"
#include "text/shift_jis.h"

namespace velnora::imports {

namespace {

constexpr std::string_view kBookmarkDoctype = "<!DOCTYPE NETSCAPE-Bookmark-file-1>";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

std::string_view SkipBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

// Whether the first element of an XML text is <opml>, after the declaration, comments and
// blanks.
bool HasOpmlRoot(std::string_view text) {
    for (;;) {
        text = SkipBlanks(text);
        std::string_view end;
        if (text.starts_with("<?")) {
            end = "?>";
        } else if (text.starts_with("<!--")) {
            end = "-->";
        } else if (text.starts_with("<!")) {
            end = ">";
        } else {
            break;
        }
        std::size_t found = text.find(end);
        if (found == std::string_view::npos) {
            return false;
        }
        text.remove_prefix(found + end.size());
    }
    if (!text.starts_with('<') || text.size() < 6 ||
        !text::EqualNoCase(text.substr(1, 4), "opml")) {
        return false;
    }
    char after = text[5];
    return after == '>' || after == '/' || IsBlank(after);
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

void WalkLinkFolder(const QString& directory, std::vector<std::string>& folders,
                    ImportSource& source) {
    // In the order the file system gives; links to directories are not followed, so that a
    // link back up cannot make the walk endless.
    QDirIterator entries(directory, QDir::AllEntries | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        QFileInfo info = entries.fileInfo();
        std::string name = Utf8(info.fileName());
        if (info.isDir() && !info.isSymLink()) {
            folders.push_back(name);
            ImportEntry folder;
            folder.folders = folders;
            folder.folder_only = true;
            source.entries.push_back(std::move(folder));
            WalkLinkFolder(info.filePath(), folders, source);
            folders.pop_back();
        } else if (info.isFile() && IsLinkFileName(name)) {
            ImportEntry entry;
            entry.folders = folders;
            entry.title = LinkFileTitle(name);
            entry.address = ReadLinkFile(Utf8(info.filePath())).value_or("");
            source.entries.push_back(std::move(entry));
        }
    }
}

}  // namespace

SourceFormat SniffFormat(std::string_view bytes, ReadError& error) {
    error = ReadError::kNone;
    std::string_view text = SkipBlanks(bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes);
    if (text.size() >= kBookmarkDoctype.size() &&
        text::EqualNoCase(text.substr(0, kBookmarkDoctype.size()), kBookmarkDoctype)) {
        return SourceFormat::kBookmarkHtml;
    }
    if (HasOpmlRoot(text)) {
        return SourceFormat::kOpml;
    }
    if (bytes.find('\0') != std::string_view::npos) {
        error = ReadError::kBinary;
    } else if (text.starts_with('<')) {
        error = ReadError::kOtherMarkup;
    }
    return SourceFormat::kAddressList;
}

ImportSource ReadAddressList(std::string_view bytes) {
    ImportSource source;
    source.format = SourceFormat::kAddressList;
    std::string text = TextAsUtf8(bytes);
    std::string_view rest = text;
    while (!rest.empty()) {
        std::size_t end = rest.find_first_of("\r\n");
        std::string_view line = TrimBlanks(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (line.empty()) {
            continue;
        }
        if (!IsWebAddress(line)) {
            ++source.junk_lines;
            continue;
        }
        ImportEntry entry;
        entry.address = std::string(line);
        source.entries.push_back(std::move(entry));
    }
    return source;
}

ImportSource ReadLinkFolder(std::string_view disk_path) {
    ImportSource source;
    source.format = SourceFormat::kLinkFolder;
    QString directory = FromUtf8(disk_path);
    if (!QFileInfo(directory).isReadable()) {
        source.error = ReadError::kUnreadable;
        source.detail = "the directory cannot be read";
        return source;
    }
    std::vector<std::string> folders;
    WalkLinkFolder(directory, folders, source);
    return source;
}

ImportSource ReadImportBytes(std::string_view raw) {
    // A UTF-16 text is read as its UTF-8 form; its zero bytes are no sign of a binary file.
    std::string converted;
    std::string_view bytes = raw;
    if (raw.starts_with("\xFF\xFE") || raw.starts_with("\xFE\xFF")) {
        converted = WithoutByteOrderMark(raw);
        bytes = converted;
    }
    ReadError error = ReadError::kNone;
    SourceFormat format = SniffFormat(bytes, error);
    if (error != ReadError::kNone) {
        ImportSource refused;
        refused.error = error;
        return refused;
    }
    switch (format) {
        case SourceFormat::kBookmarkHtml:
            return ReadBookmarkHtml(bytes);
        case SourceFormat::kOpml:
            return ReadOpml(bytes);
        case SourceFormat::kAddressList:
        case SourceFormat::kLinkFolder:
            break;
    }
    return ReadAddressList(bytes);
}

ImportSource ReadImportPath(std::string_view disk_path) {
    QFileInfo info(FromUtf8(disk_path));
    if (info.isDir()) {
        return ReadLinkFolder(disk_path);
    }
    ImportSource source;
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly)) {
        source.error = ReadError::kUnreadable;
        source.detail = Utf8(file.errorString());
        return source;
    }
    QByteArray bytes = file.read(static_cast<qint64>(kMaxImportFileBytes) + 1);
    if (bytes.size() > static_cast<qsizetype>(kMaxImportFileBytes)) {
        source.error = ReadError::kTooLarge;
        return source;
    }
    if (file.error() != QFileDevice::NoError) {
        source.error = ReadError::kUnreadable;
        source.detail = Utf8(file.errorString());
        return source;
    }
    return ReadImportBytes(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

std::string SourceBaseName(std::string_view disk_path) {
    std::string_view path = disk_path;
    while (path.size() > 1 && path.back() == '/') {
        path.remove_suffix(1);
    }
    QFileInfo info(FromUtf8(path));
    if (info.isDir()) {
        return Utf8(info.fileName());
    }
    // "bookmarks.html" gives "bookmarks", "list.2024.txt" gives "list.2024".
    QString name = info.fileName();
    qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return Utf8(dot > 0 ? name.left(dot) : name);
}

}  // namespace velnora::imports
