#pragma once

#include <QPixmap>
#include <QString>

#include <cstdint>

class ITextResource;

// The text of a text id from an area's text provider, or the built-in default text while the
// area has no provider.
QString AreaText(const ITextResource* provider, std::uint32_t id);

// The bitmap with this resource id among the module's resources (the Qt resource
// ":/bitmaps/<id>", in any image format Qt reads); a null pixmap when there is none.
QPixmap LoadBitmapResource(int resourceId);
