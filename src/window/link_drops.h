#pragma once

// The window as a drop target for links: anything dragged over it is accepted with the copy
// effect (a tree item being moved is the tree's own); a dropped link, address or link file
// (imports/dropped_link.h) becomes a new page once the drop has ended: the page sheet opens
// with the address and the title as the suggested name. While a check runs a drop makes
// nothing; a text too long for an address is refused with a status text.

#include <QObject>
#include <functional>
#include <optional>
#include <string>

#include "imports/dropped_link.h"
#include "window/window_services.h"

class QMimeData;

namespace velnora::window {

class LinkDrops : public QObject {
  public:
    // new_page: NewPage with the suggested name (nothing: the default) and the address, both
    // Shift_JIS. target_directory: where a new page would go, for the room of its name.
    LinkDrops(QWidget* window, WindowServices& services,
              std::function<void(std::optional<std::string>, std::string)> new_page,
              std::function<std::string()> target_directory);

    // The drop as the window takes it (for drops that reach it by another way).
    void Take(const imports::DroppedLink& link);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* window_;
    WindowServices& services_;
    std::function<void(std::optional<std::string>, std::string)> new_page_;
    std::function<std::string()> target_directory_;
};

// What a drop's data offers, in the formats the drop reads.
imports::DropContent DropContentOf(const QMimeData& data);

}  // namespace velnora::window
