#include "motion/LiveImageFeed.h"

#include "base/JournalEvents.h"
#include "motion/LiveImageBuffer.h"

#include <utility>

LiveImageFeed::~LiveImageFeed()
{
    exchanges_.abort(fetch_);
    buffer_.busy.store(0, std::memory_order_release);
}

LiveImageFeed::Picture LiveImageFeed::lastCompleted()
{
    return Picture{buffer_.data[static_cast<size_t>(shown_)].data(), shownSize_, std::exchange(fresh_, false)};
}

bool LiveImageFeed::startNextFetch(const std::string& host, const std::string& path)
{
    if (fetch_ != 0 || host.empty())
        return false;
    buffer_.busy.store(1, std::memory_order_relaxed);
    fetch_ = exchanges_.start(host, path, buffer_.data[static_cast<size_t>(1 - shown_)].data(),
                              kCameraExchangeTimeoutMs, CameraExchanges::Purpose::Picture,
                              [this](const CameraExchanges::Result& result) { completed(result); });
    return true;
}

void LiveImageFeed::completed(const CameraExchanges::Result& result)
{
    fetch_ = 0;
    buffer_.byteCount.store(result.stored, std::memory_order_release);
    buffer_.busy.store(0, std::memory_order_release);
    shown_ = 1 - shown_;
    shownSize_ = result.stored;
    fresh_ = true;
    if (shownSize_ == 0)
        report(true, DescribeCameraOutcome(result.outcome));
}

void LiveImageFeed::freshPictureDrawn(bool drawn)
{
    report(!drawn, "the camera sent no picture that could be shown");
}

// The journal hears when the picture fails and when it comes back, not of every fetch.
void LiveImageFeed::report(bool failing, const std::string& why)
{
    if (failing == failing_)
        return;
    failing_ = failing;
    if (failing_)
        JournalLivePictureFailing(why);
    else
        JournalLivePictureBack();
}
