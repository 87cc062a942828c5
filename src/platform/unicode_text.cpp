#include "platform/unicode_text.h"

std::size_t utf8CharacterLength(const std::string& text, std::size_t at)
{
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80)
        return 1;
    // Lead bytes, with the range allowed for the second byte.
    struct Form { unsigned char first, last, length, low, high; };
    static constexpr Form forms[] = {{0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF},
                                     {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF},
                                     {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F}};
    for (const Form& form : forms) {
        if (lead < form.first || lead > form.last)
            continue;
        if (at + form.length > text.size())
            return 0;
        for (std::size_t i = 1; i < form.length; ++i) {
            const unsigned char byte = static_cast<unsigned char>(text[at + i]);
            if (byte < (i == 1 ? form.low : 0x80) || byte > (i == 1 ? form.high : 0xBF))
                return 0;
        }
        return form.length;
    }
    return 0;
}

bool isMultiByteUtf8(const std::string& bytes)
{
    bool multiByte = false;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = utf8CharacterLength(bytes, at);
        if (length == 0)
            return false;
        multiByte = multiByte || length > 1;
        at += length;
    }
    return multiByte;
}

std::string utf8Character(char32_t character)
{
    std::string bytes;
    if (character < 0x80) {
        bytes += static_cast<char>(character);
    } else if (character < 0x800) {
        bytes += static_cast<char>(0xC0 | character >> 6);
        bytes += static_cast<char>(0x80 | (character & 0x3F));
    } else if (character < 0x10000) {
        bytes += static_cast<char>(0xE0 | character >> 12);
        bytes += static_cast<char>(0x80 | (character >> 6 & 0x3F));
        bytes += static_cast<char>(0x80 | (character & 0x3F));
    } else {
        bytes += static_cast<char>(0xF0 | character >> 18);
        bytes += static_cast<char>(0x80 | (character >> 12 & 0x3F));
        bytes += static_cast<char>(0x80 | (character >> 6 & 0x3F));
        bytes += static_cast<char>(0x80 | (character & 0x3F));
    }
    return bytes;
}

std::string utf8FromUtf16le(const std::string& bytes)
{
    std::string text;
    auto unit = [&](std::size_t at) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8);
    };
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        char32_t character = unit(at);
        if (character >= 0xD800 && character <= 0xDBFF && at + 3 < bytes.size() && unit(at + 2) >= 0xDC00 &&
            unit(at + 2) <= 0xDFFF) {
            character = 0x10000 + ((character - 0xD800) << 10) + (unit(at + 2) - 0xDC00);
            at += 2;
        } else if (character >= 0xD800 && character <= 0xDFFF) {
            character = 0xFFFD;
        }
        text += utf8Character(character);
    }
    return text;
}

namespace {

char32_t decodeUtf8(const std::string& text, std::size_t at, std::size_t length)
{
    static constexpr unsigned char leadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t character = static_cast<unsigned char>(text[at]) & leadBits[length];
    for (std::size_t i = 1; i < length; ++i)
        character = character << 6 | (static_cast<unsigned char>(text[at + i]) & 0x3F);
    return character;
}

} // namespace

std::string shiftJisFromUtf8(const std::string& text, bool& lost)
{
    std::string shiftJis;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = utf8CharacterLength(text, at);
        const std::string character = length == 0   ? std::string()
                                      : length == 1 ? text.substr(at, 1)
                                                    : shiftJisCharacter(decodeUtf8(text, at, length));
        lost = lost || character.empty();
        shiftJis += character.empty() ? std::string("?") : character;
        at += length == 0 ? 1 : length;
    }
    return shiftJis;
}
