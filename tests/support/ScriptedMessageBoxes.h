#pragma once

#include "base/MessageBox.h"

#include <gtest/gtest.h>

#include <QList>

// Message boxes in tests. Around every test an answerer is installed that answers the boxes a
// test announced with expect(), in order, and fails the test on any other box; at the end of
// the test every announced box must have appeared.
class ScriptedMessageBoxes {
public:
    static void expect(const QString& text, MessageButtons buttons, MessageIcon icon, MessageAnswer answer,
                       const QString& caption = kMessageCaption);
    // Every box shown in the current test so far.
    static const QList<MessageBoxRequest>& shown();

    class Listener : public ::testing::EmptyTestEventListener {
    public:
        void OnTestStart(const ::testing::TestInfo&) override;
        void OnTestEnd(const ::testing::TestInfo&) override;
    };
};
