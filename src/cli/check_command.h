#pragma once
// morlo-cli check: every finding about every piece of a definition, writing nothing.
#include "check/findings.h"
#include "definition/loop_definition.h"
#include "definition/output_options.h"
#include "check/loop_judgement.h"

#include <cstdint>
#include <string>
#include <vector>

struct PieceCheck {
    Findings findings; // errors first, then warnings, then notes
    LoopJudgement loop;
};

struct DefinitionCheck {
    Findings file;                  // about the definition file as a whole
    std::vector<PieceCheck> pieces; // one per entry, in order
    std::uint32_t errors = 0;
    std::uint32_t warnings = 0;
    std::uint32_t notes = 0;
};

// Reads the definition at path again for what loading it passed over, then the pieces' data one
// after another from options.bgmFolder, as a conversion would, for options' loop count and fade.
DefinitionCheck checkDefinition(const LoopDefinition& definition, const std::string& path,
                                const OutputOptions& options);

// One line per finding, NUMBER<TAB>LEVEL<TAB>CODE<TAB>title: message (for the file's own findings
// "-" and its path instead of number and title), then the summary line.
void printCheck(const LoopDefinition& definition, const std::string& path, const DefinitionCheck& check);
