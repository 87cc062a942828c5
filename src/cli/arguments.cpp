#include "cli/arguments.h"

#include "cli/messages.h"
#include "definition/file_name.h"
#include "definition/output_options.h"

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <set>
#include <utility>

bool parseCount(const std::string& text, std::uint32_t& count)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0')
        return false;
    // Out of range of a signed 32-bit field reads as a large number: it counts as 999 too.
    count = errno == ERANGE || value < INT32_MIN || value > INT32_MAX ? largestCount
                                                                      : limitCount(static_cast<std::int32_t>(value));
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

namespace {

using Command = CliArguments::Command;

const std::pair<const char*, Command> commands[] = {
    {"list", Command::List},
    {"convert", Command::Convert},
    {"check", Command::Check},
};

constexpr unsigned commandBit(Command command) { return 1u << static_cast<unsigned>(command); }
// The commands an option is valid for; elsewhere it is an unknown option.
constexpr unsigned forList = commandBit(Command::List);
constexpr unsigned forConvert = commandBit(Command::Convert);
constexpr unsigned forCheck = commandBit(Command::Check);
constexpr unsigned forAll = forList | forConvert | forCheck;

struct Option {
    const char* name;
    unsigned commands;
    // What the value is, for the refusal of a bad one; none for an option without a value.
    std::optional<Message> value;
    // Stores the value (empty for an option without one); false when the value is refused, which
    // only an option with a value may do.
    bool (*set)(CliArguments& parsed, const std::string& value);
};

template <std::uint32_t CliArguments::*field>
bool setCount(CliArguments& parsed, const std::string& value)
{
    return parseCount(value, parsed.*field);
}

// An empty value is a slip (a shell variable that is not set), never a choice.
template <std::string CliArguments::*field>
bool setText(CliArguments& parsed, const std::string& value)
{
    parsed.*field = value;
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
    parsed.choices.*field = true;
    return true;
}

// A name in the output folder, never a path that leads elsewhere.
bool setPlaylist(CliArguments& parsed, const std::string& value)
{
    parsed.playlist = value;
    return isPlainFileName(value);
}

bool setFormat(CliArguments& parsed, const std::string& value)
{
    const std::pair<const char*, OutputFormat> names[] = {
        {"wav", OutputFormat::Wave}, {"flac", OutputFormat::Flac}, {"ogg", OutputFormat::OggVorbis}};
    for (const auto& [name, format] : names) {
        if (value == name) {
            parsed.format = format;
            return true;
        }
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
    parsed.quality = quality;
    return true;
}

const Option options[] = {
    {"--loops", forAll, Message::ValueNumber, setCount<&CliArguments::loopCount>},
    {"--fade", forAll, Message::ValueNumber, setCount<&CliArguments::fadeSeconds>},
    {"--bgm", forConvert | forCheck, Message::ValueFolder, setText<&CliArguments::bgmFolder>},
    {"--out", forConvert, Message::ValueFolder, setText<&CliArguments::outputFolder>},
    {"--only", forConvert, Message::ValuePieceList, setText<&CliArguments::only>},
    {"--yes", forConvert, {}, setFlag<&CliArguments::overwrite>},
    {"--tags", forList | forConvert, {}, setChoice<&FileChoices::tags>},
    {"--loop-points", forList | forConvert, {}, setChoice<&FileChoices::loopPoints>},
    {"--full-fade", forAll, {}, setChoice<&FileChoices::fullFade>},
    {"--playlist", forConvert, Message::ValueFileName, setPlaylist},
    {"--format", forList | forConvert, Message::ValueFormat, setFormat},
    {"--quality", forConvert, Message::ValueQuality, setQuality},
    {"--stdout", forConvert, {}, setFlag<&CliArguments::toStandardOutput>},
    {"--json", forList | forCheck, {}, setFlag<&CliArguments::json>},
    {"--skip-existing", forConvert, {}, setFlag<&CliArguments::skipExisting>},
    {"--help", forAll, {}, setFlag<&CliArguments::help>},
};

const Option* findOption(const std::string& word, Command command)
{
    for (const Option& option : options) {
        if (word == option.name && (option.commands & commandBit(command)) != 0)
            return &option;
    }
    return nullptr;
}

bool readCommand(const std::vector<std::string>& arguments, CliArguments& parsed, std::string& problem)
{
    if (arguments.empty()) {
        problem = text(Message::NoCommand);
        return false;
    }
    for (const auto& [name, command] : commands) {
        if (arguments[0] == name) {
            parsed.command = command;
            return true;
        }
    }
    problem = text(Message::UnknownCommand, {arguments[0]});
    return false;
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
        problem = text(Message::TakesValue, {word, text(*option.value), value});
        return false;
    }
    return true;
}

} // namespace

bool parseArguments(const std::vector<std::string>& arguments, CliArguments& parsed, std::string& problem)
{
    if (!readCommand(arguments, parsed, problem))
        return false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (const Option* option = findOption(word, parsed.command)) {
            if (!readOption(*option, arguments, i, parsed, problem))
                return false;
        } else if (word.size() > 1 && word[0] == '-') {
            problem = text(Message::UnknownOption, {word});
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
    if (parsed.command == Command::Convert && parsed.toStandardOutput &&
        (!parsed.outputFolder.empty() || !parsed.playlist.empty())) {
        problem = text(Message::StdoutTakesNoFiles);
        return false;
    }
    if (parsed.command == Command::Convert &&
        (parsed.bgmFolder.empty() || (parsed.outputFolder.empty() && !parsed.toStandardOutput))) {
        problem = text(Message::ConvertNeedsFolders);
        return false;
    }
    if (parsed.command == Command::Check && parsed.bgmFolder.empty()) {
        problem = text(Message::CheckNeedsBgm);
        return false;
    }
    if (parsed.overwrite && parsed.skipExisting) {
        problem = text(Message::YesAndSkip);
        return false;
    }
    return true;
}
