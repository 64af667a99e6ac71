#pragma once

// The built-in pictures: each is drawn by code, so it can be regenerated and restyled in one place.

#include <QImage>
#include <QString>
#include <QVector>

namespace art {

struct Picture
{
    QString name; // the resource name the program asks for
    QImage image; // 24-bit unless the picture needs transparency (the blank cursor)
    bool jpeg = false;
};

// Pictures a skin file may replace: keys, buttons, corners, letter buttons, backdrop and centre mask.
QVector<Picture> skinPictures();

// Pictures that are always the program's own: list arrows, round buttons, icons, globe frames, ...
QVector<Picture> fixedPictures();

// The desktop player window's toolbar mode pictures and transport glyphs.
QVector<Picture> playerPictures();

} // namespace art
