#include "platform/posix/convert_encoding.h"

#include <cerrno>
#include <iconv.h>

std::string convertEncoding(const std::string& text, const char* from, const char* to)
{
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return text;
    std::string result;
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char out[4096];
    while (inLeft > 0) {
        char* outPointer = out;
        std::size_t outLeft = sizeof out;
        std::size_t done = iconv(converter, &in, &inLeft, &outPointer, &outLeft);
        int problem = errno;
        result.append(out, outPointer);
        if (done == static_cast<std::size_t>(-1) && problem != E2BIG && inLeft > 0) {
            result += '?';
            ++in;
            --inLeft;
        }
    }
    iconv_close(converter);
    return result;
}
