#include "cli/arguments.h"

#include "definition/output_options.h"

#include <cerrno>
#include <cstdlib>
#include <set>

const char* const usageText =
    "usage: morlo-cli list FILE.mrl [--loops N] [--fade S] [--json]\n"
    "       morlo-cli check FILE.mrl --bgm DIR [--loops N] [--fade S] [--json]\n"
    "       morlo-cli convert FILE.mrl --bgm DIR --out DIR [--loops N] [--fade S] [--only LIST] [--yes]\n"
    "                 [--loop-points]\n"
    "       morlo-cli --version\n"
    "  --loops N     times the loop is played (0-999, default 2)\n"
    "  --fade S      seconds of the closing fade-out (0-999, default 10)\n"
    "  --only LIST   piece numbers to write, such as 0,2-4 (default: all)\n"
    "  --yes         replace existing output files without asking\n"
    "  --json        print one JSON document (UTF-8) instead of lines\n"
    "  --loop-points mark the loop in each file (a smpl chunk) for players that loop forever\n";

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
            problem = "bad piece list '" + text + "'";
            return false;
        }
        if (last >= pieceCount) {
            problem = "there is no piece " + std::to_string(last) + " (the definition has " +
                      std::to_string(pieceCount) + ")";
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

bool parseArguments(const std::vector<std::string>& arguments, CliArguments& parsed, std::string& problem)
{
    if (arguments.empty()) {
        problem = "no command given";
        return false;
    }
    if (arguments[0] == "list")
        parsed.command = CliArguments::Command::List;
    else if (arguments[0] == "convert")
        parsed.command = CliArguments::Command::Convert;
    else if (arguments[0] == "check")
        parsed.command = CliArguments::Command::Check;
    else {
        problem = "unknown command '" + arguments[0] + "'";
        return false;
    }
    const bool converting = parsed.command == CliArguments::Command::Convert;
    const bool checking = parsed.command == CliArguments::Command::Check;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= arguments.size()) {
                problem = word + " needs a value";
                return false;
            }
            target = arguments[++i];
            return true;
        };
        std::string text;
        if (word == "--loops" || word == "--fade") {
            if (!value(text))
                return false;
            if (!parseCount(text, word == "--loops" ? parsed.loopCount : parsed.fadeSeconds)) {
                problem = word + " takes a number, not '" + text + "'";
                return false;
            }
        } else if ((converting || checking) && word == "--bgm") {
            if (!value(parsed.bgmFolder))
                return false;
        } else if (converting && word == "--out") {
            if (!value(parsed.outputFolder))
                return false;
        } else if (converting && word == "--only") {
            if (!value(parsed.only))
                return false;
        } else if (converting && word == "--yes") {
            parsed.overwrite = true;
        } else if (converting && word == "--loop-points") {
            parsed.loopPoints = true;
        } else if (!converting && word == "--json") {
            parsed.json = true;
        } else if (word.size() > 1 && word[0] == '-') {
            problem = "unknown option '" + word + "'";
            return false;
        } else if (parsed.definitionPath.empty()) {
            parsed.definitionPath = word;
        } else {
            problem = "more than one definition file given";
            return false;
        }
    }
    if (parsed.definitionPath.empty()) {
        problem = "no definition file given";
        return false;
    }
    if (converting && (parsed.bgmFolder.empty() || parsed.outputFolder.empty())) {
        problem = "convert needs --bgm DIR and --out DIR";
        return false;
    }
    if (checking && parsed.bgmFolder.empty()) {
        problem = "check needs --bgm DIR";
        return false;
    }
    return true;
}
