#include "definition/figures.h"

#include "definition/output_rule.h"
#include "definition/writable_rule.h"

#include <cinttypes>
#include <cstdio>

std::uint32_t figureBytesPerSecond(const MusicEntry& entry)
{
    return (static_cast<std::uint32_t>(entry.fmt_bits) * entry.fmt_channels * entry.fmt_samples) >> 3;
}

PieceFigures pieceFigures(const MusicEntry& entry, const OutputOptions& options, std::uint32_t trailingBytes)
{
    std::uint32_t perSecond = figureBytesPerSecond(entry);
    PieceFigures figures;
    const std::uint64_t plainSize = exactFileSize(entry, options, perSecond);
    figures.fileSize = plainSize + trailingBytes;
    figures.timeKnown = perSecond != 0;
    figures.writable = pieceRefusal(entry, options, trailingBytes) == PieceRefusal::None;
    if (figures.timeKnown)
        figures.playSeconds = (plainSize - waveHeaderSize) / perSecond;
    return figures;
}

std::uint32_t pieceLoopCount(const MusicEntry& entry, const OutputOptions& options)
{
    if (!options.lengthSeconds)
        return options.loopCount;
    // More loops never play shorter: the first count that reaches the length, by halves.
    OutputOptions tried = options;
    std::uint32_t low = 0, high = largestCount;
    while (low < high) {
        tried.loopCount = low + (high - low) / 2;
        const PieceFigures figures = pieceFigures(entry, tried);
        if (figures.timeKnown && figures.playSeconds >= *options.lengthSeconds)
            high = tried.loopCount;
        else
            low = tried.loopCount + 1;
    }
    return low;
}

OutputOptions pieceOptions(const MusicEntry& entry, const OutputOptions& options)
{
    OutputOptions piece = options;
    piece.loopCount = pieceLoopCount(entry, options);
    return piece;
}

void FigureTotals::add(const PieceFigures& figures)
{
    if (!figures.writable)
        return;
    bytes += figures.fileSize;
    seconds += figures.playSeconds;
}

std::string formatSize(std::uint64_t bytes)
{
    std::uint64_t g = bytes / 1000000000;
    std::uint64_t m = bytes % 1000000000 / 1000000;
    std::uint64_t k = bytes % 1000000 / 1000;
    std::uint64_t u = bytes % 1000;
    char text[64];
    if (g != 0)
        std::snprintf(text, sizeof text, "%01" PRIu64 ",%03" PRIu64 ",%03" PRIu64 ",%03" PRIu64, g, m, k, u);
    else if (m != 0)
        std::snprintf(text, sizeof text, "%3" PRIu64 ",%03" PRIu64 ",%03" PRIu64, m, k, u);
    else if (k != 0)
        std::snprintf(text, sizeof text, "%3" PRIu64 ",%03" PRIu64, k, u);
    else
        std::snprintf(text, sizeof text, "%3" PRIu64, u);
    return text;
}

std::string formatTime(std::uint64_t seconds)
{
    std::uint64_t hours = seconds / 3600;
    std::uint64_t rest = seconds % 3600;
    char text[64];
    if (hours != 0)
        std::snprintf(text, sizeof text, "%" PRIu64 ":%02" PRIu64 ":%02" PRIu64, hours, rest / 60, rest % 60);
    else
        std::snprintf(text, sizeof text, "%" PRIu64 ":%02" PRIu64, rest / 60, rest % 60);
    return text;
}

std::string pieceTimeText(const PieceFigures& figures)
{
    return figures.writable && figures.timeKnown ? formatTime(figures.playSeconds) : std::string("--:--");
}

namespace {

// What the list shows for a size an encoder only knows once it has written the file.
constexpr char sizeNotKnown[] = "書くまで不明";

} // namespace

std::string pieceSizeText(const PieceFigures& figures)
{
    if (!figures.writable)
        return "出力不可";
    return figures.sizeKnown ? formatSize(figures.fileSize) : sizeNotKnown;
}

std::string totalsText(std::uint64_t seconds, std::uint64_t bytes, bool sizeKnown)
{
    return "合計時間 : " + formatTime(seconds) + " 合計サイズ : " + (sizeKnown ? formatSize(bytes) : sizeNotKnown);
}
