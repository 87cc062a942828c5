#include "cli/text_output.h"

#include "platform/win32/wide_text.h"

#include <algorithm>
#include <io.h>
#include <windows.h>

namespace {

// Older consoles refuse a single write of much more than this.
constexpr std::size_t consolePiece = 8192;

void writeConsole(HANDLE console, const std::wstring& text)
{
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = std::min(consolePiece, text.size() - at);
        // A surrogate pair is written whole.
        if (at + length < text.size() && IS_HIGH_SURROGATE(text[at + length - 1]))
            --length;
        DWORD written = 0;
        if (!WriteConsoleW(console, text.data() + at, static_cast<DWORD>(length), &written, nullptr) || written == 0)
            return;
        at += written;
    }
}

// The bytes as they are: the C library's text mode would put a CR before every LF.
void writeBytes(HANDLE file, const std::string& text)
{
    for (std::size_t at = 0; at < text.size();) {
        DWORD written = 0;
        if (!WriteFile(file, text.data() + at, static_cast<DWORD>(text.size() - at), &written, nullptr) || written == 0)
            return;
        at += written;
    }
}

HANDLE handleOf(std::FILE* stream) { return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))); }

} // namespace

void printText(std::FILE* stream, const std::string& text)
{
    const HANDLE handle = handleOf(stream);
    if (isTerminal(stream))
        writeConsole(handle, wideFromUtf8(text));
    else
        writeBytes(handle, text);
}

// A console answers for its mode; a file or a pipe does not.
bool isTerminal(std::FILE* stream)
{
    DWORD mode = 0;
    return GetConsoleMode(handleOf(stream), &mode) != 0;
}
