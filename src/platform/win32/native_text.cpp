#include "platform/native_text.h"

#include "platform/shift_jis.h"

#include <windows.h>

namespace {

// One character (one or two bytes) as UTF-8; empty when it is no character of code page 932.
std::string characterAsUtf8(const char* bytes, int length)
{
    wchar_t wide[2];
    int wideLength = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, length, wide, 2);
    if (wideLength <= 0)
        return std::string();
    char utf8[8];
    int utf8Length = WideCharToMultiByte(CP_UTF8, 0, wide, wideLength, utf8, sizeof utf8, nullptr, nullptr);
    return std::string(utf8, utf8Length > 0 ? static_cast<std::size_t>(utf8Length) : 0);
}

} // namespace

std::string utf8Text(const std::string& shiftJis)
{
    // Character by character, so that a bad byte becomes '?' and the next byte is tried anew,
    // as the iconv conversion of the other systems does.
    std::string result;
    std::size_t i = 0;
    while (i < shiftJis.size()) {
        bool pair = isShiftJisLeadByte(static_cast<unsigned char>(shiftJis[i])) && i + 1 < shiftJis.size();
        std::string character = pair ? characterAsUtf8(shiftJis.data() + i, 2) : std::string();
        if (!character.empty()) {
            result += character;
            i += 2;
            continue;
        }
        character = characterAsUtf8(shiftJis.data() + i, 1);
        result += character.empty() ? std::string("?") : character;
        ++i;
    }
    return result;
}

std::string joinPath(const std::string& folder, const std::string& name)
{
    // UTF-8 never uses the byte '\\' inside a character, so the last byte tells.
    if (!folder.empty() && folder.back() == '\\')
        return folder + name;
    return folder + '\\' + name;
}
