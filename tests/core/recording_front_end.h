#pragma once
// A front end for tests: records what the conversion reports and answers as told.
#include "convert/convert_pieces.h"

#include <string>
#include <vector>

class RecordingFrontEnd : public ConversionFrontEnd {
public:
    void step() override { ++steps; }
    void yieldOnce() override
    {
        ++yields;
        if (cancelAfterYields >= 0 && yields >= cancelAfterYields)
            cancelled = true;
    }
    bool isCancelled() override { return cancelled; }
    void showReading(const MusicEntry& entry) override { reading.push_back(entry.file); }
    void showWriting(const MusicEntry& entry) override { writing.push_back(entry.file); }
    bool confirmOverwrite(const std::string& path) override
    {
        questions.push_back(path);
        return overwrite;
    }
    void pieceFailed(const MusicEntry&, PieceFailure failure) override { failures.push_back(failure); }

    int steps = 0;
    int yields = 0;
    int cancelAfterYields = -1; // -1: never
    bool cancelled = false;
    bool overwrite = false;
    std::vector<std::string> reading;
    std::vector<std::string> writing;
    std::vector<std::string> questions;
    std::vector<PieceFailure> failures;
};
