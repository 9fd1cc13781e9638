#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>

// The square of the live picture in the "Live" group. It keeps what the last tick drew, so a
// repaint of the window shows the picture again instead of an empty square.
class LivePictureView : public QWidget {
    Q_OBJECT
public:
    // In pixels of the main window's client area.
    static constexpr QRect kSquare{25, 25, 175, 175};

    explicit LivePictureView(QWidget* window);

    // Decodes the bytes and draws them stretched into the square; bytes that are no picture
    // leave the square as it is.
    void drawPicture(const char* bytes, int32_t size);
    // How many pictures were drawn so far.
    int picturesDrawn() const { return picturesDrawn_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage shown_;
    int picturesDrawn_ = 0;
};
