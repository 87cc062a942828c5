#include "cli/arguments.h"

#include <gtest/gtest.h>

TEST(CliArguments, LimitsCountsAsTheMainWindowDoes)
{
    std::uint32_t count = 0;
    ASSERT_TRUE(parseCount("7", count));
    EXPECT_EQ(count, 7u);
    ASSERT_TRUE(parseCount("1500", count));
    EXPECT_EQ(count, 999u);
    ASSERT_TRUE(parseCount("-1", count));
    EXPECT_EQ(count, 999u) << "negative numbers count as 999";
    ASSERT_TRUE(parseCount("99999999999", count));
    EXPECT_EQ(count, 999u);
    EXPECT_FALSE(parseCount("", count));
    EXPECT_FALSE(parseCount("3x", count));
}

TEST(CliArguments, ReadsPieceListsInAscendingOrderWithoutRepeats)
{
    std::vector<std::int32_t> rows;
    std::string problem;
    ASSERT_TRUE(parsePieceList("4,0,2-4", 5, rows, problem));
    EXPECT_EQ(rows, (std::vector<std::int32_t>{0, 2, 3, 4}));
    EXPECT_FALSE(parsePieceList("5", 5, rows, problem));
    EXPECT_NE(problem.find("no piece 5"), std::string::npos);
    for (const char* bad : {"", "1,", "3-1", "a", "-2", "1-2-3"})
        EXPECT_FALSE(parsePieceList(bad, 5, rows, problem)) << bad;
}

TEST(CliArguments, ParsesBothCommands)
{
    CliArguments parsed;
    std::string problem;
    ASSERT_TRUE(parseArguments({"convert", "a.mrl", "--bgm", "in", "--out", "out", "--loops", "3", "--fade", "0",
                                "--only", "1", "--yes"},
                               parsed, problem))
        << problem;
    EXPECT_EQ(parsed.command, CliArguments::Command::Convert);
    EXPECT_EQ(parsed.definitionPath, "a.mrl");
    EXPECT_EQ(parsed.bgmFolder, "in");
    EXPECT_EQ(parsed.outputFolder, "out");
    EXPECT_EQ(parsed.loopCount, 3u);
    EXPECT_EQ(parsed.fadeSeconds, 0u);
    EXPECT_EQ(parsed.only, "1");
    EXPECT_TRUE(parsed.overwrite);

    CliArguments listing;
    ASSERT_TRUE(parseArguments({"list", "a.mrl"}, listing, problem));
    EXPECT_EQ(listing.loopCount, 2u);
    EXPECT_EQ(listing.fadeSeconds, 10u);
}

TEST(CliArguments, RefusesWhatMakesNoSense)
{
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"play", "a.mrl"},
        {"list"},
        {"list", "a.mrl", "b.mrl"},
        {"list", "a.mrl", "--bgm", "x"},
        {"convert", "a.mrl", "--bgm", "in"},
        {"convert", "a.mrl", "--out"},
        {"list", "a.mrl", "--loops", "many"},
        {"list", "a.mrl", "--frobnicate"},
    };
    for (const auto& words : bad) {
        CliArguments parsed;
        std::string problem;
        EXPECT_FALSE(parseArguments(words, parsed, problem)) << (words.empty() ? "" : words[0]);
        EXPECT_FALSE(problem.empty());
    }
}
