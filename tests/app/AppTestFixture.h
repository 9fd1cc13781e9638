#pragma once

#include "app/CAppDlg.h"
#include "app/CPantiroApp.h"
#include "base/Settings.h"
#include "tests/platform/support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <memory>

// Starts Pantiro in the test process with the settings the test wrote first. The head is
// commanded over the camera unless a test configures a serial port.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static void writeSetting(const char* name, const QString& value);
    // The stored text, or "<missing>".
    static QString setting(const char* name);

    // A fresh start of the application; the main window of a start that was not refused.
    CAppDlg& start();
    // Ends the running instance the way a crash would: no exit question, nothing saved.
    void stop();

    ScriptedDialogs dialogs;
    std::unique_ptr<CPantiroApp> app;
};
