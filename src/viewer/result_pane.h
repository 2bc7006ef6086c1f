#pragma once

// ResultPane: the result pane widget (placeholder until the pane is built).

#include <QTextEdit>

namespace velnora::viewer {

class ResultPane : public QTextEdit {
    Q_OBJECT

  public:
    explicit ResultPane(QWidget* parent = nullptr);
};

}  // namespace velnora::viewer
