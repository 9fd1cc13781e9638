#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What the camera does to a picture answer when told to misbehave.
enum class PictureFault {
    None,
    Garbage,   // bytes that are no JPEG, sent with status 200
    Truncated, // the first half of the JPEG, as a complete answer
    Oversized, // a JPEG padded with comment segments to a given size
    Close,     // the connection closes half-way through the announced body
};

std::optional<PictureFault> pictureFaultFromName(const QString& name);
QString pictureFaultName(PictureFault fault);

QByteArray garbagePicture(qsizetype size);
QByteArray truncatedPicture(const QByteArray& jpeg);
// Comment segments right after the start marker, so that a reader that keeps only the first
// part of the body gets a cut picture. Never shorter than the JPEG itself.
QByteArray oversizedPicture(const QByteArray& jpeg, qsizetype size);
