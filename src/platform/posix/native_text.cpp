#include "platform/native_text.h"

#include "platform/posix/convert_encoding.h"

std::string utf8Text(const std::string& shiftJis) { return convertEncoding(shiftJis, "CP932", "UTF-8"); }

std::string joinPath(const std::string& folder, const std::string& name)
{
    // UTF-8 never uses the byte '/' inside a character, so the last byte tells.
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + '/' + name;
}
