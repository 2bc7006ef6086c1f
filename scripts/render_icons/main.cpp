// Renders the program's SVG icons to PNG contact sheets for review.
//
//   render_icons <velnora.qrc> <output directory>
//
// Every file the resource list names is checked against the SVG subset the program's renderer
// draws (no styles, filters, masks, text or references; a 24 x 24 view box) and rendered with
// QSvgRenderer. Writes:
//   contact.png  one row per icon: 16, 24 and 48 px and a 16 px enlargement (x4), on a light
//                and on a dark background; contact-toolbar.png and contact-tree.png the same
//                in two parts (toolbar; tree and application icon);
//   strips.png   the toolbar (enabled, with the stop button greyed as at start-up) and the
//                page tree as the window shows them, light and dark, and the application icon
//                at 16 to 256 px.
// Exits with 1 when a file is missing, breaks the subset or makes the renderer warn.

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <cstdio>
#include <map>
#include <utility>
#include <vector>

namespace {

const QColor kLightBackground(0xF4, 0xF5, 0xF7);
const QColor kDarkBackground(0x2A, 0x2E, 0x33);
const QColor kLightText(0x20, 0x24, 0x28);
const QColor kDarkText(0xE4, 0xE7, 0xEA);
const QColor kLightSelection(0xCC, 0xE0, 0xF7);
const QColor kDarkSelection(0x2F, 0x4F, 0x78);

// Toolbar images 0-15 and tree images 0-7 in the order the window loads them.
const QStringList kToolbarIcons = {"check",      "abort",       "reload",       "reload-all",
                                   "show-text",  "topmost-off", "topmost-on",   "settings",
                                   "add-folder", "add-page",    "delete",       "find",
                                   "find-next",  "keyword",     "next-heading", "previous-heading"};
const QStringList kTreeIcons = {"tree-root",          "tree-folder",          "tree-folder-open",
                                "tree-folder-off",    "tree-folder-off-open", "tree-page",
                                "tree-page-selected", "tree-page-off"};
const QString kAppIcon = "velnora";

int g_renderer_warnings = 0;

void CountWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtDebugMsg && type != QtInfoMsg)
        ++g_renderer_warnings;
    std::fprintf(stderr, "qt: %s\n", qPrintable(message));
}

// The file names of the resource list, in order, relative to its directory.
QStringList ReadResourceList(const QString& path) {
    QStringList files;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return files;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"file")
            files << xml.readElementText().trimmed();
    }
    return files;
}

// Problems of one SVG file with respect to the subset the program's renderer draws.
QStringList CheckSubset(const QString& path) {
    static const QStringList kElements = {"svg",    "title",   "desc", "g",        "path",   "rect",
                                          "circle", "ellipse", "line", "polyline", "polygon"};
    static const QStringList kForbiddenAttributes = {"style", "class",     "filter",
                                                     "mask",  "clip-path", "href"};
    QStringList problems;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {"cannot be read"};
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.name().toString();
        if (!kElements.contains(name))
            problems << "element <" + name + ">";
        for (const QXmlStreamAttribute& attribute : xml.attributes()) {
            if (kForbiddenAttributes.contains(attribute.name().toString()))
                problems << "attribute " + attribute.qualifiedName().toString() + " on <" + name +
                                ">";
        }
        if (name == u"svg" && xml.attributes().value("viewBox") != u"0 0 24 24")
            problems << "view box is not 0 0 24 24";
    }
    if (xml.hasError())
        problems << "XML: " + xml.errorString();
    return problems;
}

QImage Render(QSvgRenderer& renderer, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, size, size));
    return image;
}

QImage Enlarged(const QImage& image, int factor) {
    return image.scaled(image.width() * factor, image.height() * factor, Qt::IgnoreAspectRatio,
                        Qt::FastTransformation);
}

struct Icon {
    QString name;
    QString path;
};

class Sheets {
  public:
    explicit Sheets(std::map<QString, Icon> icons) : icons_(std::move(icons)) {}

    QImage Contact(const QStringList& order) {
        const int row = 72, name_width = 150;
        const int panel = 16 + 24 + 48 + 64 + 5 * 12;
        QImage sheet(name_width + 2 * panel, 28 + row * order.size(), QImage::Format_ARGB32);
        sheet.fill(kLightBackground);
        QPainter painter(&sheet);
        painter.fillRect(name_width + panel, 0, panel, sheet.height(), kDarkBackground);
        painter.setFont(QFont("DejaVu Sans", 9));
        painter.setPen(kLightText);
        painter.drawText(name_width + 12, 18, "light: 16, 24, 48, 16 x4");
        painter.setPen(kDarkText);
        painter.drawText(name_width + panel + 12, 18, "dark: 16, 24, 48, 16 x4");
        for (int i = 0; i < order.size(); ++i) {
            QSvgRenderer renderer(icons_.at(order[i]).path);
            const int top = 28 + i * row;
            painter.setPen(kLightText);
            painter.drawText(QRect(8, top, name_width - 8, row), Qt::AlignVCenter,
                             QString("%1 %2").arg(i).arg(order[i]));
            for (int side = 0; side < 2; ++side) {
                int x = name_width + side * panel + 12;
                for (int size : {16, 24, 48}) {
                    painter.drawImage(x, top + (row - size) / 2, Render(renderer, size));
                    x += size + 12;
                }
                painter.drawImage(x, top + (row - 64) / 2, Enlarged(Render(renderer, 16), 4));
            }
        }
        return sheet;
    }

    QImage Strips() {
        QImage sheet(1180, 640, QImage::Format_ARGB32);
        sheet.fill(kLightBackground);
        QPainter painter(&sheet);
        painter.fillRect(0, 72, 900, 72, kDarkBackground);
        painter.fillRect(450, 144, 450, 300, kDarkBackground);
        painter.fillRect(450, 444, 450, 196, kDarkBackground);
        painter.fillRect(900, 320, 280, 320, kDarkBackground);
        Toolbar(painter, 8, 8, 16, false, false);
        Toolbar(painter, 8, 36, 24, false, true);
        Toolbar(painter, 8, 80, 16, true, false);
        Toolbar(painter, 8, 108, 24, true, true);
        Tree(painter, 12, 156, false);
        Tree(painter, 462, 156, true);
        QSvgRenderer renderer(icons_.at(kAppIcon).path);
        for (int side = 0; side < 2; ++side) {
            int x = 12 + side * 450;
            for (int size : {16, 24, 32, 48, 64, 128}) {
                painter.drawImage(x, 620 - size, Render(renderer, size));
                x += size + 10;
            }
        }
        painter.drawImage(912, 32, Render(renderer, 256));
        painter.drawImage(912, 352, Render(renderer, 256));
        return sheet;
    }

  private:
    // One toolbar row as the window lays it out: four labelled buttons, separators after the
    // sixth and the eleventh button, the stop button greyed as it is until a check runs, the
    // pin loose or pressed in.
    void Toolbar(QPainter& painter, int x, int y, int size, bool dark, bool topmost) {
        static const QStringList kLabels = {"チェック", "中止", "ﾘﾛｰﾄﾞ", "全ﾘﾛｰﾄﾞ"};
        const QColor text = dark ? kDarkText : kLightText;
        painter.setPen(text);
        painter.setFont(QFont("Noto Sans CJK JP", 9));
        int left = x;
        int image = 0;
        for (int button = 0; button < 17; ++button) {
            if (button == 6 || button == 11) {
                painter.fillRect(left + 2, y, 1, size + 4, text);
                left += 6;
                continue;
            }
            const QString& name = kToolbarIcons[image == 5 && topmost ? 6 : image];
            const QIcon icon(icons_.at(name).path);
            const QIcon::Mode mode = image == 1 ? QIcon::Disabled : QIcon::Normal;
            painter.drawPixmap(left, y + 2, icon.pixmap(QSize(size, size), 1.0, mode));
            left += size + 4;
            if (image < 4) {
                painter.drawText(QRect(left, y, 60, size + 4), Qt::AlignVCenter, kLabels[image]);
                left += painter.fontMetrics().horizontalAdvance(kLabels[image]) + 8;
            }
            image = image == 5 ? 7 : image + 1;  // image 6 is the pressed state of the pin button
        }
    }

    // A small page tree: the root, a folder open and selected, pages (one updated in bold), a
    // folder and a page with automatic checks off, and the selected images of each kind.
    void Tree(QPainter& painter, int x, int y, bool dark) {
        struct Row {
            int depth;
            const char* icon;
            const char* text;
            bool bold;
            bool selected;
        };
        static const Row kRows[] = {
            {0, "tree-root", "data", false, false},
            {1, "tree-folder-open", "ニュース (selected)", true, true},
            {2, "tree-page", "天気予報", false, false},
            {2, "tree-page", "技術ブログ (updated)", true, false},
            {2, "tree-page-off", "古い日記 (auto check off)", false, false},
            {1, "tree-folder", "趣味", false, false},
            {1, "tree-folder-off", "休止中 (auto check off)", false, false},
            {1, "tree-folder-off-open", "休止中 (off, selected)", false, true},
            {2, "tree-page-selected", "お知らせ (page selected)", false, true},
            {1, "tree-folder", "仕事", false, false},
            {2, "tree-page", "リリース情報", false, false},
        };
        const QColor text = dark ? kDarkText : kLightText;
        int top = y;
        for (const Row& row : kRows) {
            const int left = x + row.depth * 20;
            QFont font("Noto Sans CJK JP", 9);
            font.setBold(row.bold);
            painter.setFont(font);
            if (row.selected) {
                const int width =
                    painter.fontMetrics().horizontalAdvance(QString::fromUtf8(row.text));
                painter.fillRect(left + 19, top, width + 6, 20,
                                 dark ? kDarkSelection : kLightSelection);
            }
            QSvgRenderer renderer(icons_.at(row.icon).path);
            painter.drawImage(left, top + 2, Render(renderer, 16));
            painter.setPen(text);
            painter.drawText(QRect(left + 22, top, 400, 20), Qt::AlignVCenter,
                             QString::fromUtf8(row.text));
            top += 22;
        }
        // The tree images again at 24 px, in image-list order.
        int left = x;
        for (const QString& name : kTreeIcons) {
            QSvgRenderer renderer(icons_.at(name).path);
            painter.drawImage(left, top + 8, Render(renderer, 24));
            left += 32;
        }
    }

    std::map<QString, Icon> icons_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: render_icons <velnora.qrc> <output directory>\n");
        return 2;
    }
    const QString qrc = QString::fromLocal8Bit(argv[1]);
    const QDir out(QString::fromLocal8Bit(argv[2]));
    const QDir base = QFileInfo(qrc).absoluteDir();

    bool ok = true;
    std::map<QString, Icon> icons;
    QStringList order;
    for (const QString& file : ReadResourceList(qrc)) {
        if (!file.startsWith("icons/") || !file.endsWith(".svg"))
            continue;
        const QString name = QFileInfo(file).completeBaseName();
        icons[name] = {name, base.filePath(file)};
        order << name;
    }
    QStringList expected = kToolbarIcons + kTreeIcons;
    expected << kAppIcon;
    for (const QString& name : expected) {
        if (!icons.count(name)) {
            std::fprintf(stderr, "%s.svg: not listed in %s\n", qPrintable(name), argv[1]);
            ok = false;
        }
    }
    for (const QString& file : QDir(base.filePath("icons")).entryList({"*.svg"}, QDir::Files)) {
        if (!icons.count(QFileInfo(file).completeBaseName())) {
            std::fprintf(stderr, "icons/%s: not listed in the resource file\n", qPrintable(file));
            ok = false;
        }
    }
    if (!ok)
        return 1;

    qInstallMessageHandler(CountWarnings);
    for (const QString& name : order) {
        const Icon& icon = icons[name];
        for (const QString& problem : CheckSubset(icon.path)) {
            std::fprintf(stderr, "%s.svg: %s\n", qPrintable(name), qPrintable(problem));
            ok = false;
        }
        const int before = g_renderer_warnings;
        QSvgRenderer renderer(icon.path);
        Render(renderer, 24);
        if (!renderer.isValid() || g_renderer_warnings != before) {
            std::fprintf(stderr, "%s.svg: the renderer refused or warned\n", qPrintable(name));
            ok = false;
        }
    }

    Sheets sheets(icons);
    QStringList tree_and_app = kTreeIcons;
    tree_and_app << kAppIcon;
    const std::vector<std::pair<QString, QImage>> outputs = {
        {"contact.png", sheets.Contact(expected)},
        {"contact-toolbar.png", sheets.Contact(kToolbarIcons)},
        {"contact-tree.png", sheets.Contact(tree_and_app)},
        {"strips.png", sheets.Strips()}};
    for (const auto& [file, image] : outputs) {
        if (!image.save(out.filePath(file))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(out.filePath(file)));
            return 1;
        }
        std::printf("%s\n", qPrintable(out.filePath(file)));
    }
    return ok ? 0 : 1;
}
