#include "viewer/result_pane.h"

namespace velnora::viewer {

ResultPane::ResultPane(QWidget* parent) : QTextEdit(parent) {
    setReadOnly(true);
}

}  // namespace velnora::viewer
