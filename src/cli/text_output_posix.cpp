#include "cli/text_output.h"

void printText(std::FILE* stream, const std::string& text) { std::fwrite(text.data(), 1, text.size(), stream); }
