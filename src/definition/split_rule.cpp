#include "definition/split_rule.h"

#include "definition/output_rule.h"

#include <algorithm>

SplitPoints splitPoints(const MusicEntry& entry)
{
    const std::uint64_t frame = std::max<std::uint16_t>(blockAlign(entry), 1);
    const std::uint64_t loopEnd = static_cast<std::uint64_t>(entry.loop_start) + entry.loop_size;
    // Rounded up: a frame that starts before loop_start holds introduction too. A loop shorter
    // than what is left of that frame goes with the introduction whole.
    const std::uint64_t cut = (entry.loop_start + frame - 1) / frame * frame;
    SplitPoints points;
    points.introBytes = static_cast<std::uint32_t>(std::min(cut, loopEnd));
    points.loopStart = entry.loop_start;
    points.loopSize = entry.loop_size;
    points.loopBytes = static_cast<std::uint32_t>(entry.loop_size / frame * frame);
    return points;
}

std::string splitName(const std::string& shiftJisName, const char* mark)
{
    // '.' is never the second byte of a two-byte character, so the last '.' byte is a dot.
    const std::size_t dot = shiftJisName.rfind('.');
    if (dot == std::string::npos)
        return shiftJisName + mark;
    return shiftJisName.substr(0, dot) + mark + shiftJisName.substr(dot);
}
