#include "platform/native_text.h"

#include "platform/posix/convert_encoding.h"

std::string nativeText(const std::string& shiftJis) { return utf8Text(shiftJis); }

std::string utf8Text(const std::string& shiftJis) { return convertEncoding(shiftJis, "CP932", "UTF-8"); }

std::string utf8FromNative(const std::string& native) { return native; }

std::string joinPath(const std::string& folder, const std::string& name)
{
    // UTF-8 never uses the byte '/' inside a character, so the last byte tells.
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + '/' + name;
}
