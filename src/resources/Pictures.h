#pragma once
// The pictures of the windows, Qt resources ":/pictures/<name>.png" linked in with this library, each
// also drawn at twice its size as "<name>@2x.png".

#include <QPixmap>
#include <QString>

namespace resources {

// The picture `name` ("Img_Corvane", "Img_Tasto_3", ...) for a screen of the given device pixel ratio:
// above 1, the double-size drawing with a ratio of 2 (QPixmap alone would not look for it); else the
// picture itself. Either way its size in device-independent pixels is the picture's size.
QPixmap Picture(const QString& name, qreal devicePixelRatio);

// The same for the application's screens (the highest ratio among them).
QPixmap Picture(const QString& name);

}  // namespace resources
