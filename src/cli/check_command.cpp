#include "cli/check_command.h"

#include "check/data_findings.h"
#include "check/definition_findings.h"
#include "check/definition_survey.h"
#include "cli/messages.h"
#include "cli/text_output.h"
#include "platform/native_text.h"

#include <algorithm>
#include <string>

namespace {

void count(const Findings& findings, DefinitionCheck& check)
{
    for (const Finding& finding : findings) {
        switch (finding.level) {
        case FindingLevel::Error:
            ++check.errors;
            break;
        case FindingLevel::Warning:
            ++check.warnings;
            break;
        case FindingLevel::Note:
            ++check.notes;
            break;
        }
    }
}

std::string counted(std::uint32_t number, Message one, Message many)
{
    return text(number == 1 ? one : many, {std::to_string(number)});
}

void printFindings(const std::string& number, const std::string& name, const Findings& findings)
{
    for (const Finding& finding : findings)
        printLine(stdout, number + '\t' + levelText(finding.level) + '\t' + finding.code + '\t' + name + ": " +
                              findingMessage(finding));
}

} // namespace

DefinitionCheck checkDefinition(const LoopDefinition& definition, const std::string& path,
                                const OutputOptions& options)
{
    DefinitionSurvey survey = surveyDefinition(path, definition);
    DefinitionCheck check;
    check.file = std::move(survey.file);
    count(check.file, check);
    WaveBuffer buffer;
    const auto& entries = definition.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        PieceCheck piece;
        piece.findings = definitionFindings(definition, i, options);
        PieceDataCheck data = checkPieceData(entries[i], options.bgmFolder, buffer);
        piece.findings.insert(piece.findings.end(), data.findings.begin(), data.findings.end());
        piece.findings.insert(piece.findings.end(), survey.notes[i].begin(), survey.notes[i].end());
        piece.loop = data.loop;
        std::stable_sort(piece.findings.begin(), piece.findings.end(),
                         [](const Finding& a, const Finding& b) { return a.level < b.level; });
        count(piece.findings, check);
        check.pieces.push_back(std::move(piece));
    }
    return check;
}

void printCheck(const LoopDefinition& definition, const std::string& path, const DefinitionCheck& check)
{
    printFindings("-", path, check.file);
    const auto& entries = definition.entries();
    for (std::size_t i = 0; i < check.pieces.size(); ++i) {
        const MusicEntry& entry = entries[i];
        printFindings(std::to_string(i), utf8Text(entry.title.empty() ? entry.file : entry.title),
                      check.pieces[i].findings);
    }
    const std::string pieces = counted(static_cast<std::uint32_t>(check.pieces.size()), Message::PieceOne, Message::PieceMany);
    const std::string errors = counted(check.errors, Message::ErrorOne, Message::ErrorMany);
    const std::string warnings = counted(check.warnings, Message::WarningOne, Message::WarningMany);
    const std::string summary =
        check.notes == 0 ? text(Message::CheckSummary, {pieces, errors, warnings})
                         : text(Message::CheckSummaryNotes,
                                {pieces, errors, warnings, counted(check.notes, Message::NoteOne, Message::NoteMany)});
    printLine(stdout, summary);
}
