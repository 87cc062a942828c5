#include "cli/progress_line.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int barWidth = 30;
constexpr int titleGap = 2;
constexpr int ellipsisWidth = 3;

struct Character {
    std::size_t bytes;
    int columns;
};

// East Asian Wide and Fullwidth blocks take two columns. Everything else takes one, also the
// characters whose width depends on the terminal's settings, as most terminals show them.
bool isWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
           (c >= 0x1F900 && c <= 0x1F9FF) || (c >= 0x20000 && c <= 0x3FFFD);
}

// A malformed sequence is taken byte by byte, one column each.
Character utf8Character(const std::string& text, std::size_t at)
{
    auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (at + length > text.size())
        return {1, 1};
    char32_t c = length == 1 ? lead : lead & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i) {
        auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80)
            return {1, 1};
        c = (c << 6) | (next & 0x3Fu);
    }
    return {length, isWide(c) ? 2 : 1};
}

// The title whole when it fits into room columns, else cut and ended with as many dots as fit.
std::string fitTitle(const std::string& title, int room)
{
    const int dots = std::min(room, ellipsisWidth);
    std::string shown;
    std::size_t kept = 0;
    int used = 0;
    for (std::size_t at = 0; at < title.size();) {
        Character c = utf8Character(title, at);
        used += c.columns;
        if (used > room)
            return shown.substr(0, kept) + std::string(static_cast<std::size_t>(dots), '.');
        auto byte = static_cast<unsigned char>(title[at]);
        shown += c.bytes == 1 && (byte < 0x20 || byte == 0x7F) ? std::string("?") : title.substr(at, c.bytes);
        if (used <= room - dots)
            kept = shown.size();
        at += c.bytes;
    }
    return shown;
}

} // namespace

std::string progressLine(int percent, const std::string& title, int columns)
{
    char number[16];
    std::snprintf(number, sizeof number, "%3d%%", percent);
    std::string bar(static_cast<std::size_t>(percent * barWidth / 100), '#');
    bar.resize(barWidth, '.');
    std::string head = "[" + bar + "] " + number;
    if (static_cast<int>(head.size()) > columns)
        head = number;
    int room = columns - static_cast<int>(head.size()) - titleGap;
    if (room <= 0)
        return head.substr(0, static_cast<std::size_t>(std::max(columns, 0)));
    return head + std::string(titleGap, ' ') + fitTitle(title, room);
}

int textColumns(const std::string& text)
{
    int columns = 0;
    for (std::size_t at = 0; at < text.size();) {
        const Character c = utf8Character(text, at);
        columns += c.columns;
        at += c.bytes;
    }
    return columns;
}
