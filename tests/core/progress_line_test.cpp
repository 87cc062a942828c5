#include "cli/progress_line.h"

#include <gtest/gtest.h>

// morlo-cli's texts are UTF-8 on every system; so are this file's literals, also under Wine.
TEST(ProgressLine, FitsTheWidthWithoutSplittingACharacter)
{
    const std::string bar = "[###############...............]  50%  ";
    const std::string ascii = "Nocturne for the Long Walk Home Through the Old Forest, in the Rain (Extended Version)";
    const std::string japanese = "夜明け前の森の小径をひとりで歩く旅人のための長い組曲より第三楽章";
    const std::string mixed = "第3楽章 Allegro ma non troppo ～森の小径～ ﾃﾞﾓ版";
    const struct { std::string title; int columns; std::string line; } table[] = {
        {ascii, 20, " 50%  Nocturne fo..."}, {ascii, 40, bar + "."},
        {ascii, 80, bar + "Nocturne for the Long Walk Home Throug..."},
        {ascii, 124, bar + "Nocturne for the Long Walk Home Through the Old Forest, in the Rain (Extended Vers..."},
        {japanese, 20, " 50%  夜明け前の..."}, {japanese, 120, bar + japanese}, {japanese, 6, " 50%"},
        {japanese, 80, bar + "夜明け前の森の小径をひとりで歩く旅人の..."},
        {japanese, 81, bar + "夜明け前の森の小径をひとりで歩く旅人の..."},
        {mixed, 20, " 50%  第3楽章 All..."}, {mixed, 120, bar + mixed},
        {mixed, 80, bar + "第3楽章 Allegro ma non troppo ～森の小..."},
        {"Tab\there\x1b[2J", 120, bar + "Tab?here?[2J"},
    };
    for (const auto& row : table)
        EXPECT_EQ(progressLine(50, row.title, row.columns), row.line) << row.columns;
}
