#include "definition/file_name.h"

#include "platform/native_text.h"
#include "platform/shift_jis.h"

#include <cstdio>
#include <cstring>

bool isPlainFileName(const std::string& shiftJisName)
{
    if (shiftJisName.find_first_not_of('.') == std::string::npos)
        return false;
    // '/' and ':' are never the second byte of a character: behind a lead byte they are still
    // separators to the system. Only '\\' can be part of a two-byte character. A NUL would end
    // the name the system sees early.
    if (shiftJisName.find_first_of(std::string("/:\0", 3)) != std::string::npos)
        return false;
    return !containsShiftJisCharacter(shiftJisName, '\\');
}

std::string replaceExtension(const std::string& shiftJisName, const std::string& extension)
{
    // '.' is never the second byte of a two-byte character, so the last '.' byte is a dot.
    return shiftJisName.substr(0, shiftJisName.rfind('.')) + extension;
}

namespace {

// What a Windows file name cannot hold, besides control characters.
bool fitsWindowsName(unsigned char byte)
{
    return byte >= 0x20 && byte != 0x7F && std::strchr("\\/:*?\"<>|", byte) == nullptr;
}

// The character of text at i as a name holds it, i moved past it. utf8Text shows what is no
// character as '?': such a lead byte stands alone and the byte behind it is tried anew, as the
// conversion of a path does.
std::string nameCharacter(const std::string& text, std::size_t& i)
{
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    if (isShiftJisLeadByte(byte) && i + 1 < text.size()) {
        const std::string pair = text.substr(i, 2);
        if (utf8Text(pair).find('?') == std::string::npos) {
            i += 2;
            return pair;
        }
    }
    ++i;
    const std::string single(1, static_cast<char>(byte));
    return fitsWindowsName(byte) && utf8Text(single) != "?" ? single : "_";
}

} // namespace

std::string titleFileName(std::uint32_t track, const std::string& shiftJisTitle, const std::string& extension)
{
    char number[16];
    std::snprintf(number, sizeof number, "%02u", static_cast<unsigned>(track));
    std::string name = std::string(number) + (shiftJisTitle.empty() ? "" : " ");
    std::size_t room = longestTitleFileName - fileNameLength(name + extension);
    std::size_t i = 0;
    while (i < shiftJisTitle.size()) {
        const std::string character = nameCharacter(shiftJisTitle, i);
        const std::size_t length = fileNameLength(utf8Text(character));
        if (length > room)
            break;
        room -= length;
        name += character;
    }
    return name + extension;
}
