#pragma once

#include <gtest/gtest.h>

// Before the Qt application exists: a private settings home, state folder (the journal), runtime
// directory and working directory for this test process, so that no test touches the real user's files, and the
// offscreen platform. The home is removed when the process exits.
void PrepareTestProcess();

// Installs, around every test, a message-box answerer that fails the test on any box it did
// not expect (see ScriptedMessageBoxes).
class TestEnvironment : public ::testing::Environment {
public:
    void SetUp() override;
};
