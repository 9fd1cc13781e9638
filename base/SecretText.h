#pragma once

#include <QByteArray>
#include <QString>

#include <string>

// Overwrites a buffer that held a password with zeros, in a way the compiler keeps, then empties
// it: a core file or a later reuse of the memory finds no password there.
void Wipe(std::string& text);
void Wipe(QByteArray& bytes);
void Wipe(QString& text);
