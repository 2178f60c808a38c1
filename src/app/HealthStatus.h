// The two health figures of the settings area: the registry health label beside the pages and the
// speed-loss level of the statistics page.
#pragma once

#include <string>

#include "app/DisplayText.h"
#include "platform/Clock.h"
#include "scan/ScanItems.h"
#include "scan/SettingsStore.h"

namespace brisko::app {

struct HealthLabel {
    std::string caption;  // "Registry Health is"
    std::string text;     // "LOW", "FAIR", "GOOD", "EXCELLENT" or "UNKNOWN"
    Colour colour;
    int picture = 0;
};
// By the problems the last scan left ("errs" less "fixed"); "UNKNOWN" when there was no scan or it is
// more than 13 days old.
HealthLabel RegistryHealthLabel(scan::SettingsStore& store, const platform::SystemTime& now);

struct SpeedLoss {
    std::string label;  // a rating label
    std::string text;   // "Speed Loss level: " and the label
    int picture = 0;
};
SpeedLoss SpeedLossLevel(scan::SettingsStore& store, const scan::ScanItemTable& items);

}  // namespace brisko::app
