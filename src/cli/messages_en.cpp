// morlo-cli's texts in English.
#include "cli/messages.h"

#include <iterator>

namespace {

using M = Message;
using F = FindingText;

constexpr MessageRow messages[] = {
    {M::UsageStart, "usage: "},
    {M::UsageOtherOptions, "[other options above]"},
    {M::HelpLoops, "times the loop is played (0-$0, default $1)"},
    {M::HelpFade, "seconds of the closing fade-out (0-$0, default $2)"},
    {M::HelpFullFade, "let the fade-out last all S seconds, the loop played on as often as it\n"
                      "needs (without it, the fade-out is at most one loop long)"},
    {M::HelpOnly, "piece numbers to write or search, such as 0,2-4 (default: all)"},
    {M::HelpYes, "replace existing output files without asking"},
    {M::HelpSkipExisting, "keep existing output files without asking"},
    {M::HelpFormat, "wav, flac or ogg (default wav): the file name's extension follows it"},
    {M::HelpQuality, "Ogg Vorbis quality, -1 to 10 (default $3)"},
    {M::HelpStdout, "write the one chosen piece to standard output instead of a file"},
    {M::HelpJson, "print one JSON document (UTF-8) instead of lines; with convert: each chosen\n"
                  "piece's result, at the end"},
    {M::HelpTags, "write title, album and track number into each file (WAVE: INFO and ID3;\n"
                  "FLAC and Ogg: TITLE, ALBUM, TRACKNUMBER, TRACKTOTAL, ENCODER);\n"
                  "with list: the sizes of such files"},
    {M::HelpLoopPoints, "mark the loop in each file for players that loop forever (WAVE: a smpl\n"
                        "chunk; FLAC and Ogg: LOOPSTART and LOOPLENGTH); with list: the sizes"},
    {M::HelpPlaylist, "also write a playlist (UTF-8) into the output folder: the pieces whose files\n"
                      "are there after the run, written or kept; an existing playlist kept by the\n"
                      "answer n or s is no failure"},
    {M::HelpJobs, "FLAC or Ogg files encoded at once (1-$0, default: one per processor);\n"
                  "WAVE files and --stdout are written one at a time"},
    {M::HelpNear, "roughly where the loop starts and how long it is, in seconds (such as\n"
                  "12.5,64): the search keeps within 2 s of each; data holding one pass of\n"
                  "the loop needs it"},
    {M::HelpMinLength, "the shortest loop looked for, in seconds (default $4)"},
    {M::HelpMaxLength, "the longest loop looked for, in seconds (default: the whole data)"},
    {M::HelpHelp, "print this text"},
    {M::HelpLength, "play each piece at least this long (M:SS or H:MM:SS, such as 3:00): each\n"
                    "piece gets the smallest loop count (0-$0) that reaches it; not with --loops"},
    {M::HelpSplit, "write each piece as two files, NAME-intro.EXT (the introduction) and\n"
                   "NAME-loop.EXT (one pass of the loop, no fade-out), for engines that loop a\n"
                   "second file; a piece without an introduction writes its loop file alone"},
    {M::HelpTagText, "with --tags, the WAVE files' INFO texts in sjis (default: as Windows\n"
                     "programs on a Japanese system read them) or utf8 (as most players on\n"
                     "Linux read them); the other tags are UTF-8 either way"},
    {M::HelpTitleNames, "name the files NN TITLE.EXT: the track number, a space and the whole\n"
                        "title, each character a Windows file name cannot hold turned into _"},
    {M::NoCommand, "no command given"},
    {M::UnknownCommand, "unknown command '$0'"},
    {M::UnknownOption, "unknown option '$0'"},
    {M::NeedsValue, "$0 needs a value"},
    {M::TakesValue, "$0 takes $1, not '$2'"},
    {M::ValueNumber, "a whole number of 0 or more"},
    {M::ValueFolder, "a folder"},
    {M::ValuePieceList, "a piece list"},
    {M::ValueFileName, "a file name"},
    {M::ValueFormat, "wav, flac or ogg"},
    {M::ValueQuality, "a number from -1 to 10"},
    {M::ValueJobs, "a number from 1 to 999"},
    {M::TwoDefinitions, "more than one definition file given"},
    {M::NoDefinition, "no definition file given"},
    {M::StdoutTakesNoFiles, "--stdout writes no files: it takes no --out or --playlist"},
    {M::ConvertNeedsFolders, "convert needs --bgm DIR and --out DIR (or --stdout)"},
    {M::CheckNeedsBgm, "check needs --bgm DIR"},
    {M::YesAndSkip, "--yes and --skip-existing cannot be used together"},
    {M::BadPieceList, "bad piece list '$0'"},
    {M::NoSuchPiece, "there is no piece $0: the pieces are numbered 0 to $1"},
    {M::NoPieces, "there is no piece $0: the definition has no pieces"},
    {M::StdoutOnePiece, "--stdout writes one piece: choose it with --only N"},
    {M::ArgumentNotText, "argument $0 cannot be read: it holds half of a UTF-16 surrogate pair, which is no character"},
    {M::ValueNear, "START,LENGTH in seconds"},
    {M::ValueSeconds, "seconds above 0"},
    {M::LengthsCrossed, "--max-length is shorter than --min-length"},
    {M::FindLoopNeedsBgm, "find-loop on a definition needs --bgm DIR"},
    {M::AudioTakesNoPieces, "an audio file is searched whole: it takes no --bgm or --only"},
    {M::AudioUnreadable, "$0 is neither a loop definition nor an audio file that can be read"},
    {M::AudioNotPcm, "$0 holds no PCM samples of 8, 16, 24 or 32 bits"},
    {M::ValueLength, "a length such as 3:00 (M:SS or H:MM:SS)"},
    {M::LoopsAndLength, "--loops and --length cannot be used together"},
    {M::StdoutTakesNoJson, "--stdout writes the piece to standard output: it takes no --json"},
    {M::SplitTakesNo, "--split writes the introduction and one pass of the loop, without a fade-out, as files: it takes no $0"},
    {M::NotForCommand, "$0 is not an option of $1"},
    {M::SeeUsage, "Run '$0' for the usage."},
    {M::CountLimited, "$0 $1 counts as $2"},
    {M::StdoutIsTerminal, "standard output is a terminal: --stdout writes the piece's bytes there, send them to a file "
                          "or a pipe"},
    {M::ValueTagText, "sjis or utf8"},
    {M::TagTextWithoutTags, "--tag-text chooses how --tags writes: it takes --tags"},
    {M::NotDefinition, "$0 is no loop definition file ($1)"},
    {M::PathTooLong, "the path is too long"},
    {M::IsFolder, "it is a folder"},
    {M::NotRegularFile, "it is not a regular file"},
    {M::LargerThan, "it is larger than $0 MiB"},
    {M::Unreadable, "it cannot be read"},
    {M::DoesNotExist, "it does not exist"},
    {M::IsEmpty, "it is empty"},
    {M::NoAlbumTitle, "it has no [album] title"},
    {M::TotalsLine, "Total time : $0 Total size : $1"},
    {M::NotWritable, "not writable"},
    {M::SizeNotKnown, "not known before writing"},
    {M::CheckSummary, "$0 checked: $1, $2"},
    {M::CheckSummaryNotes, "$0 checked: $1, $2, $3"},
    {M::PieceOne, "$0 piece"},
    {M::PieceMany, "$0 pieces"},
    {M::ErrorOne, "$0 error"},
    {M::ErrorMany, "$0 errors"},
    {M::WarningOne, "$0 warning"},
    {M::WarningMany, "$0 warnings"},
    {M::NoteOne, "$0 note"},
    {M::NoteMany, "$0 notes"},
    {M::OutputMissing, "the output folder $0 does not exist"},
    {M::OutputNotFolder, "the output $0 is not a folder"},
    {M::OutputNotWritable, "the output folder $0 cannot be written to"},
    {M::ShortOfSpace, "the pieces need $0 bytes, the output folder has $1 free; those that fit are still written"},
    {M::Question, "$0 exists\nReplace it? (y = yes, n or Enter = no, a = yes to all, s = no to all) "},
    {M::AnswerAgain, "Please answer y, n, a or s (Enter is n)."},
    {M::NotReplaced, "$0 exists; not replaced (use --yes to replace existing files, --skip-existing to keep them)"},
    {M::KeptExisting, "$0 exists; kept"},
    {M::CancelledPartLeft, "cancelled; the unfinished piece's file could not be removed"},
    {M::CancelledClean,
     "cancelled; the pieces written before are kept, the unfinished one left no file and replaced none"},
    {M::CancelledStandardOutput, "cancelled; standard output holds part of the piece"},
    {M::EndLine, "Output finished (succeeded: $0, failed: $1)"},
    {M::EndLineSkipped, "Output finished (succeeded: $0, failed: $1, skipped: $2)"},
    {M::LoopRepeat, "repeat: the data holds the loop more than once; candidates, best first:"},
    {M::LoopOnePass, "one pass: the data holds the loop once and ends with it; the best seams near the\n"
                     "  place given, best first (a guess: repetition cannot be seen):"},
    {M::LoopCandidateLine, "$0. start $1 frames ($2), length $3 frames ($4), confidence $5, seam $6"},
    {M::SeamNotMeasured, "not measured"},
    {M::DefinitionLoopSame, "the definition's loop is the best candidate"},
    {M::DefinitionLoopOff, "the definition's loop is off the best: start $0 frames ($1 ms), length $2 frames ($3 ms)"},
    {M::LoopNotFound, "not found ($0): $1"},
    {M::ReasonSilent, "the data is silent"},
    {M::ReasonTooShort, "the data is shorter than the shortest loop looked for (--min-length)"},
    {M::ReasonNoRepeat, "the music does not repeat: the data holds one pass only, or the piece does not\n"
                        "  loop; for one pass, --near START,LENGTH finds the best seam"},
    {M::ReasonNothingNear, "no loop of the data lies near the place given by --near"},
    {M::ReasonBgmMissing, "the BGM file $0 cannot be opened"},
    {M::ReasonBgmShort, "the BGM file $0 ends before the piece's data does"},
    {M::FailNoSuchPiece, "no such piece in the definition"},
    {M::FailNameLost, "the output name holds characters Shift-JIS lacks"},
    {M::FailNameLeavesFolder, "the output name is not a plain file name"},
    {M::FailLoopPastData, "the loop reaches past the piece's data"},
    {M::FailTooLarge, "the output would be larger than a WAVE file can be"},
    {M::FailSourceMissing, "the BGM wave file $0 cannot be opened"},
    {M::FailShortSource, "the BGM wave file $0 ends before the piece's data does"},
    {M::FailOverwriteRefused, "the output file exists and was kept"},
    {M::FailOutputReadOnly, "the output file exists and is read-only; it was kept"},
    {M::FailCannotCreate, "the output file cannot be created"},
    {M::FailWriteFailed, "writing the output file failed (is the disk full?); no file was replaced"},
    {M::FailCannotRename, "the finished file could not take the output's name; no file was replaced"},
    {M::FailCannotRemove, "not written, and its unfinished file (ending in $0) could not be removed"},
    {M::FailFormatCannotHold, "the format cannot hold the piece"},
    {M::FailReaderGone, "standard output was closed"},
    {M::FailOther, "failed"},
    {M::FormatChannels, "$0 holds 1 to $1 channels, the piece has $2"},
    {M::FormatBits, "$0 is written from 8-, 16-, 24- or 32-bit samples, the piece has $1 bits"},
    {M::FlacNoMemory, "libFLAC has no memory for an encoder"},
    {M::FlacBits, "the libFLAC on this system cannot write $0-bit samples"},
    {M::FlacRate, "FLAC cannot hold a rate of $0 frames a second"},
    {M::FlacRefuses, "libFLAC refuses the piece's format"},
    {M::VorbisRate, "the Vorbis encoder cannot take $0 frames a second"},
};

constexpr FindingRow findings[] = {
    {F::NameNotPlain, "the output name '$0' is not a plain file name: it would leave the output folder"},
    {F::NameLost, "the output name '$0' holds characters Shift-JIS lacks (read as ?): names are Shift-JIS, so the "
                  "piece is not written"},
    {F::LoopPastData,
     "the loop ends at byte $0 (loop_start + loop_size) but the piece's data has only $1 bytes (wave_size)"},
    {F::TooLarge,
     "with $0 loops and $1 s of fade the file would have $2 bytes; a WAVE file holds at most 4,294,967,295"},
    {F::SameOutput,
     "writes the same file as piece $0 ('$1'): converting both, this one asks to replace that one's file"},
    {F::SameOutputByCase,
     "the output name differs from piece $0's ('$1') in letter case alone: on Windows, and on file systems that "
     "ignore case such as FAT, the two are one file and converting both, this one asks to replace that one's file"},
    {F::NameCut, "the output name '$0' fills the 15 bytes a name may have: it was probably cut"},
    {F::NoWavEnding, "the output name '$0' has no .wav ending"},
    {F::NothingBeforeWav, "the output name '$0' has nothing before its .wav ending"},
    {F::TitleCut, "the title fills the 255 bytes a title may have: it was probably cut"},
    {F::TextLost, "$0 '$1' holds characters Shift-JIS lacks: each is written as ?"},
    {F::BgmOutsideFolder,
     "the BGM file '$0' is outside the BGM folder (absolute, with a drive or with ..); it is read all the same"},
    {F::NoChannels, "fmt_channels is 0"},
    {F::UnusualBits, "fmt_bits is $0; 8, 16, 24 or 32 is usual, and only those fade"},
    {F::UnusualRate, "fmt_samples is $0; 8000 to 192000 is usual"},
    {F::Unaligned, "$0 $1 is not a multiple of the frame size ($2 bytes): a loop that splits a frame plays noise"},
    {F::FormatDefault, "$0 is not given: the default $1 is taken"},
    {F::BgmMissing, "the BGM file '$0' cannot be opened"},
    {F::BgmShort, "the BGM file '$0' ends before the piece's data does (at byte $1, wave_start + wave_size)"},
    {F::LoopSeam, "the loop's seam jumps, an audible click: measure $0 (smooth is about 1, above $1 is flagged); "
                  "no smoother loop end within $2 ms"},
    {F::LoopSeamSmoother, "the loop's seam jumps, an audible click: measure $0 (smooth is about 1, above $1 is "
                          "flagged); smoother: loop_start=$2 loop_size=$3 (start $4 frames, length $5 frames; start "
                          "moved $6 ms, end moved $7 ms; measure $8)"},
    {F::LoopSeamDataEnds, "the loop's seam jumps, an audible click: measure $0 (smooth is about 1, above $1 is "
                          "flagged); the data ends at the loop's end: only shorter ends could be tried, and none "
                          "within $2 ms is smoother"},
    {F::LoopSeamDataEndsSmoother, "the loop's seam jumps, an audible click: measure $0 (smooth is about 1, above $1 "
                                  "is flagged); the data ends at the loop's end: only shorter ends could be tried; "
                                  "smoother: loop_start=$2 loop_size=$3 (start $4 frames, length $5 frames; start "
                                  "moved $6 ms, end moved $7 ms; measure $8)"},
    {F::LoopMusic, "the music does not run on from the loop's end into its start: difference $0 (the same music is "
                   "below $1, unrelated about 1); no loop whose length is within $2 ms of this one's runs on"},
    {F::LoopMusicSuggested, "the music does not run on from the loop's end into its start: difference $0 (the same "
                            "music is below $1, unrelated about 1); suggested: loop_start=$2 loop_size=$3 (start $4 "
                            "frames, length $5 frames; start moved $6 ms, end moved $7 ms)"},
    {F::LoopBytes, "the data repeats byte for byte every $0 frames from frame $1, and this loop does not: a cut "
                   "the sound around it hides; suggested: loop_start=$2 loop_size=$3 (start $4 frames, length $5 "
                   "frames; start moved $6 ms, end moved $7 ms)"},
    {F::UnreadAfterGap, "sections never read ($0): $1; reading stops at the first missing number, [$2]: number "
                        "the sections from music0000 without gaps"},
    {F::UnreadAfterNoFile, "sections never read ($0): $1; reading stops at [$2], which has no file= value"},
    {F::SavedAsUtf8, "the file is saved as UTF-8 without a byte-order mark: it was read as UTF-8"},
};

static_assert(std::size(messages) == static_cast<std::size_t>(Message::count) && rowsInOrder(messages));
static_assert(std::size(findings) == static_cast<std::size_t>(FindingText::count) && rowsInOrder(findings));

} // namespace

const MessageTable englishTexts{messages, findings};
