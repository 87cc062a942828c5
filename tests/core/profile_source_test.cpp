// The same fixture is read through the Windows profile functions and through the portable
// reader: both must give these answers.
#include "platform/profile_source.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

class ProfileRules : public ::testing::Test {
protected:
    void SetUp() override
    {
        profile = openProfile(fixturePath("profile_rules.ini"));
        ASSERT_NE(profile, nullptr);
    }
    std::string text(const char* key) { return profile->readText("Rules", key); }
    std::uint32_t number(const char* key) { return profile->readInteger("Rules", key, 77); }

    std::unique_ptr<ProfileSource> profile;
};

TEST_F(ProfileRules, TrimsNamesAndValues)
{
    EXPECT_EQ(text("spaced key"), "spaced value");
    EXPECT_EQ(profile->readText("Spaced Section", "key"), "found");
}

TEST_F(ProfileRules, RemovesQuotesAroundAWholeValueOnly)
{
    EXPECT_EQ(text("quoted"), "quoted value");
    EXPECT_EQ(text("single"), "single");
    EXPECT_EQ(text("empty quotes"), "");
    EXPECT_EQ(text("unbalanced"), "\"abc");
    EXPECT_EQ(text("inner"), "a\"b\"c");
}

TEST_F(ProfileRules, KeepsSemicolonsInsideValues) { EXPECT_EQ(text("semicolon"), "v ; x"); }

TEST_F(ProfileRules, MatchesSectionsAndKeysWithoutCase)
{
    EXPECT_EQ(text("CASEKEY"), "upper");
    EXPECT_EQ(profile->readText("RULES", "casekey"), "upper");
}

TEST_F(ProfileRules, TakesTheFirstOfRepeatedKeysAndSections)
{
    EXPECT_EQ(text("repeated"), "first");
    EXPECT_EQ(text("late"), "") << "only the first section of a name is searched";
}

TEST_F(ProfileRules, MissesLinesWithoutEqualsAndMissingKeys)
{
    EXPECT_EQ(text("no equals line"), "");
    EXPECT_EQ(text("absent"), "");
    EXPECT_EQ(profile->readText("Nowhere", "key"), "");
}

TEST_F(ProfileRules, ReadsIntegersAsTheSystemDoes)
{
    EXPECT_EQ(number("hex"), 31u);
    EXPECT_EQ(number("binary"), 5u);
    EXPECT_EQ(number("octal"), 15u);
    EXPECT_EQ(number("trailing"), 12u);
    EXPECT_EQ(number("letters"), 0u);
    EXPECT_EQ(number("negative"), 4294967295u);
    EXPECT_EQ(number("plus"), 42u);
    EXPECT_EQ(number("wrap"), 1u);
    EXPECT_EQ(number("blankint"), 77u) << "an empty value gives the default";
    EXPECT_EQ(number("absent"), 77u);
}

TEST(Profile, GivesMissingKeysForAFileThatDoesNotExist)
{
    auto profile = openProfile(fixturePath("no_such_file.ini"));
    ASSERT_NE(profile, nullptr);
    EXPECT_EQ(profile->readText("album", "title"), "");
    EXPECT_EQ(profile->readInteger("album", "n", 5), 5u);
}

TEST(Profile, RefusesAPathTooLongToMakeAbsolute)
{
    EXPECT_EQ(openProfile(std::string(5000, 'a')), nullptr);
}
