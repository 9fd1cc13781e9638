#include "base/AppConfig.h"
#include "base/LoadText.h"

#include <gtest/gtest.h>

TEST(LoadText, EveryLanguageButGermanReadsEnglish)
{
    EXPECT_EQ(LoadText(1002, 0), QStringLiteral("Der Kommunikationsport konnte nicht geöffnet werden !"));
    EXPECT_EQ(LoadText(1002, 1), QStringLiteral("Cannot open the communication port !"));
    EXPECT_EQ(LoadText(2025, 7), QStringLiteral("Set Null"));
    EXPECT_EQ(LoadText(1004, 1), QStringLiteral("Do you want reset the camera position to zero  ?"));

    appConfig().language = 1;
    EXPECT_EQ(LoadText(2011), QStringLiteral("Exit"));
    appConfig().language = 0;
    EXPECT_EQ(LoadText(2011), QStringLiteral("Beenden"));
}

TEST(LoadText, EveryTextExistsInBothLanguagesAndUnknownIdsAreEmpty)
{
    for (int id = 1000; id <= 2046; ++id) {
        if (id == 1003 || (id > 1017 && id <= 2000))
            continue;
        EXPECT_FALSE(LoadText(id, 0).isEmpty()) << id;
        EXPECT_FALSE(LoadText(id, 1).isEmpty()) << id;
    }
    EXPECT_TRUE(LoadText(1003, 0).isEmpty());
    EXPECT_TRUE(LoadText(4711, 1).isEmpty());
}

TEST(LoadText, ValueNamesIgnoreTheLanguage)
{
    appConfig().language = 1;
    EXPECT_EQ(LoadString(StringId::kSection), QStringLiteral("Settings"));
    EXPECT_EQ(LoadString(StringId::kCmd1 + 7), QStringLiteral("Cmd8"));
    EXPECT_EQ(LoadString(StringId::kActPos), QStringLiteral("ActPos"));
    appConfig().language = 0;
}
