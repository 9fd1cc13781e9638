#include "platform/DialogBuilder.h"
#include "platform/IpAddressEdit.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;
using K = ControlKind;

namespace {

// Types each character into whichever field has the focus at that moment.
void typeIntoFocus(const QWidget& window, const QString& text)
{
    for (QChar c : text)
        QTest::keyClick(window.focusWidget(), c.toLatin1());
}

QWidget* editWindow(unsigned flags, int width, int maxLength = 0)
{
    auto* window = new QWidget;
    BuildDialog(*window, {u"Edits"_s, 200, 40, {{1, K::Edit, 5, 5, width, 12, {}, 0, flags, maxLength}}});
    window->show();
    return window;
}

} // namespace

TEST(EditControl, DigitsOnlyRefusesEverythingElseAndMaxLengthCuts)
{
    std::unique_ptr<QWidget> window(editWindow(ControlFlag::DigitsOnly | ControlFlag::AutoHScroll, 100, 5));
    auto* edit = Control<QLineEdit>(*window, 1);
    QTest::keyClicks(edit, u"1a2-3 4567"_s);
    EXPECT_EQ(edit->text(), u"12345"_s);
}

TEST(EditControl, WithoutAutoScrollTypingStopsAtTheVisibleWidth)
{
    const QString typed(40, u'W');
    std::unique_ptr<QWidget> narrow(editWindow(0, 30));
    auto* stopped = Control<QLineEdit>(*narrow, 1);
    QTest::keyClicks(stopped, typed);
    EXPECT_GT(stopped->text().size(), 0);
    EXPECT_LT(stopped->text().size(), typed.size());
    EXPECT_LE(stopped->fontMetrics().horizontalAdvance(stopped->text()), stopped->width());

    std::unique_ptr<QWidget> scrolling(editWindow(ControlFlag::AutoHScroll, 30));
    auto* scrolled = Control<QLineEdit>(*scrolling, 1);
    QTest::keyClicks(scrolled, typed);
    EXPECT_EQ(scrolled->text(), typed);
}

TEST(IpAddressControl, HoldsFourOctetsBlankFieldsReadAsZero)
{
    IpAddressEdit address;
    EXPECT_EQ(address.address(), (IpAddressEdit::Octets{0, 0, 0, 0}));
    address.setAddress({192, 168, 1, 20});
    EXPECT_EQ(address.field(3)->text(), u"20"_s);
    EXPECT_EQ(address.address(), (IpAddressEdit::Octets{192, 168, 1, 20}));
    address.field(1)->clear();
    EXPECT_EQ(address.address(), (IpAddressEdit::Octets{192, 0, 1, 20}));
}

TEST(IpAddressControl, TypingMovesOnAtADotOrAThirdDigitAndRefusesAbove255)
{
    IpAddressEdit address;
    address.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&address));
    address.field(0)->setFocus();
    typeIntoFocus(address, u"10.0.2551"_s);
    EXPECT_EQ(address.address(), (IpAddressEdit::Octets{10, 0, 255, 1}));

    address.field(0)->clear();
    address.field(0)->setFocus();
    QTest::keyClicks(address.field(0), u"256"_s);
    EXPECT_EQ(address.field(0)->text(), u"25"_s);
}
