// Renders an SVG drawing into a PNG file, at its own size or as a square of the given size. The
// build bundles the artwork as such renderings, so that the program never parses SVG.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s DRAWING.svg PICTURE.png [SIZE]\n", argv[0]);
        return 2;
    }
    QGuiApplication application(argc, argv);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid())
        return 1;
    const int side = argc == 4 ? std::atoi(argv[3]) : 0;
    QImage image(side > 0 ? QSize(side, side) : renderer.defaultSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image.save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
