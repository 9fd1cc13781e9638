#include "motion/CameraUrl.h"

namespace {

bool MustEncode(unsigned char byte)
{
    return byte <= 0x20 || byte >= 0x7F || byte == '#';
}

std::string PercentEncode(const std::string& text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string encoded;
    encoded.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (MustEncode(byte)) {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        } else {
            encoded += c;
        }
    }
    return encoded;
}

} // namespace

CameraUrlTarget EncodeCameraTarget(const std::string& configuredPath)
{
    const size_t question = configuredPath.find('?');
    CameraUrlTarget target;
    target.path = '/' + PercentEncode(configuredPath.substr(0, question));
    if (question != std::string::npos)
        target.query = PercentEncode(configuredPath.substr(question + 1));
    return target;
}
