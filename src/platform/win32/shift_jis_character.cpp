#include "platform/unicode_text.h"

#include <windows.h>

std::string shiftJisCharacter(char32_t character)
{
    wchar_t wide[2];
    int wideLength = 1;
    if (character >= 0x10000) {
        wide[0] = static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10));
        wide[1] = static_cast<wchar_t>(0xDC00 + ((character - 0x10000) & 0x3FF));
        wideLength = 2;
    } else {
        wide[0] = static_cast<wchar_t>(character);
    }
    char bytes[4];
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, wideLength, bytes, sizeof bytes, nullptr,
                                           &usedDefault);
    if (length <= 0 || usedDefault)
        return std::string();
    // A character the tables only map one way (a look-alike) does not count.
    wchar_t back[2];
    const int backLength = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, length, back, 2);
    if (backLength != wideLength || back[0] != wide[0] || (wideLength == 2 && back[1] != wide[1]))
        return std::string();
    return std::string(bytes, static_cast<std::size_t>(length));
}
