#include "platform/unicode_text.h"

#include "platform/win32/wide_text.h"

#include <windows.h>

std::string shiftJisCharacter(char32_t character)
{
    const std::wstring wide = wideFromUtf8(utf8Character(character));
    char bytes[4];
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), bytes,
                                           sizeof bytes, nullptr, &usedDefault);
    if (length <= 0 || usedDefault)
        return std::string();
    const std::string shiftJis(bytes, static_cast<std::size_t>(length));
    // A character the tables only map one way (a look-alike) does not count.
    return wideFromShiftJis(shiftJis) == wide ? shiftJis : std::string();
}
