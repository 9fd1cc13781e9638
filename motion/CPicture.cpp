#include "motion/CPicture.h"

#include "base/MessageBox.h"

#include <QImageReader>
#include <QPainter>

namespace {

const QString kPictureCaption = QStringLiteral("CPicture Error");

// The live picture's tick goes on while a box is open; a lasting fault shows one box, not a pile.
void ShowPictureError(QObject* owner, const QString& text)
{
    static bool boxOpen = false;
    if (boxOpen)
        return;
    boxOpen = true;
    MessageBox(owner, text, MessageButtons::Ok, MessageIcon::Stop, kPictureCaption);
    boxOpen = false;
}

bool CanDecodeCameraPictures()
{
    static const bool jpeg = QImageReader::supportedImageFormats().contains("jpeg");
    return jpeg;
}

} // namespace

int CPicture::LoadFromBuffer(const char* bytes, int32_t size)
{
    Free();
    if (!CanDecodeCameraPictures()) {
        ShowPictureError(messageOwner_, QStringLiteral("IPicture interface is not supported\t"));
        return 0;
    }
    if (bytes != nullptr && size > 0)
        picture_.loadFromData(reinterpret_cast<const uchar*>(bytes), size);
    return 1;
}

int CPicture::Draw(QPainter* dc, const QRect& rect)
{
    if (dc == nullptr || picture_.isNull())
        return 0;
    if (!dc->isActive()) {
        ShowPictureError(messageOwner_, QStringLiteral("Can not allocate enough memory\t"));
        return 0;
    }
    dc->drawImage(rect, picture_);
    return 1;
}

void CPicture::Free()
{
    picture_ = QImage();
}
