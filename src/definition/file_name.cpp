#include "definition/file_name.h"

#include "definition/shift_jis.h"

bool isPlainFileName(const std::string& shiftJisName)
{
    if (shiftJisName.find_first_not_of('.') == std::string::npos)
        return false;
    for (char separator : {'\\', '/', ':'})
        if (containsShiftJisCharacter(shiftJisName, separator))
            return false;
    return true;
}
