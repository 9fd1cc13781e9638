#include "res/MenuTemplate.h"

QList<MenuTemplateItem> MenuResource(int id)
{
    if (id != 188)
        return {};
    // The position list's context menu. Its texts are German in both interface languages.
    return {
        {MenuFlag::Popup | MenuFlag::End, 0, QStringLiteral("0")},
        {MenuFlag::String, 300, QStringLiteral("&Neu ...")},
        {MenuFlag::String, 301, QStringLiteral("&Aktualisieren ...")},
        {MenuFlag::String, 302, QStringLiteral("&Entfernen ...")},
        {MenuFlag::String, 400, QStringLiteral("&Bearbeiten ...")},
        {MenuFlag::String, 0, QString()},
        {MenuFlag::String | MenuFlag::End, 450, QStringLiteral("&Position anfahren")},
    };
}
