// The loop that a written file carries, in frames: one rule for the smpl chunk and for the
// LOOPSTART and LOOPLENGTH comments.
#include "definition/output_rule.h"
#include "support/run_options.h"
#include "writers/wave_trailer.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(LoopFrames, StartAtTheFirstWholeFrameAndHoldTheLoopsWholeFrames)
{
    // 16-bit stereo: 4 bytes a frame. start, size → first frame, frames after it.
    const std::uint32_t rows[][4] = {{8, 12, 2, 5}, {6, 10, 2, 4}, {6, 8, 2, 4}, {7, 3, 2, 2}, {0, 4, 0, 1}, {5, 3, 2, 2}};
    for (const auto& [start, size, first, end] : rows) {
        MusicEntry entry;
        entry.loop_start = start;
        entry.loop_size = size;
        entry.wave_size = start + size;
        OutputOptions options = runOptions(1, 0);
        options.choices.loopPoints = true;
        const LoopFrames loop = writtenLoop(entry, options);
        EXPECT_EQ(std::make_pair(loop.start, loop.end), std::make_pair(first, end)) << start << "+" << size;
        // The smpl chunk ends the file's trailer: its last frame is end - 1.
        const std::vector<std::uint8_t> trailer = waveTrailer(PieceToWrite{entry, PieceTags(), options, PiecePart::Whole, {}});
        std::uint32_t marked[2] = {};
        if (end > first) {
            ASSERT_GE(trailer.size(), 68u);
            std::memcpy(marked, &trailer[trailer.size() - 16], sizeof marked);
        }
        EXPECT_EQ(std::make_pair(marked[0], marked[1]), end > first ? std::make_pair(first, end - 1) : std::make_pair(0u, 0u));
        options.loopCount = 0;
        const LoopFrames none = writtenLoop(entry, options);
        EXPECT_EQ(none.end, none.start) << "no loop is written, so none is marked";
    }
}
