#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// How the list file's bytes become text lines and back.

// UTF-8 when the bytes are valid UTF-8 (a leading byte-order mark is dropped), otherwise
// Windows-1252, so that files of the earlier Windows program keep their umlauts.
QString DecodeListFile(const QByteArray& bytes);

// The pieces the file is read in: at most kListPieceMaxChars characters each, or up to and
// including an LF; CR LF and a lone CR count as LF. A piece never ends inside a character.
constexpr int kListPieceMaxChars = 249;
QStringList SplitListPieces(const QString& text);

// `text` cut to at most `maxChars` UTF-16 units without splitting a character.
QString CutWithoutSplitting(const QString& text, int maxChars);
