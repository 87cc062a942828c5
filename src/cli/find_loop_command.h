#pragma once
// morlo-cli find-loop: where each chosen piece's music repeats, or a plain audio file's, with up
// to three candidates, the definition's lines to paste, and how far the definition's own loop is
// from the best.
#include "cli/arguments.h"
#include "definition/loop_definition.h"

// The exit status: 0 when every piece's loop was found, 1 when any was not, 2 for a usage error.
int findLoopInDefinition(const LoopDefinition& definition, const CliArguments& arguments);
int findLoopInAudio(const CliArguments& arguments);
