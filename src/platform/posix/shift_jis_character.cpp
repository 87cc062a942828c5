#include "platform/unicode_text.h"

#include <iconv.h>

#include <map>

namespace {

// The whole text converted, or empty when any of it cannot be.
std::string convertExactly(const std::string& text, const char* from, const char* to)
{
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::string();
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char out[16];
    char* outPointer = out;
    std::size_t outLeft = sizeof out;
    const bool done = iconv(converter, &in, &inLeft, &outPointer, &outLeft) != static_cast<std::size_t>(-1) &&
                      inLeft == 0 && iconv(converter, nullptr, nullptr, &outPointer, &outLeft) == 0;
    iconv_close(converter);
    return done ? std::string(out, outPointer) : std::string();
}

} // namespace

std::string shiftJisCharacter(char32_t character)
{
    // A definition repeats few distinct characters many times.
    static std::map<char32_t, std::string> known;
    const auto found = known.find(character);
    if (found != known.end())
        return found->second;
    const std::string utf8 = utf8Character(character);
    std::string shiftJis = convertExactly(utf8, "UTF-8", "CP932");
    // A character the tables only map one way (a look-alike) does not count.
    if (convertExactly(shiftJis, "CP932", "UTF-8") != utf8)
        shiftJis.clear();
    known.emplace(character, shiftJis);
    return shiftJis;
}
