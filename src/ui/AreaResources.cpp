#include "ui/AreaResources.h"

#include "ui/TextProvider.h"

QString AreaText(const ITextResource* provider, std::uint32_t id) {
    if (provider != nullptr) {
        return provider->GetText(id);
    }
    return CTextProvider::BuiltInText(id).value_or(QString());
}

QPixmap LoadBitmapResource(int resourceId) {
    return QPixmap(QStringLiteral(":/bitmaps/%1").arg(resourceId));
}
