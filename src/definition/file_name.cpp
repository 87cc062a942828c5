#include "definition/file_name.h"

#include "platform/shift_jis.h"

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
