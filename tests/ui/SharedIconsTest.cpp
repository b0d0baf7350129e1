#include "ui/SharedIcons.h"
#include "TestPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr int FirstId = CSharedIcons::FirstIconId;
constexpr int LastId = CSharedIcons::LastIconId;

QString BuiltResourceFile() {
    return QStringLiteral(OV_RESOURCE_FILE);
}

QString BuiltResourceDir() {
    return QFileInfo(BuiltResourceFile()).absolutePath();
}

QImage Image(const QIcon& icon, int size = CSharedIcons::IconSize) {
    return icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool AllIconsNull(const CSharedIcons& icons) {
    for (int id = FirstId; id <= LastId; ++id) {
        if (!icons.GetIcon(id).isNull()) {
            return false;
        }
    }
    return true;
}

TEST(SharedIcons, LoadsThirtySevenDistinctIconsFromTheBuiltResourceFile) {
    CSharedIcons icons(BuiltResourceDir());
    EXPECT_TRUE(AllIconsNull(icons));
    icons.Acquire();
    std::vector<QImage> images;
    for (int id = FirstId; id <= LastId; ++id) {
        const QImage image = Image(icons.GetIcon(id));
        ASSERT_EQ(image.size(), QSize(16, 16)) << "icon " << id;
        EXPECT_FALSE(image.isNull()) << "icon " << id;
        for (int other = FirstId; other < id; ++other) {
            EXPECT_NE(image, images[other - FirstId]) << "icons " << other << " and " << id;
        }
        images.push_back(image);
    }
    EXPECT_TRUE(icons.GetIcon(0).isNull());
    EXPECT_TRUE(icons.GetIcon(38).isNull());
    EXPECT_TRUE(icons.GetIcon(-1).isNull());
    icons.Release();
}

TEST(SharedIcons, IconsLiveFromFirstAcquireToLastRelease) {
    CSharedIcons icons(BuiltResourceDir());
    icons.Acquire();
    icons.Acquire();
    const QImage before = Image(icons.GetIcon(31));
    icons.Release();
    EXPECT_EQ(icons.UseCount(), 1);
    EXPECT_EQ(Image(icons.GetIcon(31)), before);
    icons.Release();
    EXPECT_TRUE(AllIconsNull(icons));
    icons.Release();
    EXPECT_EQ(icons.UseCount(), 0);
    icons.Acquire();
    EXPECT_EQ(Image(icons.GetIcon(31)), before);
    icons.Release();
}

TEST(SharedIcons, MissingOrCorruptResourceFileLeavesEveryIconEmpty) {
    QTemporaryDir dir;
    CSharedIcons missing(dir.path());
    missing.Acquire();
    EXPECT_EQ(missing.UseCount(), 1);
    EXPECT_TRUE(AllIconsNull(missing));

    QFile corrupt(dir.filePath(CSharedIcons::ResourceFileName));
    ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
    corrupt.write("qres but not really a resource file");
    corrupt.close();
    CSharedIcons broken(dir.path());
    broken.Acquire();
    EXPECT_TRUE(AllIconsNull(broken));
}

TEST(SharedIcons, LooksBesideTheModuleThenByBareName) {
    // This test program links the icons statically: its module is the executable.
    EXPECT_EQ(CSharedIcons::ModuleDirectory(), QCoreApplication::applicationDirPath());

    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(BuiltResourceFile(), dir.filePath(CSharedIcons::ResourceFileName)));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    CSharedIcons icons;
    icons.Acquire();
    QDir::setCurrent(previous);
    EXPECT_FALSE(icons.GetIcon(LastId).isNull());
}

} // namespace
