#pragma once

// The parts of the program settings that the check and the result pane read, in their own
// records.

#include "fetch/check_settings.h"
#include "fetch/schedule.h"
#include "results/display_settings.h"
#include "results/pane_appearance.h"
#include "settings/app_settings.h"

namespace velnora::settings {

fetch::CheckSettings CheckSettingsFrom(const AppSettings& settings);
results::DisplaySettings DisplaySettingsFrom(const AppSettings& settings);
results::PaneAppearance PaneAppearanceFrom(const AppSettings& settings);
fetch::ActiveHours ActiveHoursFrom(const AppSettings& settings);

}  // namespace velnora::settings
