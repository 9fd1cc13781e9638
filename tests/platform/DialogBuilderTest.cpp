#include "platform/DialogBuilder.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "platform/IpAddressEdit.h"

using namespace Qt::StringLiterals;
using K = ControlKind;

namespace {

// A window that counts the left-button presses that reach it.
class PressCountingWindow : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            ++presses;
    }
};

DialogTemplate everyKind()
{
    return {u"Every kind"_s,
            200,
            150,
            {
                {10, K::GroupBox, 2, 2, 100, 60, u"Group"_s},
                {11, K::Text, 5, 12, 40, 8, u"Left"_s},
                {12, K::CentredText, 50, 12, 40, 8, u"Centre"_s},
                {13, K::Icon, 110, 5, 20, 20, {}, 107},
                {14, K::Bitmap, 110, 40, 9, 4, {}, 167},
                {15, K::PushButton, 5, 70, 50, 14, u"&Push"_s},
                {16, K::DefaultPushButton, 60, 70, 50, 14, u"&OK"_s},
                {17, K::AutoRadio, 5, 90, 40, 10, u"A"_s},
                {18, K::AutoRadio, 50, 90, 40, 10, u"B"_s},
                {19, K::Radio, 95, 90, 40, 10, u"C"_s},
                {20, K::Radio, 140, 90, 40, 10, u"D"_s},
                {21, K::CheckBox, 5, 105, 60, 10, u"Check"_s, 0, ControlFlag::Disabled},
                {22, K::Edit, 70, 105, 60, 12},
                {23, K::DropDownList, 5, 120, 61, 94},
                {24, K::IpAddress, 70, 120, 100, 12},
                {25, K::Text, 140, 12, 40, 8, u"Link"_s, 0, ControlFlag::Notify},
            }};
}

} // namespace

TEST(DialogUnits, EachValueIsConvertedAndRoundedOnItsOwn)
{
    EXPECT_EQ(DialogUnitsToPixels(7, 3, 136, 123), QRect(11, 5, 204, 200));
    EXPECT_EQ(DialogUnitsToPixels(1, 1, 1, 1), QRect(2, 2, 2, 2));
    EXPECT_EQ(DialogUnitsToPixels(314, 227, 0, 0), QRect(471, 369, 0, 0));
    EXPECT_EQ(DialogUnitsToPixels(30, 180, 20, 20), QRect(45, 293, 30, 33));
}

TEST(DialogBuilder, BuildsEveryKindAtItsPlaceAndFindsItById)
{
    QWidget window;
    BuildDialog(window, everyKind());
    EXPECT_EQ(window.windowTitle(), u"Every kind"_s);
    EXPECT_EQ(window.size(), QSize(300, 244));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.font().pointSize(), 8);

    EXPECT_TRUE(Control<QGroupBox>(window, 10));
    EXPECT_EQ(Control<QLabel>(window, 11)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_EQ(Control<QLabel>(window, 12)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_FALSE(Control<QPushButton>(window, 15)->isDefault());
    EXPECT_TRUE(Control<QPushButton>(window, 16)->isDefault());
    EXPECT_TRUE(Control<QCheckBox>(window, 21));
    EXPECT_TRUE(Control<QLineEdit>(window, 22));
    EXPECT_TRUE(Control<IpAddressEdit>(window, 24));
    EXPECT_EQ(FindControl(window, 99), nullptr);

    EXPECT_EQ(FindControl(window, 10)->geometry(), QRect(3, 3, 150, 98));
    EXPECT_EQ(FindControl(window, 15)->geometry(), QRect(8, 114, 75, 23));
    EXPECT_EQ(FindControl(window, 24)->geometry(), QRect(105, 195, 150, 20));
    EXPECT_FALSE(FindControl(window, 21)->isEnabled());
    EXPECT_TRUE(FindControl(window, 22)->isEnabled());
}

TEST(DialogBuilder, PicturesTakeTheirOwnSizeAndRememberTheirId)
{
    QWidget window;
    BuildDialog(window, everyKind());
    QWidget* icon = FindControl(window, 13);
    EXPECT_EQ(icon->geometry(), QRect(165, 8, 32, 32));
    EXPECT_EQ(icon->property("pictureId").toInt(), 107);
    EXPECT_EQ(FindControl(window, 14)->size(), QSize(14, 6));

    QPixmap other(16, 12);
    other.fill(Qt::red);
    EXPECT_TRUE(SetControlPicture(window, 13, 161, other));
    EXPECT_EQ(icon->size(), QSize(16, 12));
    EXPECT_EQ(icon->pos(), QPoint(165, 8));
    EXPECT_EQ(icon->property("pictureId").toInt(), 161);
    EXPECT_FALSE(SetControlPicture(window, 15, 161, other));
}

TEST(DialogBuilder, StaticsPassPressesToTheWindowOtherControlsKeepThem)
{
    PressCountingWindow window;
    BuildDialog(window, everyKind());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto pressOn = [&](int id) {
        const QPoint centre = FindControl(window, id)->geometry().center();
        window.presses = 0;
        QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, centre);
        QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, centre);
        return window.presses;
    };
    EXPECT_EQ(pressOn(11), 1) << "text";
    EXPECT_EQ(pressOn(13), 1) << "icon";
    EXPECT_EQ(pressOn(14), 1) << "bitmap";
    window.presses = 0;
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, QPoint(10, 60)); // inside the group box only
    EXPECT_EQ(window.presses, 1) << "group box";
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, QPoint(10, 60));
    EXPECT_EQ(pressOn(15), 0) << "push button";
    QWidget* link = FindControl(window, 25);
    EXPECT_EQ(window.childAt(link->geometry().center()), link) << "text that takes the mouse";
}

TEST(DialogBuilder, AutoRadiosUncheckTheirSiblingsPlainRadiosLeaveThatToTheDialog)
{
    QWidget window;
    BuildDialog(window, everyKind());
    Control<QRadioButton>(window, 17)->click();
    Control<QRadioButton>(window, 18)->click();
    EXPECT_FALSE(Control<QRadioButton>(window, 17)->isChecked());
    EXPECT_TRUE(Control<QRadioButton>(window, 18)->isChecked());

    Control<QRadioButton>(window, 19)->click();
    Control<QRadioButton>(window, 20)->click();
    EXPECT_TRUE(Control<QRadioButton>(window, 19)->isChecked());
    EXPECT_TRUE(Control<QRadioButton>(window, 20)->isChecked());
    EXPECT_TRUE(Control<QRadioButton>(window, 18)->isChecked());
}

TEST(DialogBuilder, TextsAreSetAndReadWhateverTheControlKind)
{
    QWidget window;
    BuildDialog(window, everyKind());
    for (int id : {10, 11, 15, 17, 21, 22}) {
        EXPECT_TRUE(SetControlText(window, id, u"Neu"_s)) << id;
        EXPECT_EQ(ControlText(window, id), u"Neu"_s) << id;
    }
    EXPECT_EQ(Control<QGroupBox>(window, 10)->title(), u"Neu"_s);
    EXPECT_FALSE(SetControlText(window, 23, u"Neu"_s));
    EXPECT_FALSE(SetControlText(window, 99, u"Neu"_s));
    EXPECT_EQ(ControlText(window, 99), QString());
}

TEST(DialogBuilder, DropDownListShowsOneLineItsTemplateHeightIsTheOpenList)
{
    QWidget window;
    BuildDialog(window, everyKind());
    auto* combo = Control<QComboBox>(window, 23);
    EXPECT_EQ(combo->geometry().topLeft(), QPoint(8, 195));
    EXPECT_EQ(combo->width(), 92);
    EXPECT_EQ(combo->height(), combo->sizeHint().height());
    EXPECT_GT(combo->maxVisibleItems(), 3);
}
