#pragma once

#include <QIcon>
#include <QString>

#include <array>
#include <optional>

// The icons shared by the whole user interface (connection, lock and diagnosis states, tree
// states, input feedback, toolbar), ids 1 to 37, each 16 x 16. They come from the resource
// file "OstrelResources.rcc", looked for in the directory of the module this code runs in,
// then by bare name (the working directory). The file is only read as data. Without it
// every icon is empty and nothing fails.
class CSharedIcons {
public:
    static constexpr int FirstIconId = 1;
    static constexpr int LastIconId = 37;
    static constexpr int IconSize = 16;
    static constexpr const char* ResourceFileName = "OstrelResources.rcc";

    CSharedIcons() = default;
    // Looks for the resource file in `directory` only.
    explicit CSharedIcons(QString directory) : m_directory(std::move(directory)) {}

    // The icon table shared by the whole system.
    static CSharedIcons& Instance();

    // The first use loads the icons; later ones only count.
    void Acquire();
    // The last use ends by dropping the icons. Release without a use does nothing.
    void Release();
    int UseCount() const { return m_useCount; }

    // The icon of `id`; a null icon for an id outside 1 to 37 or when none is loaded.
    QIcon GetIcon(int id) const;

    // The directory of the module this code is linked into: the shared library that holds
    // it, or else the executable.
    static QString ModuleDirectory();

private:
    static std::size_t Index(int id) { return static_cast<std::size_t>(id - FirstIconId); }
    void Load();
    bool LoadFrom(const QString& resourceFile);

    std::optional<QString> m_directory;
    int m_useCount = 0;
    std::array<QIcon, LastIconId> m_icons;
};
