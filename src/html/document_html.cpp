#include "html/document_html.h"

#include <algorithm>

#include "html/escape.h"
#include "results/link_targets.h"

namespace velnora::html {

namespace {

class DocumentWriter {
  public:
    DocumentWriter(std::string& out, const results::ResultDocument& document, ImageForm images)
        : out_(out), document_(document), images_(images) {}

    void Write();

  private:
    // The characters [from, to), with the images that lie there.
    void WriteRange(std::size_t from, std::size_t to);
    void WriteImage(const results::ImageRecord& image);

    std::string& out_;
    const results::ResultDocument& document_;
    ImageForm images_;
};

void DocumentWriter::Write() {
    std::size_t position = 0;
    for (const results::LinkRecord& link : document_.Links()) {
        WriteRange(position, link.start);
        std::size_t end = link.start + link.length;
        if (!results::IsSettingsTarget(link.target)) {
            bool openable = results::IsOpenableTarget(link.target);
            if (openable) {
                out_.append("<a href=\"");
                AppendEscapedAttribute(out_, link.target);
                out_.append("\">");
            }
            WriteRange(link.start, end);
            if (openable) {
                out_.append("</a>");
            }
        }
        position = end;
    }
    WriteRange(position, document_.Length());
}

void DocumentWriter::WriteRange(std::size_t from, std::size_t to) {
    if (from >= to) {
        return;
    }
    if (images_ == ImageForm::kAsImages) {
        const std::vector<results::ImageRecord>& images = document_.Images();
        auto image = std::lower_bound(images.begin(), images.end(), from,
                                      [](const results::ImageRecord& record, std::size_t value) {
                                          return record.start < value;
                                      });
        for (; image != images.end() && image->start + image->length <= to; ++image) {
            AppendEscapedText(out_, document_.TextRange(from, image->start));
            WriteImage(*image);
            from = image->start + image->length;
        }
    }
    AppendEscapedText(out_, document_.TextRange(from, to));
}

void DocumentWriter::WriteImage(const results::ImageRecord& image) {
    if (!results::IsOpenableTarget(image.source)) {
        AppendEscapedText(out_, document_.TextRange(image.start, image.start + image.length));
        return;
    }
    out_.append("<img src=\"");
    AppendEscapedAttribute(out_, image.source);
    out_.append("\"");
    if (image.alt) {
        out_.append(" alt=\"");
        AppendEscapedAttribute(out_, *image.alt);
        out_.append("\"");
    }
    out_.append(">");
}

}  // namespace

void AppendDocumentHtml(std::string& out, const results::ResultDocument& document,
                        ImageForm images) {
    DocumentWriter(out, document, images).Write();
}

}  // namespace velnora::html
