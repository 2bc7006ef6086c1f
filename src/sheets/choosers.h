#pragma once

// The font, colour and file choosers of the options sheet, behind an interface so that tests
// answer them without showing a dialog. Texts are Shift_JIS.

#include <QColor>
#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "settings/app_settings.h"

namespace velnora::sheets {

struct FontChoice {
    std::string face_name;  // Shift_JIS
    int point = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    // The colour chosen with the font, where the platform's font chooser offers one.
    std::optional<settings::ColorRef> color;
};

class Choosers {
  public:
    virtual ~Choosers() = default;

    // The chosen font, or nothing when the chooser was cancelled.
    virtual std::optional<FontChoice> ChooseFont(QWidget* owner, const FontChoice& initial) = 0;

    // The chosen colour, starting at `initial`, or nothing when cancelled. The 16 custom colours
    // are offered in the chooser and take what the user made of them when a colour is chosen.
    virtual std::optional<settings::ColorRef> ChooseColor(
        QWidget* owner, std::string_view title, settings::ColorRef initial,
        std::array<settings::ColorRef, settings::kCustomColorCount>& custom_colors) = 0;

    // An existing file chosen by the user, with one filter (its name and pattern, as
    // "wavファイル" and "*.wav") and all files besides; nothing when cancelled, or when the
    // path does not fit the program's 260-byte file names.
    virtual std::optional<std::string> ChooseFile(QWidget* owner, std::string_view filter_name,
                                                  std::string_view pattern) = 0;

    // A program chosen by the user: the chooser lists directories and the files the user may run
    // (by their permission, whatever their names), starting where `current` lies when it names
    // an existing file. Nothing when cancelled or when the path does not fit.
    virtual std::optional<std::string> ChooseProgram(QWidget* owner, std::string_view current) = 0;
};

// The choosers as Qt's dialogs.
class DialogChoosers final : public Choosers {
  public:
    std::optional<FontChoice> ChooseFont(QWidget* owner, const FontChoice& initial) override;
    std::optional<settings::ColorRef> ChooseColor(
        QWidget* owner, std::string_view title, settings::ColorRef initial,
        std::array<settings::ColorRef, settings::kCustomColorCount>& custom_colors) override;
    std::optional<std::string> ChooseFile(QWidget* owner, std::string_view filter_name,
                                          std::string_view pattern) override;
    std::optional<std::string> ChooseProgram(QWidget* owner, std::string_view current) override;
};

// Colours between the settings' 0x00BBGGRR form and Qt's.
QColor ToQColor(settings::ColorRef color);
settings::ColorRef ToColorRef(const QColor& color);

}  // namespace velnora::sheets
