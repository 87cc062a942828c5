#pragma once
// The options of a run as the tests write them: loop count, fade seconds and a full fade.
#include "definition/output_options.h"

inline OutputOptions runOptions(std::uint32_t loops, std::uint32_t fadeSeconds, bool fullFade = false)
{
    OutputOptions options;
    options.loopCount = loops;
    options.fadeSeconds = fadeSeconds;
    options.choices.fullFade = fullFade;
    return options;
}
