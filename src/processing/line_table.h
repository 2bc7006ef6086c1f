#pragma once

// Lines held in memory for a comparison: one text pool with the start of every line. Next to the
// text as read, each line has the form that the comparison looks at (its attribute values
// hidden); that form lives in a second pool only when it may differ.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velnora::processing {

class LineTable {
  public:
    explicit LineTable(bool keeps_compare_form) : keeps_compare_form_(keeps_compare_form) {}

    std::size_t size() const { return starts_.size(); }
    // Bytes of the pool in use, each line counted with a terminating NUL.
    std::size_t PoolUse() const { return text_.size(); }

    // compare_form has the length of text; it is ignored unless the table keeps the form.
    void Append(std::string_view text, std::string_view compare_form);

    std::string_view Text(std::size_t i) const { return View(text_, i); }
    std::string_view CompareForm(std::size_t i) const {
        return View(keeps_compare_form_ ? compare_ : text_, i);
    }
    std::vector<std::string_view> CompareForms() const;

  private:
    std::string_view View(const std::string& pool, std::size_t i) const;

    bool keeps_compare_form_;
    std::string text_;
    std::string compare_;
    std::vector<std::size_t> starts_;
};

}  // namespace velnora::processing
