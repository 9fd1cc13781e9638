#include "app/AppDlgTemplate.h"

using namespace Qt::StringLiterals;
using K = ControlKind;

const DialogTemplate& AppDlgTemplate()
{
    using namespace AppDlgId;
    static const DialogTemplate appDlg{
        u"Pantiro"_s,
        314,
        227,
        {
            {GroupLive, K::GroupBox, 7, 3, 136, 123, u"Live"_s},
            {GroupView, K::GroupBox, 147, 3, 160, 198, u"Beobachtung"_s},
            {GroupManual, K::GroupBox, 8, 126, 70, 75, u"Manuell"_s},
            {GroupAutomatic, K::GroupBox, 82, 126, 61, 75, u"Automatik"_s},
            {ArrowUp, K::Icon, 30, 152, 20, 20, {}, 179},
            {ArrowLeft, K::Icon, 14, 166, 20, 20, {}, 177},
            {ArrowRight, K::Icon, 46, 166, 20, 20, {}, 175},
            {ArrowDown, K::Icon, 30, 180, 20, 20, {}, 180},
            {PositionX, K::CentredText, 9, 141, 30, 8, u"?"_s},
            {PositionY, K::CentredText, 44, 141, 30, 8, u"?"_s},
            {Start, K::PushButton, 86, 151, 52, 14, u"Start"_s},
            {Stop, K::PushButton, 86, 168, 52, 14, u"Stopp"_s, 0, ControlFlag::Disabled},
            {Lamp, K::Bitmap, 107, 143, 9, 4, {}, 168},
            {PositionNew, K::PushButton, 153, 183, 40, 14, u"Neu"_s},
            {PositionUpdate, K::PushButton, 196, 183, 52, 14, u"Aktualisieren"_s},
            {PositionRemove, K::PushButton, 251, 183, 52, 14, u"Entfernen"_s},
            {ZeroPosition, K::PushButton, 7, 206, 50, 14, u"&Nullsetzen"_s},
            {Help, K::PushButton, 59, 206, 50, 14, u"&Hilfe"_s},
            {Settings, K::PushButton, 112, 206, 78, 14, u"&Einstellungen"_s},
            {Info, K::PushButton, 193, 206, 52, 14, u"Info"_s},
            {Exit, K::PushButton, 249, 206, 58, 14, u"&Beenden"_s},
        },
    };
    return appDlg;
}

const QList<ControlCaption>& AppDlgCaptions()
{
    using namespace AppDlgId;
    static const QList<ControlCaption> captions{
        {GroupLive, 2019}, {GroupView, 2020},   {GroupManual, 2021},    {GroupAutomatic, 2022}, {Help, 2009},
        {Settings, 2004},  {Info, 2010},        {ZeroPosition, 2025},   {Exit, 2011},           {Start, 2023},
        {Stop, 2024},      {PositionNew, 2026}, {PositionUpdate, 2027}, {PositionRemove, 2028},
    };
    return captions;
}
