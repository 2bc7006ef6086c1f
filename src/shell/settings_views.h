#pragma once

// The parts of the program settings that the check and the result pane read, in their own
// records.

#include "fetch/check_settings.h"
#include "shell/app_settings.h"
#include "viewer/display_settings.h"
#include "viewer/pane_appearance.h"

namespace velnora::shell {

fetch::CheckSettings CheckSettingsFrom(const AppSettings& settings);
viewer::DisplaySettings DisplaySettingsFrom(const AppSettings& settings);
viewer::PaneAppearance PaneAppearanceFrom(const AppSettings& settings);

}  // namespace velnora::shell
