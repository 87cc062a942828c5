#include "platform/shift_jis.h"

bool isShiftJisLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

namespace {

// Calls visit(start, length) for every character; a lead byte at the very end stands alone.
template <typename Visit>
void forEachCharacter(const std::string& text, Visit visit)
{
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t length = isShiftJisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
        if (!visit(i, length))
            return;
        i += length;
    }
}

} // namespace

std::string cutShiftJis(const std::string& text, std::size_t maxBytes)
{
    std::size_t end = 0;
    forEachCharacter(text, [&](std::size_t start, std::size_t length) {
        if (start + length > maxBytes)
            return false;
        end = start + length;
        return true;
    });
    return text.substr(0, end);
}

bool endsWithShiftJisCharacter(const std::string& text, char c)
{
    bool endsWith = false;
    forEachCharacter(text, [&](std::size_t start, std::size_t length) {
        endsWith = length == 1 && text[start] == c;
        return true;
    });
    return endsWith;
}

bool containsShiftJisCharacter(const std::string& text, char c)
{
    bool found = false;
    forEachCharacter(text, [&](std::size_t start, std::size_t length) {
        found = length == 1 && text[start] == c;
        return !found;
    });
    return found;
}

std::string foldShiftJisAsciiCase(const std::string& text)
{
    std::string folded = text;
    forEachCharacter(text, [&](std::size_t start, std::size_t length) {
        if (length == 1 && text[start] >= 'a' && text[start] <= 'z')
            folded[start] = static_cast<char>(text[start] - 'a' + 'A');
        return true;
    });
    return folded;
}
