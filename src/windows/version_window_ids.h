#pragma once
// Control ids of the version window.
#include <cstdint>

constexpr std::uint16_t versionOkButtonId = 1035;
constexpr std::uint16_t versionIconId = 1036;
constexpr std::uint16_t versionTextId = 1037;
