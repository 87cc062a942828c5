// morlo-cli's two tables of texts: worded alike (the same values in each), the window's own
// Japanese texts where it has them, the usage made from them, and the locale's choice between them.
#include "cli/arguments.h"
#include "cli/messages.h"
#include "definition/figures.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

static std::vector<std::string> placeholders(const char* text)
{
    const std::string copy = text;
    const std::regex placeholder("\\$[0-9]");
    std::vector<std::string> found(std::sregex_token_iterator(copy.begin(), copy.end(), placeholder), {});
    std::sort(found.begin(), found.end());
    return found;
}

TEST(Messages, BothLanguagesTakeTheSameValuesAndJapaneseIsTheWindows)
{
    for (std::size_t i = 0; i < static_cast<std::size_t>(Message::count); ++i)
        EXPECT_EQ(placeholders(englishTexts.messages[i].text), placeholders(japaneseTexts.messages[i].text))
            << englishTexts.messages[i].text;
    for (std::size_t i = 0; i < static_cast<std::size_t>(FindingText::count); ++i)
        EXPECT_EQ(placeholders(englishTexts.findings[i].text), placeholders(japaneseTexts.findings[i].text))
            << englishTexts.findings[i].text;
    const std::string question = "a.wavは存在します\n上書きしますか？";
    useLanguage(Language::Japanese);
    // The end line of a run is the window's too; cli_example.sh sees it after a real run.
    const std::string seen[] = {text(Message::TotalsLine, {formatTime(3725), formatSize(22764046)}),
                                text(Message::Question, {"a.wav"})};
    useLanguage(Language::English);
    EXPECT_EQ(seen[0], "合計時間 : 1:02:05 合計サイズ :  22,764,046");
    EXPECT_EQ(seen[1].substr(0, question.size()), question);
    EXPECT_EQ(fillIn("$1 of $0, $2 $", {"a", "b"}), "b of a, $2 $");
}

TEST(Messages, WhatAnOptionTakesIsSaidInTheLanguageInUse)
{
    const std::vector<std::string> words = {"convert", "a.mrl", "--quality", "11"};
    CliArguments parsed[2];
    std::string english, japanese;
    EXPECT_FALSE(parseArguments(words, parsed[0], english));
    useLanguage(Language::Japanese);
    EXPECT_FALSE(parseArguments(words, parsed[1], japanese));
    useLanguage(Language::English);
    EXPECT_EQ(english, "--quality takes a number from -1 to 10, not '11'");
    EXPECT_EQ(japanese, "--quality には-1 から 10 までの数を指定します('11' は使えません)");
}

// Its options, values and defaults come from the tables; the layout is what the goldens keep.
TEST(Messages, TheUsageInEachLanguage)
{
    const std::string english = usageText();
    useLanguage(Language::Japanese);
    const std::string japanese = usageText();
    useLanguage(Language::English);
    EXPECT_EQ(english, readFileBytes(fixturePath("usage_english.txt")));
    EXPECT_EQ(japanese, readFileBytes(fixturePath("usage_japanese.txt")));
}

TEST(Messages, TheLocaleChoosesTheLanguage)
{
    const auto J = Language::Japanese, E = Language::English;
    const std::tuple<const char*, const char*, const char*, Language> rows[] = {
        // LC_ALL, LC_MESSAGES, LANG
        {nullptr, nullptr, nullptr, E}, {nullptr, nullptr, "ja_JP.UTF-8", J}, {"", "", "ja_JP.eucJP", J},
        {"C", nullptr, "ja_JP.UTF-8", E}, {nullptr, "ja_JP", "C", J}, {"ja", "C", "C", J}, {nullptr, "ja@x", nullptr, J},
        {nullptr, nullptr, "jam", E}, {nullptr, nullptr, "en_US.UTF-8", E}, {"POSIX", "ja_JP", "ja_JP", E}};
    for (const auto& [lcAll, lcMessages, lang, language] : rows)
        EXPECT_EQ(localeLanguage(lcAll, lcMessages, lang), language)
            << (lcAll ? lcAll : "-") << ' ' << (lcMessages ? lcMessages : "-") << ' ' << (lang ? lang : "-");
}
