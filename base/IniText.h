#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

using IniValues = QList<std::pair<QString, QString>>;

// The text of an INI file as QSettings reads it, with `values` set in `section`: the line of
// each value is replaced where it stands or added at the end of the section, and every other
// line (other values, other sections, comments) stays as it was.
QByteArray WithIniValues(const QByteArray& ini, const QString& section, const IniValues& values);
