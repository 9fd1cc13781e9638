#include "base/TextRules.h"

#include <gtest/gtest.h>

TEST(TextRules, AtoiReadsLikeTheCLibrary)
{
    EXPECT_EQ(Atoi(u"  -120,40"), -120);
    EXPECT_EQ(Atoi(u"\t+42abc"), 42);
    EXPECT_EQ(Atoi(u"abc"), 0);
    EXPECT_EQ(Atoi(u""), 0);
    EXPECT_EQ(Atoi(u"- 5"), 0);
    EXPECT_EQ(Atoi(u"99999999999"), 2147483647);
    EXPECT_EQ(Atoi(u"-99999999999"), -2147483647 - 1);
}

TEST(TextRules, CountersHaveFiveCharactersWithTheSignInside)
{
    EXPECT_EQ(FormatCounter(120), QStringLiteral("00120"));
    EXPECT_EQ(FormatCounter(-10), QStringLiteral("-0010"));
    EXPECT_EQ(FormatCounter(0), QStringLiteral("00000"));
    EXPECT_EQ(FormatCounter(1234567), QStringLiteral("1234567"));
}

TEST(TextRules, TokensAreTheNonEmptyRunsBetweenSeparators)
{
    EXPECT_EQ(SplitTokens(u",,COM2,,38400", u','), QStringList({QStringLiteral("COM2"), QStringLiteral("38400")}));
    EXPECT_EQ(SplitTokens(u"COM3", u','), QStringList({QStringLiteral("COM3")}));
    EXPECT_TRUE(SplitTokens(u",,,", u',').isEmpty());
}
