#pragma once

#include <QImage>

#include <cstdint>

class QObject;
class QPainter;
class QRect;

// One picture decoded from memory and drawn stretched into a rectangle; made for one drawing.
class CPicture {
public:
    // Messages go to `messageOwner`'s window.
    explicit CPicture(QObject* messageOwner = nullptr) : messageOwner_(messageOwner) {}
    virtual ~CPicture() = default;

    // 1, or 0 when no decoder for camera pictures is installed (with a message). Bytes that are
    // no picture also give 1; the object then holds no picture.
    int LoadFromBuffer(const char* bytes, int32_t size);
    // 1 if drawn; 0 without a painter or a picture (silently) or when the painter cannot paint.
    int Draw(QPainter* dc, const QRect& rect);
    void Free();

private:
    QObject* messageOwner_;
    QImage picture_;
};
