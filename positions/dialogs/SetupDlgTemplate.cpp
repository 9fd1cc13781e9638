#include "positions/dialogs/SetupDlgTemplate.h"

#include "base/AppConfig.h"

using namespace Qt::StringLiterals;

namespace {

using K = ControlKind;
namespace Id = SetupDlgId;
constexpr unsigned kTimeEdit = ControlFlag::DigitsOnly | ControlFlag::AutoHScroll;
constexpr int kCommandChars = AppConfig::kCommandWidth;

QList<ControlSpec> controls()
{
    QList<ControlSpec> list{
        {Id::GroupPort, K::GroupBox, 7, 3, 119, 85, u"Kommunikation"_s},
        {Id::Port, K::DropDownList, 14, 17, 61, 94},
        {kNoControlId, K::Text, 79, 22, 40, 8, u"Port"_s},
        {Id::Baud, K::DropDownList, 14, 33, 61, 94},
        {kNoControlId, K::Text, 79, 38, 40, 8, u"Baud"_s},
        {kNoControlId, K::Text, 14, 56, 46, 8, u"Ethernet"_s},
        {Id::Login, K::PushButton, 62, 52, 56, 12, u"Anmeldung ..."_s},
        {Id::Address, K::IpAddress, 14, 65, 100, 12},
        {Id::GroupParameters, K::GroupBox, 131, 3, 186, 85, u"Parameter"_s},
    };
    const int timeY[] = {17, 33, 49, 65};
    const int labelX[] = {185, 185, 186, 186};
    const int labelY[] = {20, 37, 53, 69};
    const int labelWidth[] = {126, 96, 122, 126};
    for (int i = 0; i < 4; ++i) {
        list.append({Id::Time + i, K::Edit, 136, timeY[i], 46, 12, {}, 0, kTimeEdit, Id::kTimeMaxChars});
        // Two lines high, not one: the English texts are wider than their labels in this font,
        // and a cut-off second line would hide the rest of the text.
        list.append({Id::TimeLabel + i, K::Text, labelX[i], labelY[i], labelWidth[i], 16});
    }
    list.append({Id::GroupCommands, K::GroupBox, 7, 88, 309, 136, u"Kommandos"_s});
    const int commandY[] = {104, 118, 133, 147, 161, 176, 190, 204};
    for (int i = 0; i < AppConfig::kCommandCount; ++i) {
        list.append({Id::CommandLabel + i, K::Text, 14, commandY[i] + 2, 43, 8});
        list.append(
            {Id::Command + i, K::Edit, 66, commandY[i], 242, 12, {}, 0, ControlFlag::AutoHScroll, kCommandChars});
    }
    list.append({Id::GroupOptions, K::GroupBox, 7, 225, 187, 76, u"Optionen"_s});
    for (int i = 0; i < 3; ++i)
        list.append({Id::Option + i, K::CheckBox, 14, 242 + 14 * i, 172, 10});
    list.append({Id::UnusedOption, K::CheckBox, 14, 284, 172, 10, {}, 0, ControlFlag::Disabled});
    list.append({Id::GroupLanguage, K::GroupBox, 198, 225, 118, 76, u"lang"_s});
    list.append({Id::German, K::Radio, 222, 242, 85, 10});
    list.append({Id::English, K::Radio, 222, 256, 86, 10});
    list.append({kNoControlId, K::Bitmap, 207, 243, 11, 7, {}, 161});
    list.append({kNoControlId, K::Bitmap, 207, 257, 11, 7, {}, 162});
    list.append({Id::Cancel, K::PushButton, 7, 306, 50, 14, u"&Abbrechen"_s});
    list.append({Id::Ok, K::DefaultPushButton, 266, 306, 50, 14, u"&OK"_s});
    return list;
}

} // namespace

const DialogTemplate& SetupDlgTemplate()
{
    static const DialogTemplate setupDlg{u"Einstellungen"_s, 323, 327, controls()};
    return setupDlg;
}

const QList<ControlCaption>& SetupDlgCaptions()
{
    static const QList<ControlCaption> captions{
        {Id::GroupLanguage, 2005},    {Id::GroupPort, 2002},        {Id::GroupCommands, 2029},
        {Id::GroupParameters, 2030},  {Id::GroupOptions, 2031},     {Id::TimeLabel, 2032},
        {Id::TimeLabel + 1, 2033},    {Id::TimeLabel + 2, 2034},    {Id::TimeLabel + 3, 2035},
        {Id::CommandLabel, 2036},     {Id::CommandLabel + 1, 2037}, {Id::CommandLabel + 2, 2038},
        {Id::CommandLabel + 3, 2039}, {Id::CommandLabel + 4, 2040}, {Id::CommandLabel + 5, 2041},
        {Id::CommandLabel + 6, 2042}, {Id::CommandLabel + 7, 2043}, {Id::German, 2006},
        {Id::English, 2007},          {Id::Option, 2044},           {Id::Option + 1, 2045},
        {Id::Option + 2, 2046},       {Id::Cancel, 2008},           {Id::Login, 2047},
    };
    return captions;
}

const QList<int>& SetupBaudRates()
{
    static const QList<int> rates{110,   300,   600,   1200,  2400,   4800,   9600,
                                  14400, 38400, 56000, 57600, 115200, 128000, 256000};
    return rates;
}
