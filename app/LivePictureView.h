#pragma once

#include <QImage>
#include <QTime>
#include <QWidget>

#include <chrono>
#include <cstdint>
#include <optional>

// The square of the live picture in the "Live" group. It keeps what the last tick drew, so a
// repaint of the window shows the picture again instead of an empty square. A picture that no
// fresh one has followed for a while is shown greyed, with the time it came, so that a camera
// that is gone never looks like a quiet scene.
class LivePictureView : public QWidget {
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;

    // In pixels of the main window's client area.
    static constexpr QRect kSquare{25, 25, 175, 175};
    static constexpr std::chrono::seconds kOldAfter{5};

    explicit LivePictureView(QWidget* window);

    // Decodes the bytes and draws them stretched into the square; bytes that are no picture
    // leave the square as it is and give false.
    bool drawPicture(const char* bytes, int32_t size);
    // Each live tick: `freshDrawn` when the tick drew a picture that the camera has just sent.
    void age(Clock::time_point now, bool freshDrawn);
    // How many pictures were drawn so far.
    int picturesDrawn() const { return picturesDrawn_; }
    bool showsOldPicture() const { return old_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintOld(QPainter& painter) const;

    QImage shown_;
    int picturesDrawn_ = 0;
    std::optional<Clock::time_point> freshAt_;
    QTime freshTime_; // the wall time of the last fresh picture, shown on an old one
    bool old_ = false;
};
