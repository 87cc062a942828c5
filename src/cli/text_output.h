#pragma once
// Every text morlo-cli prints goes out here, UTF-8 on every system: a Windows console shows it in
// its own Unicode characters whatever its code page, and a pipe or a file gets the UTF-8 bytes.
#include <cstdio>
#include <string>

// stream is stdout or stderr.
void printText(std::FILE* stream, const std::string& text);

// Whether stream shows on a terminal (a console on Windows) rather than going into a file or a pipe.
bool isTerminal(std::FILE* stream);

inline void printLine(std::FILE* stream, const std::string& text) { printText(stream, text + '\n'); }
