#include "motion/LiveImageFeed.h"

#include "base/JournalEvents.h"
#include "motion/LiveImageBuffer.h"

#include <utility>

LiveImageFeed::Picture LiveImageFeed::lastCompleted()
{
    takeCompletedFetch();
    return Picture{buffer_.data[static_cast<size_t>(shown_)].data(), shownSize_, std::exchange(fresh_, false)};
}

bool LiveImageFeed::startNextFetch(const std::string& host, const std::string& path)
{
    takeCompletedFetch();
    if (fetchPending_ || host.empty())
        return false;
    fetchPending_ = worker_.start(buffer_, buffer_.data[static_cast<size_t>(1 - shown_)].data(), host, path);
    return fetchPending_;
}

void LiveImageFeed::takeCompletedFetch()
{
    if (!fetchPending_ || buffer_.busy.load(std::memory_order_acquire) != 0)
        return;
    fetchPending_ = false;
    shown_ = 1 - shown_;
    shownSize_ = buffer_.byteCount.load(std::memory_order_acquire);
    // The journal hears when the picture fails and when it comes back, not of every fetch.
    if ((shownSize_ == 0) != failing_) {
        failing_ = !failing_;
        if (failing_)
            JournalLivePictureFailing(DescribeCameraOutcome(worker_.lastOutcome()));
        else
            JournalLivePictureBack();
    }
    fresh_ = true;
}
