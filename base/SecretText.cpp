#include "base/SecretText.h"

#include <cstring>

void Wipe(std::string& text)
{
    // The whole capacity: a shorter password may have been written over a longer one.
    text.resize(text.capacity());
    explicit_bzero(text.data(), text.size());
    text.clear();
}

void Wipe(QByteArray& bytes)
{
    // data() makes the bytes this object's own first; a copy shared elsewhere is its owner's.
    if (!bytes.isEmpty())
        explicit_bzero(bytes.data(), static_cast<size_t>(bytes.size()));
    bytes.clear();
}

void Wipe(QString& text)
{
    if (!text.isEmpty())
        explicit_bzero(text.data(), static_cast<size_t>(text.size()) * sizeof(QChar));
    text.clear();
}
