// A configured camera path, whatever it holds, becomes a request target that cannot break the
// request line and that carries every byte of the path.
#include "motion/CameraUrl.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void require(bool rule)
{
    if (!rule)
        std::abort();
}

bool breaksRequestLine(unsigned char byte)
{
    return byte <= 0x20 || byte >= 0x7F || byte == '#';
}

size_t encodedLength(const std::string& text)
{
    size_t length = 0;
    for (const char c : text)
        length += breaksRequestLine(static_cast<unsigned char>(c)) ? 3 : 1;
    return length;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path(reinterpret_cast<const char*>(data), size);
    const CameraUrlTarget target = EncodeCameraTarget(path);

    const std::string line = target.path + (target.query ? "?" + *target.query : std::string());
    for (const char c : line)
        require(!breaksRequestLine(static_cast<unsigned char>(c)));
    require(!target.path.empty() && target.path.front() == '/');

    const size_t question = path.find('?');
    require(target.query.has_value() == (question != std::string::npos));
    require(target.path.size() == 1 + encodedLength(path.substr(0, question)));
    if (target.query)
        require(target.query->size() == encodedLength(path.substr(question + 1)));
    return 0;
}
