#include "app/CAppDlg.h"

#include "app/LivePictureView.h"
#include "app/ProcessState.h"
#include "base/AppConfig.h"

namespace {

constexpr int kPictureCommand = 7;

} // namespace

void CAppDlg::OnLiveImageTick()
{
    // Minimised, the window is hidden: neither drawing nor network traffic.
    if (state_.motion.minimised != 0)
        return;
    const LiveImageFeed::Picture picture = liveFeed_.lastCompleted();
    const bool drawn = picture.size != 0 && livePicture_->drawPicture(picture.bytes, picture.size);
    if (picture.fresh && picture.size != 0)
        liveFeed_.freshPictureDrawn(drawn);
    livePicture_->age(LivePictureView::Clock::now(), drawn && picture.fresh);
    const AppConfig& config = appConfig();
    liveFeed_.startNextFetch(config.cameraAddress.toStdString(), config.command(kPictureCommand).toStdString());
}
