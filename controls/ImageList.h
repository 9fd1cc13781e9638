#pragma once

#include <QList>
#include <QPixmap>

// Images of one size cut from a strip, addressed by index.
class ImageList {
public:
    ImageList() = default;
    ImageList(QSize imageSize) : size_(imageSize) {}

    // Cuts `strip` into images of the list's size, left to right; returns how many were added.
    int addStrip(const QPixmap& strip);
    // Adds one image of the list's size; returns its index, or -1 for an image of another size.
    int add(const QPixmap& image);

    QSize imageSize() const { return size_; }
    int count() const { return static_cast<int>(images_.size()); }
    // An empty pixmap for an index out of range.
    QPixmap image(int index) const;

private:
    QSize size_{16, 16};
    QList<QPixmap> images_;
};
