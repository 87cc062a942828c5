#pragma once
// Controls of the progress window.
#include <cstdint>

constexpr std::uint16_t statusLineId = 1024;
constexpr std::uint16_t closeButtonId = 1025;
constexpr std::uint16_t progressBarId = 1026;
