// The one process-wide record of the current choices.
#pragma once

#include "engine/volume.h"
#include "shell/langtable.h"

#include <atomic>
#include <cstdint>

namespace zel {

struct SettingsRecord {
    std::uint8_t TypeWood = 0;        // species index 0..5
    std::uint8_t WetWood = 0;         // moisture index 0..13
    CalcMethod Method = CalcMethod::Gost2708;
    TaperStep DownGradeWood = 0;      // taper index 0..7
    UiLanguage Language = UiLanguage::Ukrainian;
    bool AutoUpdate = false;
    std::atomic<std::int32_t> ID{0};  // written by the message worker too
};

// Every field is 0 until the settings window gives the calculation fields
// their start values and the store has been read.
extern SettingsRecord Settings;

// Entry n of the language table in the language in force now.
QString L(int entry);

} // namespace zel
