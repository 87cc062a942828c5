#pragma once
// Control ids of the output-settings window.
#include <cstdint>

constexpr std::uint16_t bgmLabelId = 1027;
constexpr std::uint16_t outputLabelId = 1028;
constexpr std::uint16_t bgmFieldId = 1029;
constexpr std::uint16_t outputFieldId = 1030;
constexpr std::uint16_t bgmBrowseButtonId = 1031;
constexpr std::uint16_t outputBrowseButtonId = 1032;
constexpr std::uint16_t cancelButtonId = 1033;
constexpr std::uint16_t convertButtonId = 1034;
