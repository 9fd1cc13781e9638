#include "platform/QtMessageBoxes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Runs `inspect` on the message box once it is up.
void whenBoxShows(std::function<void(QMessageBox&)> inspect)
{
    QTimer::singleShot(0, [inspect] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        inspect(*box);
    });
}

} // namespace

TEST(QtMessageBoxes, QuestionShowsCaptionIconAndYesNo)
{
    whenBoxShows([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), u"Pantiro [Mobotix]"_s);
        EXPECT_EQ(box.text(), u"Möchten Sie Pantiro wirklich beenden ?"_s);
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(ShowQtMessageBox({nullptr, u"Möchten Sie Pantiro wirklich beenden ?"_s, u"Pantiro [Mobotix]"_s,
                                MessageButtons::YesNo, MessageIcon::Question}),
              MessageAnswer::Yes);

    whenBoxShows([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(ShowQtMessageBox({nullptr, u"?"_s, u"Pantiro [Mobotix]"_s, MessageButtons::YesNo, MessageIcon::Question}),
              MessageAnswer::No);
}

TEST(QtMessageBoxes, IconsAndOkButtonMapAndTheOwnerIsTheParent)
{
    QWidget owner;
    const std::pair<MessageIcon, QMessageBox::Icon> icons[] = {{MessageIcon::Information, QMessageBox::Information},
                                                               {MessageIcon::Stop, QMessageBox::Critical},
                                                               {MessageIcon::None, QMessageBox::NoIcon}};
    for (const auto& [icon, qtIcon] : icons) {
        whenBoxShows([&owner, qtIcon](QMessageBox& box) {
            EXPECT_EQ(box.icon(), qtIcon);
            EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
            EXPECT_EQ(box.parentWidget(), &owner);
            box.button(QMessageBox::Ok)->click();
        });
        EXPECT_EQ(ShowQtMessageBox({&owner, u"Text"_s, u"Caption"_s, MessageButtons::Ok, icon}), MessageAnswer::Ok);
    }
}

TEST(QtMessageBoxes, InstalledTheyAnswerEveryMessageBox)
{
    InstallQtMessageBoxes();
    whenBoxShows([](QMessageBox& box) { box.button(QMessageBox::No)->click(); });
    EXPECT_EQ(MessageBox(nullptr, u"Frage"_s, MessageButtons::YesNo, MessageIcon::Question), MessageAnswer::No);
}
