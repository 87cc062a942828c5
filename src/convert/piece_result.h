#pragma once
// How one piece of a run ended: written, failed with a reason, skipped, or cancelled.
#include "definition/writable_rule.h"
#include "writers/format_refusal.h"

#include <cstdint>
#include <optional>

enum class PieceEnd {
    Written,
    Failed,
    Skipped,   // the output file exists and the front end keeps it as skipped, not failed
    Cancelled, // the user cancelled while the piece was read, asked about or written
};

// Why a piece failed.
enum class PieceFailure {
    None,
    Refused,          // the definition alone refuses it (refusal says why)
    FormatCannotHold, // the chosen format cannot hold the piece (format says why)
    NoSuchPiece,      // the row names no entry of the definition
    SourceMissing,    // the BGM wave file cannot be opened
    ShortSource,      // the BGM wave file ends before the piece's data does, or no memory for it
    OverwriteRefused, // the output file exists and the user said no
    OutputReadOnly,   // the output file exists, the user said yes, but it is read-only
    CannotCreate,     // the unfinished file cannot be created in the output folder
    WriteFailed,      // a write, the flush or the close failed or fell short (a full disk)
    CannotRename,     // the finished file could not take the output's name
    CannotRemove,     // the piece failed or was cancelled, and its unfinished file stayed
    ReaderGone,       // the program reading standard output has closed it
};

struct PieceResult {
    PieceEnd end = PieceEnd::Written;
    // Why it failed; also CannotRemove for a cancelled piece whose unfinished file stayed.
    PieceFailure failure = PieceFailure::None;
    PieceRefusal refusal = PieceRefusal::None; // with Refused
    FormatRefusal format;                      // with FormatCannotHold
    // A file written: its size as the file system tells it once the file has its name; none when
    // the system cannot tell, and for standard output.
    std::optional<std::uint64_t> fileBytes;

    static PieceResult ended(PieceEnd end, PieceFailure failure = PieceFailure::None)
    {
        PieceResult result;
        result.end = end;
        result.failure = failure;
        return result;
    }
    static PieceResult failed(PieceFailure failure) { return ended(PieceEnd::Failed, failure); }
};
