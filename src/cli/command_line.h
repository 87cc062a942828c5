#pragma once
// The words of morlo-cli's command line, as UTF-8 on every system.
#include <string>
#include <vector>

// The arguments after the program's name. False with a one-line reason when one cannot be held
// as UTF-8: any other text in its place would name another file than the one typed.
bool commandLineWords(int argc, char** argv, std::vector<std::string>& words, std::string& problem);
