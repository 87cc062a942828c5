#pragma once
// What checking a piece can find: an error (the piece would fail) or a warning (it would be
// written, probably not as its author meant). Codes are short and stable, for scripts.
#include <string>
#include <vector>

enum class FindingLevel { Error, Warning };

struct Finding {
    FindingLevel level = FindingLevel::Warning;
    const char* code = "";
    std::string message; // Shift-JIS, like the definition's own texts that it quotes
};

using Findings = std::vector<Finding>;

const char* levelText(FindingLevel level); // "error", "warning"
