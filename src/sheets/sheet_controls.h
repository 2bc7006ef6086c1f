#pragma once

// The small pieces that every property sheet is built from: fields that hold Shift_JIS text
// within a character limit and a byte buffer, a number field with an up-down range and a rule
// for values outside it, and the sheet itself (pages on tabs, OK and Cancel).

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QValidator>
#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "ini/keys.h"

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace velnora::sheets {

// The Shift_JIS form of a widget text; a character that has no Shift_JIS form counts in
// *unmapped.
std::string ToSjisCounting(const QString& text, int* unmapped);

// Accepts a text whose Shift_JIS form fits in a buffer of the given size (at most size - 1
// bytes) and that holds only characters Shift_JIS can store, so that what the field shows is
// exactly what is kept. The replacement character, which stands for stored bytes that have no
// Unicode form, is let through so that such a text stays editable.
class SjisBufferValidator : public QValidator {
  public:
    SjisBufferValidator(std::size_t buffer_size, QObject* parent);
    State validate(QString& input, int& pos) const override;

  private:
    std::size_t buffer_size_;
};

// A one-line field of at most max_chars characters whose text fits a buffer of buffer_size
// bytes.
class TextField : public QLineEdit {
    Q_OBJECT
  public:
    TextField(QWidget* parent, const char* object_name, int max_chars, std::size_t buffer_size);
    // The field of a settings key (of number `number` of numbered keys), named after it.
    TextField(QWidget* parent, const ini::TextKey& key, int number = ini::kSingleKey);

    // Shows a stored text; a text longer than the limits is cut at a character.
    void SetSjis(std::string_view text);
    // The text as Shift_JIS; while it is as SetSjis showed it, the stored bytes themselves, so
    // that bytes without a Unicode form survive an untouched field.
    std::string Sjis() const;

  private:
    std::size_t buffer_size_;
    std::string stored_;
    QString shown_;
};

// A multi-line field. Its stored form ends lines in CR LF, as the settings records hold them,
// and the limits count that form: a line break is two characters and two bytes. Input beyond
// the limits is cut from what was just typed or pasted.
class TextBox : public QPlainTextEdit {
    Q_OBJECT
  public:
    // The field of a settings key, named after it.
    TextBox(QWidget* parent, const ini::TextKey& key);

    // As TextField's.
    void SetSjis(std::string_view text);
    std::string Sjis() const;

  private:
    void TrimToLimits();
    bool Fits() const;

    int max_chars_;
    std::size_t buffer_size_;
    bool trimming_ = false;
    std::string stored_;
    QString shown_;
};

// The field of a ranged number key, named after it, with up-down arrows. The field holds as
// many digits as the widest value of the key's range; the arrows move within the range. A typed
// value outside the range stays visible until the field is left (or Enter is pressed), and is
// then replaced by the key's default; an empty field reads as 0 by the same rule.
class NumberField : public QSpinBox {
    Q_OBJECT
  public:
    NumberField(QWidget* parent, const ini::NumberKey& key);

    // Shows a value; one outside the range shows as the fallback.
    void SetNumber(int value);
    // The value after the range rule has been applied to what is typed.
    int Number();
    // The text part, whose every text change counts as an edit.
    QLineEdit* editor() const { return lineEdit(); }

  protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

  private:
    ini::NumberKey key_;
};

// A check box; `checked` from a settings value (non-zero is checked).
QCheckBox* NewCheckBox(QWidget* parent, const char* object_name, std::string_view text,
                       int checked);
inline int CheckValue(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

// A drop-down list of the texts, in order, showing entry `index` (none when it is not one of
// them).
QComboBox* NewChoiceList(QWidget* parent, const char* object_name,
                         std::initializer_list<std::string_view> texts, int index);
// The chosen entry, or `kept` when none is chosen (a stored value that is not in the list
// stays as it was).
int ChoiceValue(const QComboBox* list, int kept);

// A label with Shift_JIS text.
QLabel* NewLabel(QWidget* parent, std::string_view text, const char* object_name = nullptr);

// A page's layout: a column with the sheets' margins and spacing.
QVBoxLayout* NewPageLayout(QWidget* page);

// The fields of ten numbered keys (the NG words, the highlight keywords), filled with the values,
// in a numbered column added to the page's layout.
void AddWordColumn(QWidget* page, QVBoxLayout* layout, const ini::TextKey& key,
                   const std::array<std::string, 10>& values, std::array<TextField*, 10>& fields);

// A modal sheet: pages on tabs, the first shown first, and OK (the default button) and Cancel;
// no Apply button and no context-help button. It opens with the focus in the first field of the
// first page; Tab goes through the fields of the page shown, then OK and Cancel, then the tabs.
class PropertySheet : public QDialog {
    Q_OBJECT
  public:
    PropertySheet(QWidget* owner, const char* object_name, std::string_view caption);

    void AddPage(QWidget* page, std::string_view title);
    QTabWidget* pages() const { return pages_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // The pages' fields before OK and Cancel in the Tab order.
    void ArrangeTabOrder();
    // The first widget of the shown page that Tab reaches.
    QWidget* FirstField() const;

    QTabWidget* pages_;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool arranged_ = false;
};

}  // namespace velnora::sheets
