#include "platform/native_text.h"

#include <iconv.h>

#include <vector>

std::string nativeText(const std::string& shiftJis)
{
    iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return shiftJis;
    std::string result;
    std::vector<char> out(shiftJis.size() * 3 + 4);
    char* in = const_cast<char*>(shiftJis.data());
    std::size_t inLeft = shiftJis.size();
    while (inLeft > 0) {
        char* outPointer = out.data();
        std::size_t outLeft = out.size();
        std::size_t done = iconv(converter, &in, &inLeft, &outPointer, &outLeft);
        result.append(out.data(), outPointer);
        if (done == static_cast<std::size_t>(-1) && inLeft > 0) {
            // A byte that is no Shift-JIS character shows as '?' instead of ending the text.
            result += '?';
            ++in;
            --inLeft;
        }
    }
    iconv_close(converter);
    return result;
}

std::string joinPath(const std::string& folder, const std::string& name)
{
    // UTF-8 never uses the byte '/' inside a character, so the last byte tells.
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + '/' + name;
}
