#include "controls/SharedIconStore.h"

SharedIconStore& SharedIconStore::instance()
{
    static SharedIconStore store;
    return store;
}

int SharedIconStore::find(uint32_t id) const
{
    return static_cast<int>(ids_.indexOf(id));
}

bool SharedIconStore::hasVariants(int index) const
{
    return index >= 0 && index + 2 < ids_.size() && ids_[index + 1] == ids_[index] && ids_[index + 2] == ids_[index];
}

int SharedIconStore::put(uint32_t id, const QList<QImage>& images)
{
    if (images.isEmpty() || images.first().isNull())
        return -1;
    if (size_.isEmpty())
        size_ = images.first().size();
    for (const QImage& image : images)
        if (image.size() != size_)
            return -1;

    const int existing = find(id);
    if (existing >= 0) {
        images_[existing] = images.first();
        if (images.size() == 3 && hasVariants(existing)) {
            images_[existing + 1] = images[1];
            images_[existing + 2] = images[2];
        }
        return existing;
    }
    const int index = count();
    for (const QImage& image : images) {
        images_.append(image);
        ids_.append(id);
    }
    return index;
}

QImage SharedIconStore::image(int index) const
{
    return index >= 0 && index < count() ? images_[index] : QImage();
}
