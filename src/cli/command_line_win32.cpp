#include "cli/command_line.h"

#include "cli/messages.h"
#include "platform/win32/wide_text.h"

#include <new>
#include <windows.h>
#include <shellapi.h>

// The narrow arguments are in the ANSI code page, which turns what it lacks into look-alikes or
// '?': they are read from the command line as the system keeps it, in UTF-16.
bool commandLineWords(int, char**, std::vector<std::string>& words, std::string& problem)
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        throw std::bad_alloc();
    for (int i = 1; i < count; ++i) {
        std::string word = utf8FromWide(wide[i]);
        if (word.empty() && wide[i][0] != L'\0') {
            problem = text(Message::ArgumentNotText, {std::to_string(i)});
            break;
        }
        words.push_back(std::move(word));
    }
    LocalFree(wide);
    return problem.empty();
}
