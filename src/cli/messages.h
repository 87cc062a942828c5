#pragma once
// Every text morlo-cli shows a person, in English (messages_en.cpp) and in Japanese
// (messages_ja.cpp), one table per language. The language is chosen once at start; codes,
// levels, JSON keys and file names stay the same in every language.
#include "check/findings.h"

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

enum class Message {
    // The usage: its first word, the words for the options a form does not repeat, and each option's
    // line, whose further lines the usage indents. Every option line takes the same values: $0 the
    // largest count, $1 the default loop count, $2 the default fade seconds, $3 the default Ogg
    // Vorbis quality, $4 the shortest loop find-loop looks for by default.
    UsageStart, UsageOtherOptions, HelpLoops, HelpFade, HelpFullFade, HelpOnly, HelpYes, HelpSkipExisting, HelpFormat,
    HelpQuality, HelpStdout, HelpJson, HelpTags, HelpLoopPoints, HelpPlaylist, HelpJobs, HelpNear, HelpMinLength,
    HelpMaxLength, HelpHelp, HelpLength, HelpSplit, HelpTagText, HelpTitleNames,
    // The command line
    NoCommand, UnknownCommand, UnknownOption, NeedsValue, TakesValue, ValueNumber, ValueFolder, ValuePieceList,
    ValueFileName, ValueFormat, ValueQuality, ValueJobs, TwoDefinitions, NoDefinition, StdoutTakesNoFiles,
    ConvertNeedsFolders, CheckNeedsBgm, YesAndSkip, BadPieceList, NoSuchPiece, NoPieces, StdoutOnePiece,
    ArgumentNotText, ValueNear, ValueSeconds, LengthsCrossed, FindLoopNeedsBgm, AudioTakesNoPieces, AudioUnreadable,
    AudioNotPcm, ValueLength, LoopsAndLength, StdoutTakesNoJson, SplitTakesNo, NotForCommand, SeeUsage, CountLimited,
    StdoutIsTerminal, ValueTagText, TagTextWithoutTags,
    // A definition that cannot be read, and why
    NotDefinition, PathTooLong, IsFolder, NotRegularFile, LargerThan, Unreadable, DoesNotExist, IsEmpty, NoAlbumTitle,
    // list and check
    TotalsLine, NotWritable, SizeNotKnown, CheckSummary, CheckSummaryNotes, PieceOne, PieceMany, ErrorOne, ErrorMany, WarningOne,
    WarningMany, NoteOne, NoteMany,
    // convert
    OutputMissing, OutputNotFolder, OutputNotWritable, ShortOfSpace, Question, AnswerAgain, NotReplaced, KeptExisting,
    CancelledPartLeft, CancelledClean, CancelledStandardOutput, EndLine, EndLineSkipped,
    // find-loop
    LoopRepeat, LoopOnePass, LoopCandidateLine, SeamNotMeasured, DefinitionLoopSame, DefinitionLoopOff, LoopNotFound,
    ReasonSilent, ReasonTooShort, ReasonNoRepeat, ReasonNothingNear, ReasonBgmMissing, ReasonBgmShort,
    // Why a piece was not written
    FailNoSuchPiece, FailNameLost, FailNameLeavesFolder, FailLoopPastData, FailTooLarge, FailSourceMissing, FailShortSource,
    FailOverwriteRefused, FailOutputReadOnly, FailCannotCreate, FailWriteFailed, FailCannotRename, FailCannotRemove,
    FailFormatCannotHold, FailReaderGone, FailOther,
    // Why a format cannot hold a piece
    FormatChannels, FormatBits, FlacNoMemory, FlacBits, FlacRate, FlacRefuses, VorbisRate,
    count
};

// One language's texts, each row naming its id so that the order is checked when compiling.
struct MessageRow {
    Message id;
    const char* text;
};
struct FindingRow {
    FindingText id;
    const char* text;
};
struct MessageTable {
    const MessageRow* messages; // Message::count rows
    const FindingRow* findings; // FindingText::count rows
};
extern const MessageTable englishTexts;
extern const MessageTable japaneseTexts;

template <typename Row, std::size_t size>
constexpr bool rowsInOrder(const Row (&rows)[size])
{
    for (std::size_t i = 0; i < size; ++i) {
        if (static_cast<std::size_t>(rows[i].id) != i)
            return false;
    }
    return true;
}

enum class Language { English, Japanese };

// The user's language: on Windows the user's UI language, elsewhere the locale of messages.
Language userLanguage();
// The locale rule: the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty decides;
// Japanese for "ja" ("ja_JP.UTF-8", "ja_JP@...", "ja"), English for anything else or none.
Language localeLanguage(const char* lcAll, const char* lcMessages, const char* lang);

// Until it is called, the texts are English.
void useLanguage(Language language);
const MessageTable& textsInUse();

// The text of id in the language in use, UTF-8 on every system, with each "$n" (n a digit)
// replaced by values[n] (UTF-8 too).
std::string text(Message id, std::initializer_list<std::string> values = {});
// A finding's message; its values are Shift-JIS, as the definition's own texts.
std::string findingMessage(const Finding& finding);
// pattern with "$n" replaced by values[n]; a placeholder without a value stays as it is.
std::string fillIn(const char* pattern, const std::vector<std::string>& values);
