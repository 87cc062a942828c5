#include "platform/native_text.h"

#include "definition/shift_jis.h"

std::string nativeText(const std::string& shiftJis) { return shiftJis; }

std::string joinPath(const std::string& folder, const std::string& name)
{
    // Judged by character: a folder ending in a two-byte character whose trail byte is 0x5C
    // still needs its separator.
    if (endsWithShiftJisCharacter(folder, '\\'))
        return folder + name;
    return folder + '\\' + name;
}
