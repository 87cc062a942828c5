#pragma once
// The procedure of a conversion run, shared by the progress window and the command line:
// for each chosen piece read its data, ask before replacing an existing file, write the file
// under an unfinished name and give it the output's name only when it is complete, and count
// successes and failures. Every piece accounts for exactly loopCount + 2 steps. A split piece is
// two pieces to the run (pieceFiles), each with its own loop count and its own file, question,
// count and steps.
#include "convert/conversion_hooks.h"
#include "convert/piece_result.h"
#include "definition/loop_definition.h"
#include "definition/output_options.h"
#include "writers/piece_writer.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// What to do with an output file that exists: replace it, keep it and count the piece as failed
// (the window's "いいえ"), or keep it and count the piece as skipped (a front end that was told to
// keep existing files).
enum class OverwriteAnswer { Replace, Keep, Skip };

class ConversionFrontEnd : public ConversionHooks {
public:
    virtual void showReading(const PieceToWrite& piece) = 0;
    virtual void showWriting(const PieceToWrite& piece) = 0;
    // The output file at path exists.
    virtual OverwriteAnswer confirmOverwrite(const std::string& path) = 0;
    // The piece failed, or was cancelled leaving its unfinished file (result says which).
    virtual void pieceFailed(const PieceToWrite& piece, const PieceResult& result) = 0;

protected:
    ~ConversionFrontEnd() = default;
};

struct ConversionCounts {
    std::uint32_t successes = 0;
    std::uint32_t failures = 0;
    std::uint32_t skipped = 0; // kept existing files, neither written nor failed
    bool cancelled = false;
    // The unfinished file of the piece being written when the run was cancelled is still there.
    bool partLeft = false;
    std::vector<PieceFile> written; // the files written, in the order of the run
    // How each file the run reached ended, in the order of the run; a cancel leaves out the rest.
    std::vector<std::pair<PieceFile, PieceResult>> ends;
    // The files whose existing file stayed at the front end's answer: skipped, or failed as
    // OverwriteRefused; in the order of the run.
    std::vector<PieceFile> kept;
};

// Converts the pieces of definition named by rows, in that order, as WAVE files or in writer's
// format. An output file is only ever replaced by a complete one: whatever fails, and a cancel,
// leaves it as it was, and the unfinished file is removed. Refused pieces never create, delete or
// change a file. A cancelled run keeps the files written before and touches no later piece; when
// the unfinished file cannot be removed, the piece counts as failed and partLeft is set.
// With options.toStandardOutput every piece goes to standard output, with no question and no file.
ConversionCounts convertPieces(const LoopDefinition& definition, const OutputOptions& options,
                               const std::vector<std::int32_t>& rows, ConversionFrontEnd& frontEnd);
ConversionCounts convertPieces(const LoopDefinition& definition, const OutputOptions& options,
                               const std::vector<std::int32_t>& rows, ConversionFrontEnd& frontEnd,
                               const PieceWriter& writer);

// As above, with up to workers pieces encoded at once when writer's files keep a processor busy
// (FLAC, Ogg Vorbis); WAVE files, standard output and a single worker go one piece at a time as
// above. The calling thread reads each piece and asks about its file in the order of rows, as
// above, and hands its writing to a worker; while it waits for one it keeps showing the run
// (step, yieldOnce) and looks for a cancel. The front end is called on the calling thread only,
// failures are told in the order of rows, and a run that is not cancelled ends with the same
// files and counts as one piece at a time. A cancel ends every piece being written (each
// unfinished file removed, the files it was to replace kept) and starts no other. At most workers
// pieces are encoded and one more waits; what they hold is bounded as worker_run.h says.
ConversionCounts convertPieces(const LoopDefinition& definition, const OutputOptions& options,
                               const std::vector<std::int32_t>& rows, ConversionFrontEnd& frontEnd,
                               const PieceWriter& writer, unsigned workers);

// The processors the system has, at least 1: the workers of a run by default.
unsigned processorCount();

// Whether a file may be written at outputPath: true when nothing is there or the user lets it be
// replaced. Otherwise ending says how the piece ends: failed with OverwriteRefused or
// OutputReadOnly, skipped, or cancelled when the user cancelled while the question waited, which
// is no answer.
bool mayWrite(const std::string& outputPath, ConversionFrontEnd& frontEnd, PieceResult& ending);

// Writes a whole file at outputPath through write: under the unfinished name first, given the
// output's name only once complete and on the disk. Otherwise the unfinished file is removed
// (failure CannotRemove when it stays) and a file that was at outputPath stays as it was.
PieceResult writeWholeFile(const std::string& outputPath, const std::function<PieceOutcome(FileHandle&)>& write);

// The name a piece is written under until it is complete: the output's name with an ending
// that says so, which no output name has, so it never stands for a finished piece.
std::string unfinishedPath(const std::string& outputPath);
constexpr char unfinishedEnding[] = ".morlo-unfinished";

// Steps of a whole run: rows × (loopCount + 2), plus one for the end.
std::uint64_t conversionSteps(std::size_t rows, std::uint32_t loopCount);
// The same for the files options make of rows of definition (pieceFiles), each with its own loop
// count (pieceOptions).
std::uint64_t conversionSteps(const LoopDefinition& definition, const std::vector<std::int32_t>& rows,
                              const OutputOptions& options);
