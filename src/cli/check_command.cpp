#include "cli/check_command.h"

#include "convert/data_findings.h"
#include "definition/definition_findings.h"
#include "platform/native_text.h"

#include <algorithm>
#include <cstdio>
#include <string>

DefinitionCheck checkDefinition(const LoopDefinition& definition, const std::string& bgmFolder,
                                std::uint32_t loopCount, FadeRequest fade)
{
    DefinitionCheck check;
    WaveBuffer buffer;
    const auto& entries = definition.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        PieceCheck piece;
        piece.findings = definitionFindings(definition, i, loopCount, fade);
        PieceDataCheck data = checkPieceData(entries[i], bgmFolder, buffer);
        piece.findings.insert(piece.findings.end(), data.findings.begin(), data.findings.end());
        piece.seam = data.seam;
        std::stable_partition(piece.findings.begin(), piece.findings.end(),
                              [](const Finding& finding) { return finding.level == FindingLevel::Error; });
        for (const Finding& finding : piece.findings)
            ++(finding.level == FindingLevel::Error ? check.errors : check.warnings);
        check.pieces.push_back(std::move(piece));
    }
    return check;
}

namespace {

std::string counted(std::uint32_t count, const char* thing)
{
    return std::to_string(count) + " " + thing + (count == 1 ? "" : "s");
}

} // namespace

void printCheck(const LoopDefinition& definition, const DefinitionCheck& check)
{
    const auto& entries = definition.entries();
    for (std::size_t i = 0; i < check.pieces.size(); ++i) {
        const MusicEntry& entry = entries[i];
        const std::string name = nativeText(entry.title.empty() ? entry.file : entry.title);
        for (const Finding& finding : check.pieces[i].findings)
            std::printf("%u\t%s\t%s\t%s: %s\n", static_cast<unsigned>(i), levelText(finding.level), finding.code,
                        name.c_str(), nativeText(finding.message).c_str());
    }
    std::printf("%s checked: %s, %s\n", counted(static_cast<std::uint32_t>(check.pieces.size()), "piece").c_str(),
                counted(check.errors, "error").c_str(), counted(check.warnings, "warning").c_str());
}
