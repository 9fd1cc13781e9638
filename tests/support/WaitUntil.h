#pragma once

#include <QTest>

#include <gtest/gtest.h>

// Qt's QTRY_ macros report to a Qt Test run, which a GoogleTest binary does not have: a wait that
// runs out there returns from the test without failing it. These wait the same way, processing
// events, and fail the test when the time runs out.
#define WAIT_UNTIL_MS(condition, ms)                                                                                   \
    ASSERT_TRUE(QTest::qWaitFor([&] { return static_cast<bool>(condition); }, ms))                                     \
        << "waited " << (ms) << " ms for " #condition

#define WAIT_UNTIL(condition) WAIT_UNTIL_MS(condition, 5000)

#define WAIT_UNTIL_EQ(actual, expected)                                                                                \
    do {                                                                                                               \
        (void)QTest::qWaitFor([&] { return (actual) == (expected); }, 5000);                                           \
        ASSERT_EQ(actual, expected);                                                                                   \
    } while (false)
