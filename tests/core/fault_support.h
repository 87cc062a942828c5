#pragma once
// Helpers of the fault injection tests: loop definitions written as text, BGM data with a
// recognisable pattern, a front end that records what a run tells it, and folder listings.
#include "convert/convert_pieces.h"

#include <cstdint>
#include <string>
#include <vector>

namespace faults {

struct PieceText {
    std::string file;
    std::string wave_file = "bgm.dat";
    std::uint64_t wave_start = 0;
    std::uint64_t wave_size = 0;
    std::uint64_t loop_start = 0;
    std::uint64_t loop_size = 0;
    std::uint64_t fmt_samples = 44100;
};

// The text of a loop definition file with the album "Faults" and these pieces.
std::string definitionText(const std::vector<PieceText>& pieces);

// Bytes whose value at position p of the BGM file is a function of p, so that any range read
// from a wrong offset shows.
std::string patternBytes(std::uint64_t from, std::uint64_t length);

// What a run without fade writes for a piece cut from patterned data: header, intro, loops.
std::string expectedWithoutFade(const MusicEntry& entry, std::uint32_t loopCount);

class FaultFrontEnd : public ConversionFrontEnd {
public:
    void step() override { ++steps; }
    void yieldOnce() override;
    bool isCancelled() override { return cancelled_; }
    void showReading(const MusicEntry&) override {}
    void showWriting(const MusicEntry&) override { ++writing_; }
    bool confirmOverwrite(const std::string& path) override
    {
        asked.push_back(path);
        return answer;
    }
    void pieceFailed(const MusicEntry& entry, PieceFailure failure) override
    {
        failures.push_back({entry.file, failure});
    }

    // Cancels at the given yield while the given piece (1 = first) is being written.
    void cancelWhileWriting(int piece, int yields)
    {
        cancelPiece_ = piece;
        cancelYield_ = yields;
    }

    bool answer = false;
    std::uint64_t steps = 0;
    std::vector<std::string> asked;
    std::vector<std::pair<std::string, PieceFailure>> failures;

private:
    int writing_ = 0;
    int cancelPiece_ = 0;
    int cancelYield_ = 0;
    int yieldsWhileWriting_ = 0;
    bool cancelled_ = false;
};

// Names in folder, sorted; folders end with the system's separator.
std::vector<std::string> listFolder(const std::string& folder);

// A new file of the given length holding each text at its offset; the rest of the file is a
// hole where the file system supports one.
bool writeSparseFile(const std::string& path, std::uint64_t length,
                     const std::vector<std::pair<std::uint64_t, std::string>>& parts);

} // namespace faults
