#pragma once
// The ten analysis options of the prediction window: whether each analysis is
// reflected in the prediction. Only how many are on matters to the prediction.
#include <array>
#include <string>

namespace n4 {

constexpr int kOptionCount = 10;      // flags with a key in the settings file
constexpr int kOptionGroupCount = 12; // groups shown on the panel

struct AnalysisOptions {
    std::array<bool, kOptionCount> flags{};
    int reflectedCount() const;
};

// The key of flag k in the settings file.
const char* optionKey(int k);
// The caption of group k (0..11) on the options panel.
const char* optionGroupCaption(int k);

} // namespace n4
