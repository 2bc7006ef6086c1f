#include "window/link_drops.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QWidget>

#include "imports/item_names.h"
#include "imports/link_files.h"
#include "window/import_texts.h"
#include "window/page_tree_model.h"

namespace velnora::window {

namespace {

// Room kept in a dropped page's name for the number that makes it unique ("(999)").
constexpr std::size_t kRoomForNumber = 5;

}  // namespace

imports::DropContent DropContentOf(const QMimeData& data) {
    imports::DropContent content;
    for (std::string_view format : imports::kDropFormats) {
        QString mime = QString::fromLatin1(format.data(), static_cast<qsizetype>(format.size()));
        if (data.hasFormat(mime)) {
            content.formats.emplace_back(std::string(format), data.data(mime).toStdString());
        }
    }
    content.read_link_file = [](std::string_view path) { return imports::ReadLinkFile(path); };
    return content;
}

LinkDrops::LinkDrops(QWidget* window, WindowServices& services,
                     std::function<void(std::optional<std::string>, std::string)> new_page,
                     std::function<std::string()> target_directory)
    : QObject(window),
      window_(window),
      services_(services),
      new_page_(std::move(new_page)),
      target_directory_(std::move(target_directory)) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool LinkDrops::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_) {
        return false;
    }
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (PageTreeModel::DraggedItem(drop->mimeData()) != 0) {
                drop->ignore();  // a tree item is moved in the tree only
                return true;
            }
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            if (event->type() == QEvent::Drop) {
                Take(imports::ReadDrop(DropContentOf(*drop->mimeData())));
            }
            return true;
        }
        default:
            return false;
    }
}

void LinkDrops::Take(const imports::DroppedLink& link) {
    switch (link.result) {
        case imports::DropResult::kNothing:
            return;
        case imports::DropResult::kTooLong:
            services_.SetStatusText(import_texts::kDropTooLong);
            return;
        case imports::DropResult::kLink:
            break;
    }
    if (services_.CheckRunning()) {
        return;
    }
    // The page sheet is a modal dialog: it opens once the drop has ended.
    QTimer::singleShot(0, window_, [this, link] {
        if (services_.CheckRunning()) {
            return;
        }
        std::optional<std::string> name;
        if (link.title) {
            imports::NameRoom room = imports::PageNameRoom(target_directory_());
            room.sjis = room.sjis > kRoomForNumber ? room.sjis - kRoomForNumber : 0;
            room.disk -= kRoomForNumber;
            std::string made = imports::ItemNameFromTitle(*link.title, link.address, "", room);
            if (!made.empty()) {
                name = std::move(made);
            }
        }
        new_page_(std::move(name), link.address);
    });
}

}  // namespace velnora::window
