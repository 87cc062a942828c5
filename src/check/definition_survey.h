#pragma once
// What reading a definition passes over in silence, for its author: sections that are never
// read, format values taken from their defaults, texts Shift-JIS cannot hold, and a file saved as
// UTF-8.
#include "check/findings.h"
#include "definition/loop_definition.h"

#include <string>
#include <vector>

struct DefinitionSurvey {
    Findings file;               // about the file as a whole
    std::vector<Findings> notes; // one list per entry, in order
};

// Reads the file at path again, definition being what loading it gave.
DefinitionSurvey surveyDefinition(const std::string& path, const LoopDefinition& definition);

