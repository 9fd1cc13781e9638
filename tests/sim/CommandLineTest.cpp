#include "sim/CommandLine.h"

#include <gtest/gtest.h>

namespace {

QStringList arguments(const std::vector<const char*>& options)
{
    QStringList list{QStringLiteral("pantiro-sim")};
    for (const char* option : options)
        list << QString::fromLatin1(option);
    return list;
}

TEST(SimCommandLineTest, DefaultsAndValues)
{
    CommandLine defaults;
    ASSERT_TRUE(defaults.parse(arguments({})));
    const SimOptions& d = defaults.options();
    EXPECT_EQ(d.httpPort, 8080);
    EXPECT_EQ(d.head.panSpeed, 10.0);
    EXPECT_FALSE(d.head.startPan.has_value());
    EXPECT_EQ(d.pictureSize, QSize(640, 480));
    EXPECT_EQ(d.faults.status, 0);

    CommandLine given;
    ASSERT_TRUE(given.parse(arguments(
        {"--http-port",    "0",   "--serial-link",   "/tmp/head", "--pan-speed",    "2.5", "--tilt-speed", "1",
         "--pan-end-stop", "300", "--tilt-min",      "-10",       "--tilt-max",     "20",  "--start-pan",  "300",
         "--start-tilt",   "-10", "--start-latency", "0",         "--stop-latency", "120", "--size",       "1280x960",
         "--fault-status", "500", "--fault-picture", "close",     "--quiet"})))
        << qPrintable(given.errorText());
    const SimOptions& g = given.options();
    EXPECT_EQ(g.httpPort, 0);
    EXPECT_EQ(g.serialLink, QStringLiteral("/tmp/head"));
    EXPECT_EQ(g.head.panSpeed, 2.5);
    EXPECT_EQ(g.head.startPan, 300.0);
    EXPECT_EQ(g.head.stopLatency, std::chrono::milliseconds(120));
    EXPECT_EQ(g.pictureSize, QSize(1280, 960));
    EXPECT_EQ(g.faults.picture, PictureFault::Close);
    EXPECT_TRUE(g.quiet);
}

TEST(SimCommandLineTest, RefusesWhatCannotWork)
{
    const std::vector<std::vector<const char*>> wrong = {
        {"--http-port", "70000"},
        {"--http-port", "80.5"},
        {"--pan-speed", "0"},
        {"--pan-speed", "fast"},
        {"--tilt-min", "10"},
        {"--start-pan", "351"},
        {"--size", "640"},
        {"--size", "8x8"},
        {"--stop-latency", "-5"},
        {"--fault-status", "200"},
        {"--fault-picture", "odd"},
        {"--auth", "ntlm"},
        {"--camera-password", "pw"},                         // without a user name
        {"--camera-user", "a:b", "--camera-password", "pw"}, // Basic cannot carry a colon in the name
        {"surplus"},
    };
    for (const auto& options : wrong) {
        CommandLine commandLine;
        EXPECT_FALSE(commandLine.parse(arguments(options))) << options.front();
        EXPECT_FALSE(commandLine.errorText().isEmpty());
    }
}

} // namespace
