#include "cli/arguments.h"

#include "cli/messages.h"
#include "cli/progress_line.h"
#include "definition/file_name.h"
#include "definition/output_options.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>
#include <utility>

bool parseCount(const std::string& text, std::uint32_t& count, bool& limited)
{
    // "-0" too: a minus sign says the user meant a number below 0.
    if (text.empty() || text.find('-') != std::string::npos)
        return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (*end != '\0')
        return false;
    limited = errno == ERANGE || value > largestCount;
    count = limited ? largestCount : static_cast<std::uint32_t>(value);
    return true;
}

namespace {

bool parseNumber(const std::string& text, unsigned long long& value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 18)
        return false;
    value = std::strtoull(text.c_str(), nullptr, 10);
    return true;
}

} // namespace

bool parsePieceList(const std::string& text, std::size_t pieceCount, std::vector<std::int32_t>& rows,
                    std::string& problem)
{
    std::set<std::int32_t> chosen;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        std::size_t dash = item.find('-');
        unsigned long long first = 0;
        unsigned long long last = 0;
        bool valid = dash == std::string::npos
                         ? parseNumber(item, first) && parseNumber(item, last)
                         : parseNumber(item.substr(0, dash), first) && parseNumber(item.substr(dash + 1), last);
        if (!valid || first > last) {
            problem = ::text(Message::BadPieceList, {text});
            return false;
        }
        if (last >= pieceCount) {
            problem = pieceCount == 0 ? ::text(Message::NoPieces, {std::to_string(last)})
                                      : ::text(Message::NoSuchPiece, {std::to_string(last), std::to_string(pieceCount - 1)});
            return false;
        }
        for (unsigned long long n = first; n <= last; ++n)
            chosen.insert(static_cast<std::int32_t>(n));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    rows.assign(chosen.begin(), chosen.end());
    return true;
}

bool chosenPieces(const std::string& only, std::size_t pieceCount, std::vector<std::int32_t>& rows,
                  std::string& problem)
{
    if (!only.empty())
        return parsePieceList(only, pieceCount, rows, problem);
    rows.clear();
    for (std::size_t i = 0; i < pieceCount; ++i)
        rows.push_back(static_cast<std::int32_t>(i));
    return true;
}

namespace {

using Command = CliArguments::Command;

const std::pair<const char*, Command> commands[] = {
    {"list", Command::List},
    {"convert", Command::Convert},
    {"check", Command::Check},
    {"find-loop", Command::FindLoop},
};

constexpr unsigned commandBit(Command command) { return 1u << static_cast<unsigned>(command); }
// The commands an option is valid for; elsewhere it is an unknown option.
constexpr unsigned forList = commandBit(Command::List);
constexpr unsigned forConvert = commandBit(Command::Convert);
constexpr unsigned forCheck = commandBit(Command::Check);
constexpr unsigned forFindLoop = commandBit(Command::FindLoop);
// The commands that work out output files.
constexpr unsigned forOutput = forList | forConvert | forCheck;
constexpr unsigned forAll = forOutput | forFindLoop;

// An option's value: its name in the usage ("N") and what it must be, for the refusal of a bad one.
struct OptionValue {
    const char* name;
    Message kind;
};

struct Option {
    const char* name;
    unsigned commands;
    // None for an option without a value.
    std::optional<OptionValue> value;
    // Its line in the usage; none for the folders, which the usage's forms explain.
    std::optional<Message> help;
    // Stores the value (empty for an option without one); false when the value is refused, which
    // only an option with a value may do.
    bool (*set)(CliArguments& parsed, const std::string& value);
    // The same option in one letter, such as "-j"; none for most.
    const char* shortName = nullptr;
};

// The options that take a count, named here for the line that tells a count was limited.
constexpr char loopsOption[] = "--loops";
constexpr char fadeOption[] = "--fade";

template <std::uint32_t OutputOptions::*field, const char* name>
bool setCount(CliArguments& parsed, const std::string& value)
{
    bool limited = false;
    if (!parseCount(value, parsed.options.*field, limited))
        return false;
    if (limited)
        parsed.limitedCounts.push_back(text(Message::CountLimited, {name, value, std::to_string(largestCount)}));
    return true;
}

// An empty value is a slip (a shell variable that is not set), never a choice.
template <std::string CliArguments::*field>
bool setText(CliArguments& parsed, const std::string& value)
{
    parsed.*field = value;
    return !value.empty();
}

template <std::string OutputOptions::*field>
bool setFolder(CliArguments& parsed, const std::string& value)
{
    parsed.options.*field = value;
    return !value.empty();
}

template <bool CliArguments::*field>
bool setFlag(CliArguments& parsed, const std::string&)
{
    parsed.*field = true;
    return true;
}

template <bool FileChoices::*field>
bool setChoice(CliArguments& parsed, const std::string&)
{
    parsed.options.choices.*field = true;
    return true;
}

template <bool OutputOptions::*field>
bool setOutput(CliArguments& parsed, const std::string&)
{
    parsed.options.*field = true;
    return true;
}

// A name in the output folder, never a path that leads elsewhere.
bool setPlaylist(CliArguments& parsed, const std::string& value)
{
    parsed.playlist = value;
    return isPlainFileName(value);
}

bool setTagText(CliArguments& parsed, const std::string& value)
{
    const std::pair<const char*, InfoText> names[] = {{"sjis", InfoText::ShiftJis}, {"utf8", InfoText::Utf8}};
    for (const auto& [name, encoding] : names) {
        if (value == name) {
            parsed.options.choices.infoText = encoding;
            return true;
        }
    }
    return false;
}

bool setTitleNames(CliArguments& parsed, const std::string&)
{
    parsed.options.names = OutputNames::Titles;
    return true;
}

bool setFormat(CliArguments& parsed, const std::string& value)
{
    const std::pair<const char*, OutputFormat> names[] = {
        {"wav", OutputFormat::Wave}, {"flac", OutputFormat::Flac}, {"ogg", OutputFormat::OggVorbis}};
    for (const auto& [name, format] : names) {
        if (value == name) {
            parsed.options.format = format;
            return true;
        }
    }
    return false;
}

// Seconds as a decimal number, at least 0, such as "2.5".
bool parseSeconds(const std::string& text, double& seconds)
{
    char* end = nullptr;
    seconds = std::strtod(text.c_str(), &end);
    const bool plain = !text.empty() && text.find_first_not_of("0123456789.") == std::string::npos;
    return plain && *end == '\0' && seconds <= 86400;
}

template <double LoopSearch::*field>
bool setSeconds(CliArguments& parsed, const std::string& value)
{
    return parseSeconds(value, parsed.search.*field) && parsed.search.*field > 0;
}

bool setMaxLength(CliArguments& parsed, const std::string& value)
{
    double seconds = 0;
    if (!parseSeconds(value, seconds) || seconds <= 0)
        return false;
    parsed.search.maxSeconds = seconds;
    return true;
}

// START,LENGTH: where the loop is heard to start and how long it is, in seconds.
bool setNear(CliArguments& parsed, const std::string& value)
{
    const std::size_t comma = value.find(',');
    double start = 0, length = 0;
    if (comma == std::string::npos || !parseSeconds(value.substr(0, comma), start) ||
        !parseSeconds(value.substr(comma + 1), length) || length <= 0)
        return false;
    parsed.search.nearStart = start;
    parsed.search.nearLength = length;
    return true;
}

// 1 to the largest count. Unlike a count, a number outside is refused rather than limited: no run
// is made without a worker.
bool setJobs(CliArguments& parsed, const std::string& value)
{
    unsigned long long jobs = 0;
    if (!parseNumber(value, jobs) || jobs < 1 || jobs > largestCount)
        return false;
    parsed.jobs = static_cast<std::uint32_t>(jobs);
    return true;
}

// M:SS or H:MM:SS: the first part any number of up to five digits, each after a colon two digits
// below 60.
bool setLength(CliArguments& parsed, const std::string& value)
{
    std::uint32_t seconds = 0;
    std::size_t start = 0;
    for (int part = 0; part < 3; ++part) {
        const std::size_t colon = value.find(':', start);
        const std::string digits = value.substr(start, colon == std::string::npos ? colon : colon - start);
        unsigned long long number = 0;
        const bool valid = part == 0 ? digits.size() <= 5 : digits.size() == 2;
        if (!valid || !parseNumber(digits, number) || (part > 0 && number >= 60))
            return false;
        seconds = seconds * 60 + static_cast<std::uint32_t>(number);
        if (colon == std::string::npos) {
            if (part == 0)
                return false;
            parsed.options.lengthSeconds = seconds;
            return true;
        }
        start = colon + 1;
    }
    return false;
}

bool setQuality(CliArguments& parsed, const std::string& value)
{
    char* end = nullptr;
    float quality = std::strtof(value.c_str(), &end);
    // Written this way round, so that a NaN is refused too.
    if (value.empty() || *end != '\0' || !(quality >= -1 && quality <= 10))
        return false;
    parsed.options.quality = quality;
    return true;
}

using M = Message;
using V = OptionValue;

// In the order of the usage's lines.
constexpr Option options[] = {
    {"--bgm", forConvert | forCheck | forFindLoop, V{"DIR", M::ValueFolder}, {}, setFolder<&OutputOptions::bgmFolder>},
    {"--out", forConvert, V{"DIR", M::ValueFolder}, {}, setFolder<&OutputOptions::outputFolder>},
    {loopsOption, forOutput, V{"N", M::ValueNumber}, M::HelpLoops, setCount<&OutputOptions::loopCount, loopsOption>},
    {fadeOption, forOutput, V{"S", M::ValueNumber}, M::HelpFade, setCount<&OutputOptions::fadeSeconds, fadeOption>},
    {"--full-fade", forOutput, {}, M::HelpFullFade, setChoice<&FileChoices::fullFade>},
    {"--length", forOutput, V{"M:SS", M::ValueLength}, M::HelpLength, setLength},
    {"--only", forConvert | forFindLoop, V{"LIST", M::ValuePieceList}, M::HelpOnly, setText<&CliArguments::only>},
    {"--yes", forConvert, {}, M::HelpYes, setFlag<&CliArguments::overwrite>},
    {"--skip-existing", forConvert, {}, M::HelpSkipExisting, setFlag<&CliArguments::skipExisting>},
    {"--format", forList | forConvert, V{"F", M::ValueFormat}, M::HelpFormat, setFormat},
    {"--quality", forConvert, V{"Q", M::ValueQuality}, M::HelpQuality, setQuality},
    {"--stdout", forConvert, {}, M::HelpStdout, setOutput<&OutputOptions::toStandardOutput>},
    {"--json", forAll, {}, M::HelpJson, setFlag<&CliArguments::json>},
    {"--tags", forList | forConvert, {}, M::HelpTags, setChoice<&FileChoices::tags>},
    {"--loop-points", forList | forConvert, {}, M::HelpLoopPoints, setChoice<&FileChoices::loopPoints>},
    {"--playlist", forConvert, V{"NAME.m3u8", M::ValueFileName}, M::HelpPlaylist, setPlaylist},
    {"--jobs", forConvert, V{"N", M::ValueJobs}, M::HelpJobs, setJobs, "-j"},
    {"--split", forConvert, {}, M::HelpSplit, setOutput<&OutputOptions::split>},
    {"--near", forFindLoop, V{"START,LENGTH", M::ValueNear}, M::HelpNear, setNear},
    {"--min-length", forFindLoop, V{"S", M::ValueSeconds}, M::HelpMinLength, setSeconds<&LoopSearch::minSeconds>},
    {"--max-length", forFindLoop, V{"S", M::ValueSeconds}, M::HelpMaxLength, setMaxLength},
    {"--tag-text", forList | forConvert, V{"T", M::ValueTagText}, M::HelpTagText, setTagText},
    {"--title-names", forOutput, {}, M::HelpTitleNames, setTitleNames},
    {"--help", forAll, {}, M::HelpHelp, setFlag<&CliArguments::help>},
};

// The usage's forms of the command line, each after "morlo-cli ", with the commands whose options
// it names (none for the words read before any command). A line break goes on under the form's
// start; "$0" stands for the options the form does not repeat.
struct UsageForm {
    unsigned commands;
    const char* text;
};

constexpr UsageForm usageForms[] = {
    {forList, "list FILE.mrl [--loops N | --length M:SS] [--fade S] [--full-fade] [--format F]\n"
              "[--json] [--tags] [--loop-points] [--tag-text T] [--title-names]"},
    {forCheck, "check FILE.mrl --bgm DIR [--loops N | --length M:SS] [--fade S] [--full-fade]\n[--json] [--title-names]"},
    {forConvert, "convert FILE.mrl --bgm DIR --out DIR [--loops N | --length M:SS] [--fade S]\n"
                 "[--only LIST] [--yes | --skip-existing] [--full-fade] [--format F] [--quality Q]\n"
                 "[--tags] [--loop-points] [--playlist NAME.m3u8] [--jobs N] [--json] [--split]\n"
                 "[--tag-text T] [--title-names]"},
    {forConvert, "convert FILE.mrl --bgm DIR --stdout --only N [--format F] $0"},
    {forFindLoop, "find-loop FILE.mrl --bgm DIR [--only LIST] [--near START,LENGTH]\n"
                  "[--min-length S] [--max-length S] [--json]"},
    {forFindLoop, "find-loop AUDIO $0"},
    {0, "--version | --help"},
    {forAll, "COMMAND --help"},
};

constexpr bool isNameCharacter(char c) { return (c >= 'a' && c <= 'z') || c == '-'; }

// Whether an option's name begins at text[at].
constexpr bool optionAt(const char* text, std::size_t at)
{
    return text[at] == '-' && text[at + 1] == '-' && (at == 0 || !isNameCharacter(text[at - 1]));
}

constexpr bool nameAt(const char* text, std::size_t at, const char* name)
{
    std::size_t i = 0;
    for (; name[i] != '\0'; ++i) {
        if (text[at + i] != name[i])
            return false;
    }
    return !isNameCharacter(text[at + i]);
}

constexpr bool formNames(const UsageForm& form, const char* name)
{
    for (std::size_t at = 0; form.text[at] != '\0'; ++at) {
        if (optionAt(form.text, at) && nameAt(form.text, at, name))
            return true;
    }
    return false;
}

// Every option a form names is an option of its commands.
constexpr bool formsNameTheirOptions()
{
    for (const UsageForm& form : usageForms) {
        for (std::size_t at = 0; form.commands != 0 && form.text[at] != '\0'; ++at) {
            bool known = !optionAt(form.text, at);
            for (const Option& option : options) {
                known = known ||
                        (nameAt(form.text, at, option.name) && (option.commands & form.commands) == form.commands);
            }
            if (!known)
                return false;
        }
    }
    return true;
}

// Every option is named by a form of each of its commands.
constexpr bool optionsNamedInForms()
{
    for (const Option& option : options) {
        for (unsigned command = 1; command <= forAll; command <<= 1) {
            bool named = (option.commands & command) == 0;
            for (const UsageForm& form : usageForms)
                named = named || ((form.commands & command) != 0 && formNames(form, option.name));
            if (!named)
                return false;
        }
    }
    return true;
}

static_assert(formsNameTheirOptions() && optionsNamedInForms(), "the usage's forms and the options disagree");

// text with every line after the first begun by indent.
std::string indented(const std::string& text, const std::string& indent)
{
    std::string result;
    for (char c : text) {
        result += c;
        if (c == '\n')
            result += indent;
    }
    return result;
}

std::string numberText(float number)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(number));
    return text;
}

bool names(const std::string& word, const Option& option)
{
    return word == option.name || (option.shortName && word == option.shortName);
}

const Option* findOption(const std::string& word, Command command)
{
    for (const Option& option : options) {
        if (names(word, option) && (option.commands & commandBit(command)) != 0)
            return &option;
    }
    return nullptr;
}

const char* commandName(Command command)
{
    for (const auto& [name, named] : commands) {
        if (named == command)
            return name;
    }
    return "";
}

// Whether word names an option of some command.
bool isOption(const std::string& word)
{
    for (const Option& option : options) {
        if (names(word, option))
            return true;
    }
    return false;
}

bool readCommand(const std::vector<std::string>& arguments, CliArguments& parsed, std::string& problem)
{
    if (arguments.empty()) {
        problem = text(Message::NoCommand);
        return false;
    }
    const std::optional<Command> command = commandNamed(arguments[0]);
    if (!command) {
        problem = text(Message::UnknownCommand, {arguments[0]});
        return false;
    }
    parsed.command = *command;
    return true;
}

// The option at arguments[i], with its value when it takes one; i is left on the last word used.
bool readOption(const Option& option, const std::vector<std::string>& arguments, std::size_t& i,
                CliArguments& parsed, std::string& problem)
{
    const std::string& word = arguments[i];
    std::string value;
    if (option.value) {
        if (i + 1 >= arguments.size()) {
            problem = text(Message::NeedsValue, {word});
            return false;
        }
        value = arguments[++i];
    }
    if (!option.set(parsed, value)) {
        problem = text(Message::TakesValue, {word, text(option.value->kind), value});
        return false;
    }
    return true;
}

bool given(const CliArguments& parsed, const char* name)
{
    return std::find(parsed.given.begin(), parsed.given.end(), name) != parsed.given.end();
}

} // namespace

std::optional<CliArguments::Command> commandNamed(const std::string& word)
{
    for (const auto& [name, command] : commands) {
        if (word == name)
            return command;
    }
    return std::nullopt;
}

std::string usageErrorText(const std::string& problem, std::optional<CliArguments::Command> command)
{
    const std::string help =
        std::string("morlo-cli ") + (command ? commandName(*command) + std::string(" ") : "") + "--help";
    return "morlo-cli: " + problem + '\n' + text(Message::SeeUsage, {help}) + '\n';
}

bool parseArguments(const std::vector<std::string>& arguments, CliArguments& parsed, std::string& problem)
{
    if (!readCommand(arguments, parsed, problem))
        return false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (const Option* option = findOption(word, parsed.command)) {
            if (!readOption(*option, arguments, i, parsed, problem))
                return false;
            parsed.given.push_back(option->name);
        } else if (word.size() > 1 && word[0] == '-') {
            problem = isOption(word) ? text(Message::NotForCommand, {word, commandName(parsed.command)})
                                     : text(Message::UnknownOption, {word});
            return false;
        } else if (parsed.definitionPath.empty()) {
            parsed.definitionPath = word;
        } else {
            problem = text(Message::TwoDefinitions);
            return false;
        }
    }
    if (parsed.help)
        return true;
    if (parsed.definitionPath.empty()) {
        problem = text(Message::NoDefinition);
        return false;
    }
    // One pass of the loop without a fade-out, as files: what these would change is not there.
    for (const char* name : {"--loops", "--length", "--fade", "--full-fade", "--stdout"}) {
        if (parsed.options.split && given(parsed, name)) {
            problem = text(Message::SplitTakesNo, {name});
            return false;
        }
    }
    if (parsed.command == Command::Convert && parsed.options.toStandardOutput &&
        (!parsed.options.outputFolder.empty() || !parsed.playlist.empty())) {
        problem = text(Message::StdoutTakesNoFiles);
        return false;
    }
    if (parsed.command == Command::Convert &&
        (parsed.options.bgmFolder.empty() || (parsed.options.outputFolder.empty() && !parsed.options.toStandardOutput))) {
        problem = text(Message::ConvertNeedsFolders);
        return false;
    }
    if (parsed.command == Command::Check && parsed.options.bgmFolder.empty()) {
        problem = text(Message::CheckNeedsBgm);
        return false;
    }
    if (parsed.command == Command::FindLoop && parsed.search.maxSeconds &&
        *parsed.search.maxSeconds < parsed.search.minSeconds) {
        problem = text(Message::LengthsCrossed);
        return false;
    }
    if (parsed.overwrite && parsed.skipExisting) {
        problem = text(Message::YesAndSkip);
        return false;
    }
    if (given(parsed, "--loops") && parsed.options.lengthSeconds) {
        problem = text(Message::LoopsAndLength);
        return false;
    }
    if (parsed.options.toStandardOutput && parsed.json) {
        problem = text(Message::StdoutTakesNoJson);
        return false;
    }
    if (given(parsed, "--tag-text") && !parsed.options.choices.tags) {
        problem = text(Message::TagTextWithoutTags);
        return false;
    }
    return true;
}

std::string usageText()
{
    const std::string start = text(Message::UsageStart);
    const std::string under(static_cast<std::size_t>(textColumns(start)), ' ');
    const std::string program = "morlo-cli ";
    std::string usage;
    for (const UsageForm& form : usageForms) {
        usage += (usage.empty() ? start : under) + program;
        const std::string otherOptions = text(Message::UsageOtherOptions);
        usage += indented(fillIn(form.text, {otherOptions}), under + std::string(program.size(), ' '));
        usage += '\n';
    }
    // Each option's text begins in the same column, at least two spaces after its name; on the next
    // line when the name reaches further.
    const std::string textColumn(19, ' ');
    const std::string largest = std::to_string(largestCount);
    const std::string loops = std::to_string(defaultLoopCount);
    const std::string fade = std::to_string(defaultFadeSeconds);
    const std::string quality = numberText(defaultVorbisQuality);
    const std::string minLength = numberText(static_cast<float>(LoopSearch().minSeconds));
    for (const Option& option : options) {
        if (!option.help)
            continue;
        const std::string value = option.value ? std::string(" ") + option.value->name : "";
        std::string line = "  " + std::string(option.name) + value;
        if (option.shortName)
            line += ", " + std::string(option.shortName) + value;
        line += line.size() + 2 <= textColumn.size() ? textColumn.substr(line.size()) : '\n' + textColumn;
        usage += line + indented(text(*option.help, {largest, loops, fade, quality, minLength}), textColumn) + '\n';
    }
    return usage;
}
