#include "controls/ImageList.h"

int ImageList::addStrip(const QPixmap& strip)
{
    if (strip.isNull() || size_.isEmpty())
        return 0;
    // A remainder narrower than one image is not an image.
    const int count = strip.width() / size_.width();
    for (int i = 0; i < count; ++i)
        images_.append(strip.copy(QRect(QPoint(i * size_.width(), 0), size_)));
    return count;
}

int ImageList::add(const QPixmap& image)
{
    if (image.isNull() || image.size() != size_)
        return -1;
    images_.append(image);
    return count() - 1;
}

QPixmap ImageList::image(int index) const
{
    return index >= 0 && index < count() ? images_[index] : QPixmap();
}
