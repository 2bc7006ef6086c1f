#pragma once

// The two dialogs of the search menu, modal to the main window. They hold no search of their
// own: they hand the user's text to the window's search commands and show what they say.

#include <QDialog>
#include <functional>
#include <string>

class QLineEdit;
class QPushButton;

namespace velnora::window {

// "検索": the find string and the buttons "検索" (from the top, with the text typed), "次を
// 検索" (on from the selection, with the kept text) and "ｷｬﾝｾﾙ". A search that succeeds closes the
// dialog; one that fails leaves it open without a message.
class FindDialog : public QDialog {
    Q_OBJECT

  public:
    // `find` gets the typed text (Shift_JIS) and says whether it was found; `find_next` searches
    // with the kept text.
    FindDialog(QWidget* parent, const std::string& kept, std::function<bool(std::string)> find,
               std::function<bool()> find_next);

  private:
    QLineEdit* edit_;
};

// "過去ログ検索": the search string and the buttons "検索", "中止" and "終了". While a search runs
// only "中止" can be pressed, and the dialog cannot be closed.
class PastLogSearchDialog : public QDialog {
    Q_OBJECT

  public:
    // `start` gets the typed text (Shift_JIS) and says whether a search began; `stop` asks the
    // running search to stop.
    PastLogSearchDialog(QWidget* parent, const std::string& kept,
                        std::function<bool(std::string)> start, std::function<void()> stop);

    // The running search has ended (finished or stopped).
    void SearchEnded();
    bool searching() const { return searching_; }

    void reject() override;

  private:
    void SetSearching(bool searching);

    QLineEdit* edit_;
    QPushButton* search_;
    QPushButton* stop_;
    QPushButton* close_;
    bool searching_ = false;
};

}  // namespace velnora::window
