#include "imports/tree_export.h"

#include <QXmlStreamWriter>

#include "imports/html_entities.h"
#include "store/settings_files.h"
#include "text/cp932.h"
#include "text/shift_jis.h"

namespace velnora::imports {

namespace {

constexpr std::string_view kBookmarkHead =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
    "<!-- This is an automatically generated file.\n"
    "     It will be read and overwritten.\n"
    "     DO NOT EDIT! -->\n"
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n";

std::string Utf8(std::string_view sjis) {
    return text::ShiftJisToUtf8(sjis);
}

QString QUtf8(std::string_view sjis) {
    std::string utf8 = Utf8(sjis);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string PageAddress(const store::PageTree& tree, store::ItemId page) {
    store::TreeNode node;
    store::PageSettings settings;
    if (tree.BuildTreeNode(page, node) == 0) {
        store::ReadPageSettings(node.path, settings);
    }
    return settings.url;
}

class HtmlWriter {
  public:
    explicit HtmlWriter(const store::PageTree& tree) : tree_(tree) {}

    std::string Write(store::ItemId item) {
        const store::PageTree::Node* node = tree_.Find(item);
        std::string title = EscapeMarkup(Utf8(node->name));
        out_ += kBookmarkHead;
        out_ += "<TITLE>" + title + "</TITLE>\n<H1>" + title + "</H1>\n\n<DL><p>\n";
        if (node->kind == store::KIND_PAGE) {
            Entry(item, 1);
        } else {
            Children(item, 1);
        }
        out_ += "</DL><p>\n";
        return std::move(out_);
    }

  private:
    void Children(store::ItemId parent, int depth) {
        for (store::ItemId child = tree_.FirstChild(parent); child != 0;
             child = tree_.NextSibling(child)) {
            Entry(child, depth);
        }
    }

    void Entry(store::ItemId item, int depth) {
        const store::PageTree::Node* node = tree_.Find(item);
        std::string indent(static_cast<std::size_t>(depth) * 4, ' ');
        std::string name = EscapeMarkup(Utf8(node->name));
        if (node->kind == store::KIND_FOLDER) {
            out_ += indent + "<DT><H3>" + name + "</H3>\n" + indent + "<DL><p>\n";
            Children(item, depth + 1);
            out_ += indent + "</DL><p>\n";
        } else {
            out_ += indent + "<DT><A HREF=\"" + EscapeMarkup(Utf8(PageAddress(tree_, item))) +
                    "\">" + name + "</A>\n";
        }
    }

    const store::PageTree& tree_;
    std::string out_;
};

void OpmlEntry(const store::PageTree& tree, store::ItemId item, QXmlStreamWriter& xml) {
    const store::PageTree::Node* node = tree.Find(item);
    xml.writeStartElement(QStringLiteral("outline"));
    xml.writeAttribute(QStringLiteral("text"), QUtf8(node->name));
    if (node->kind == store::KIND_FOLDER) {
        for (store::ItemId child = tree.FirstChild(item); child != 0;
             child = tree.NextSibling(child)) {
            OpmlEntry(tree, child, xml);
        }
    } else {
        QString address = QUtf8(PageAddress(tree, item));
        xml.writeAttribute(QStringLiteral("type"), QStringLiteral("link"));
        xml.writeAttribute(QStringLiteral("url"), address);
        xml.writeAttribute(QStringLiteral("htmlUrl"), address);
    }
    xml.writeEndElement();
}

std::string Opml(const store::PageTree& tree, store::ItemId item) {
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("opml"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("2.0"));
    xml.writeStartElement(QStringLiteral("head"));
    xml.writeTextElement(QStringLiteral("title"), QUtf8(tree.Find(item)->name));
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("body"));
    if (tree.Find(item)->kind == store::KIND_PAGE) {
        OpmlEntry(tree, item, xml);
    } else {
        for (store::ItemId child = tree.FirstChild(item); child != 0;
             child = tree.NextSibling(child)) {
            OpmlEntry(tree, child, xml);
        }
    }
    xml.writeEndDocument();
    return bytes.toStdString();
}

}  // namespace

ExportFormat ExportFormatFor(std::string_view file_name) {
    constexpr std::string_view kOpmlExtension = ".opml";
    return file_name.size() >= kOpmlExtension.size() &&
                   text::EqualNoCase(file_name.substr(file_name.size() - kOpmlExtension.size()),
                                     kOpmlExtension)
               ? ExportFormat::kOpml
               : ExportFormat::kBookmarkHtml;
}

std::string ExportTree(const store::PageTree& tree, store::ItemId item, ExportFormat format) {
    if (tree.Find(item) == nullptr) {
        return {};
    }
    return format == ExportFormat::kOpml ? Opml(tree, item) : HtmlWriter(tree).Write(item);
}

}  // namespace velnora::imports
