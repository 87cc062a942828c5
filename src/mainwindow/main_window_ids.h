#pragma once
// Menu entries and controls of the main window. Popups and the separator carry ids too.
#include "definition/output_options.h"

#include <cstdint>

constexpr std::uint16_t fileMenuId = 1038;
constexpr std::uint16_t openCommand = 1039;
constexpr std::uint16_t writeWaveCommand = 1040;
constexpr std::uint16_t fileSeparatorId = 1041;
constexpr std::uint16_t exitCommand = 1042;
constexpr std::uint16_t editMenuId = 1043;
constexpr std::uint16_t tickAllCommand = 1044;
constexpr std::uint16_t untickAllCommand = 1045;
constexpr std::uint16_t invertTicksCommand = 1046;
constexpr std::uint16_t helpMenuId = 1047;
constexpr std::uint16_t versionCommand = 1048;

struct MenuCommand {
    std::uint16_t id;
    const char* text;
};
// The same three entries in the Edit menu and in the list's right-click menu.
constexpr MenuCommand tickCommands[] = {
    {tickAllCommand, "全て選択(&A)"},
    {untickAllCommand, "全て解除(&U)"},
    {invertTicksCommand, "選択反転(&R)"},
};

constexpr std::uint16_t optionsMenuId = 1058;
constexpr std::uint16_t tagsChoiceCommand = 1059;
constexpr std::uint16_t loopPointsChoiceCommand = 1060;
constexpr std::uint16_t fullFadeChoiceCommand = 1061;

// The items of the Options menu: each turns one of a run's file choices on and off with its
// check mark, unchecked at every start.
struct MenuChoice {
    std::uint16_t id;
    const char* text;
    bool FileChoices::*choice;
};
constexpr MenuChoice fileChoiceItems[] = {
    {tagsChoiceCommand, "タグを書き込む(&T)", &FileChoices::tags},
    {loopPointsChoiceCommand, "ループ位置を書き込む(&L)", &FileChoices::loopPoints},
    {fullFadeChoiceCommand, "フェードを最後まで(&F)", &FileChoices::fullFade},
};

constexpr std::uint16_t waveFormatCommand = 1062;
constexpr std::uint16_t flacFormatCommand = 1063;
constexpr std::uint16_t oggVorbisFormatCommand = 1064;
// A separator sends no command; the numbers after the format items are the list menu's.
constexpr std::uint16_t optionsSeparatorId = 0;

// The Options menu's format items below its check items: one of them is chosen, WAVE at every
// start. Their ids are in a row, as one group of marks.
struct FormatChoice {
    std::uint16_t id;
    const char* text;
    OutputFormat format;
};
constexpr FormatChoice formatChoiceItems[] = {
    {waveFormatCommand, "WAVE(&W)", OutputFormat::Wave},
    {flacFormatCommand, "FLAC(&C)", OutputFormat::Flac},
    {oggVorbisFormatCommand, "Ogg Vorbis(&V)", OutputFormat::OggVorbis},
};

constexpr std::uint16_t statusBarId = 1049;
constexpr std::uint16_t musicListId = 1050;
constexpr std::uint16_t albumLabelId = 1051;
constexpr std::uint16_t loopCountFieldId = 1052;
constexpr std::uint16_t loopCountArrowsId = 1053;
constexpr std::uint16_t loopCountLabelId = 1054;
constexpr std::uint16_t fadeSecondsFieldId = 1055;
constexpr std::uint16_t fadeSecondsArrowsId = 1056;
constexpr std::uint16_t fadeSecondsLabelId = 1057;
