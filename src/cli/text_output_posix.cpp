#include "cli/text_output.h"

#include <unistd.h>

void printText(std::FILE* stream, const std::string& text) { std::fwrite(text.data(), 1, text.size(), stream); }

bool isTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }
