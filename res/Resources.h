#pragma once

#include <QPixmap>
#include <QString>

#include <cstdint>

// Resources by their numeric IDs. An ID that has no such resource gives a null pixmap or an
// empty text.

// Icons, drawn at size x size pixels: the program icon 107 and the arrow icons 174 ... 185.
QPixmap IconResource(int id, int size = 32);

// Bitmaps at their own pixel sizes: flags 161 and 162 (16 x 12), lamps 167 and 168 (14 x 6),
// the image strip 177 (15 images of 20 x 20) and the menu toolbar 188 (931 x 16, images 16 px
// wide, transparent colour 0xC0C0C0).
QPixmap BitmapResource(int id);

// The help page of a topic in the language 0 (German) or 1 (English), as a "qrc:" URL; empty
// for any other language and for a topic without a page.
QString HelpPageUrl(int32_t language, const QString& topic = QStringLiteral("welcome"));

// The resource path of a WAVE sound (178), such as ":/sound/178.wav"; QSoundEffect takes it as
// the URL "qrc" + path.
QString SoundResourcePath(int id);
