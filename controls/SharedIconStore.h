#pragma once

#include <QImage>
#include <QList>
#include <QSize>

#include <cstdint>

// The icons of every owner-drawn menu of the process, each under its command ID, so that the
// next menu built finds them again. An icon may be followed by two variants under the same ID
// (faded, shadow). Images are kept as QImage: the store outlives the application object.
class SharedIconStore {
public:
    static SharedIconStore& instance();

    // The first index carrying `id`, or -1.
    int find(uint32_t id) const;
    // Whether the icon at `index` is followed by its two variants.
    bool hasVariants(int index) const;
    // Stores `images` (the icon, optionally its faded and shadow variants) under `id`: in place
    // when the ID is there already (variants only where they were stored before), else
    // appended. The first icon fixes the store's image size; an icon of another size is
    // refused. Returns the icon's index, or -1.
    int put(uint32_t id, const QList<QImage>& images);

    QImage image(int index) const;
    int count() const { return static_cast<int>(images_.size()); }

private:
    QSize size_;
    QList<QImage> images_;
    QList<uint32_t> ids_;
};
