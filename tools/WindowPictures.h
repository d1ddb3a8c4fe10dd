#pragma once
// The pictures of the program's windows, by resource name (":/pictures/<name>.png"), drawn at a scale.

#include <QImage>
#include <QList>
#include <QString>
#include <utility>

namespace drawing {

using NamedPicture = std::pair<QString, QImage>;

// Every picture: the photograph, the top strip and logo cut from it, the highlights cut from the
// pressed look, the direction-pad pictures, the splash picture and the icon; sizes times scale.
QList<NamedPicture> RenderPictures(int scale);

}  // namespace drawing
