#pragma once
// morlo-cli's --json documents: UTF-8 whatever the system, keys as the README lists them.
#include "cli/check_command.h"
#include "definition/loop_definition.h"

#include <cstdint>
#include <string>

std::string listJson(const LoopDefinition& definition, std::uint32_t loopCount, std::uint32_t fadeSeconds);
std::string checkJson(const LoopDefinition& definition, const DefinitionCheck& check, std::uint32_t loopCount,
                      std::uint32_t fadeSeconds);
