#pragma once
// The procedure of a conversion run, shared by the progress window and the command line:
// for each chosen piece read its data, ask before replacing an existing file, write the file,
// and count successes and failures. Every piece accounts for exactly loopCount + 2 steps.
#include "convert/conversion_hooks.h"
#include "definition/loop_definition.h"
#include "definition/output_options.h"

#include <cstdint>
#include <string>
#include <vector>

enum class PieceFailure {
    NoSuchPiece,      // the row names no entry of the definition
    NameLeavesFolder, // the output name is not a plain file name
    LoopPastData,     // loop_start + loop_size > wave_size
    TooLarge,         // the file would not fit a RIFF header's 32-bit sizes
    SourceMissing,    // the BGM wave file cannot be opened
    ShortSource,      // the BGM wave file ends before the piece's data does, or no memory for it
    OverwriteRefused, // the output file exists and the user said no
    CannotCreate,     // the output file cannot be created
    WriteFailed,      // a write failed or fell short (a full disk)
    CannotRemove,     // cancelled while written, and the incomplete file could not be removed
};

class ConversionFrontEnd : public ConversionHooks {
public:
    virtual void showReading(const MusicEntry& entry) = 0;
    virtual void showWriting(const MusicEntry& entry) = 0;
    // The output file at path exists: true to replace it.
    virtual bool confirmOverwrite(const std::string& path) = 0;
    virtual void pieceFailed(const MusicEntry& entry, PieceFailure failure) = 0;

protected:
    ~ConversionFrontEnd() = default;
};

struct ConversionCounts {
    std::uint32_t successes = 0;
    std::uint32_t failures = 0;
    bool cancelled = false;
    // The file of the piece being written when the run was cancelled is still there, incomplete.
    bool partLeft = false;
};

// Converts the pieces of definition named by rows, in that order. Refused pieces never create,
// delete or change a file. A cancelled run keeps the files written before, removes the file of
// the piece it was writing and touches no later piece; when that file cannot be removed, the
// piece counts as failed and partLeft is set.
ConversionCounts convertPieces(const LoopDefinition& definition, const OutputOptions& options,
                               const std::vector<std::int32_t>& rows, ConversionFrontEnd& frontEnd);

// Steps of a whole run: rows × (loopCount + 2), plus one for the end.
std::uint64_t conversionSteps(std::size_t rows, std::uint32_t loopCount);
