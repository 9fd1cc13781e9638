#include "tests/support/TestEnvironment.h"

#include <QGuiApplication>

#include <curl/curl.h>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    PrepareTestProcess();
    curl_global_init(CURL_GLOBAL_DEFAULT);
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new TestEnvironment);
    return RUN_ALL_TESTS();
}
