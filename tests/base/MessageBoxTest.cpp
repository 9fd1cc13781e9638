#include "base/MessageBox.h"

#include "tests/support/ScriptedMessageBoxes.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

TEST(MessageBox, ScriptedBoxesAreAnsweredInOrderWithTheProgramsCaption)
{
    ScriptedMessageBoxes::expect(u"first ?"_qs, MessageButtons::YesNo, MessageIcon::Question, MessageAnswer::Yes);
    ScriptedMessageBoxes::expect(u"second !"_qs, MessageButtons::Ok, MessageIcon::Stop, MessageAnswer::Ok,
                                 u"CPicture Error"_qs);

    EXPECT_EQ(MessageBox(nullptr, u"first ?"_qs, MessageButtons::YesNo, MessageIcon::Question), MessageAnswer::Yes);
    EXPECT_EQ(MessageBox(nullptr, u"second !"_qs, MessageButtons::Ok, MessageIcon::Stop, u"CPicture Error"_qs),
              MessageAnswer::Ok);
    ASSERT_EQ(ScriptedMessageBoxes::shown().size(), 2);
    EXPECT_EQ(ScriptedMessageBoxes::shown().first().caption, u"Pantiro [Mobotix]"_qs);
}

TEST(MessageBox, AnUnexpectedBoxFailsTheTestAndGetsTheSafeAnswer)
{
    MessageAnswer answer = MessageAnswer::Yes;
    EXPECT_NONFATAL_FAILURE(
        answer = MessageBox(nullptr, u"delete everything ?"_qs, MessageButtons::YesNo, MessageIcon::Question),
        "unexpected message box");
    EXPECT_EQ(answer, MessageAnswer::No);
}

TEST(MessageBox, WithoutAnAnswererTheSafeChoiceIsTaken)
{
    const MessageBoxAnswerer scripted = SetMessageBoxAnswerer(nullptr);
    EXPECT_EQ(MessageBox(nullptr, u"quit ?"_qs, MessageButtons::YesNo, MessageIcon::Question), MessageAnswer::No);
    EXPECT_EQ(MessageBox(nullptr, u"note"_qs, MessageButtons::Ok, MessageIcon::Information), MessageAnswer::Ok);
    SetMessageBoxAnswerer(scripted);
}
