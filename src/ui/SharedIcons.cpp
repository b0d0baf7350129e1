#include "ui/SharedIcons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QResource>
#include <QSvgRenderer>

#include <dlfcn.h>
#include <link.h>

namespace {

// Where the resource file's tree appears while it is registered.
const QString MapRoot = QStringLiteral("/ostrel");

// Icons are drawn once at the sizes of normal and double-density screens, so that a copy
// of an icon stays valid after the resource file is closed.
constexpr int RenderScales[] = {1, 2};

QPixmap Render(QSvgRenderer& renderer, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return QPixmap::fromImage(image);
}

QIcon LoadIcon(int id) {
    QSvgRenderer renderer(QStringLiteral(":%1/icons/%2.svg").arg(MapRoot).arg(id));
    if (!renderer.isValid()) {
        return {};
    }
    QIcon icon;
    for (int scale : RenderScales) {
        icon.addPixmap(Render(renderer, CSharedIcons::IconSize * scale));
    }
    return icon;
}

} // namespace

CSharedIcons& CSharedIcons::Instance() {
    static CSharedIcons icons;
    return icons;
}

void CSharedIcons::Acquire() {
    if (m_useCount++ == 0) {
        Load();
    }
}

void CSharedIcons::Release() {
    if (m_useCount > 0 && --m_useCount == 0) {
        m_icons.fill(QIcon());
    }
}

QIcon CSharedIcons::GetIcon(int id) const {
    if (id < FirstIconId || id > LastIconId) {
        return {};
    }
    return m_icons[Index(id)];
}

void CSharedIcons::Load() {
    const QString name = QString::fromLatin1(ResourceFileName);
    if (m_directory) {
        LoadFrom(QDir(*m_directory).filePath(name));
        return;
    }
    if (!LoadFrom(QDir(ModuleDirectory()).filePath(name))) {
        LoadFrom(name);
    }
}

bool CSharedIcons::LoadFrom(const QString& resourceFile) {
    if (!QFileInfo(resourceFile).isFile() || !QResource::registerResource(resourceFile, MapRoot)) {
        return false;
    }
    for (int id = FirstIconId; id <= LastIconId; ++id) {
        m_icons[Index(id)] = LoadIcon(id);
    }
    QResource::unregisterResource(resourceFile, MapRoot);
    return true;
}

QString CSharedIcons::ModuleDirectory() {
    Dl_info info{};
    link_map* module = nullptr;
    const bool found = dladdr1(reinterpret_cast<void*>(&CSharedIcons::ModuleDirectory), &info,
                               reinterpret_cast<void**>(&module), RTLD_DL_LINKMAP) != 0;
    // The executable's entry carries no name; a shared library's carries its path.
    if (found && module != nullptr && module->l_name != nullptr && module->l_name[0] != '\0') {
        return QFileInfo(QFile::decodeName(module->l_name)).absolutePath();
    }
    const QFileInfo executable(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath());
    return executable.absolutePath();
}
