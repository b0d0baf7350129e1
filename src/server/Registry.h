#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The registry of COM-style classes: keys with a default value, named values and subkeys,
// kept in an XML file. Key paths use backslashes ("CLSID\\{...}\\InprocServer32"); key and
// value names compare without regard to ASCII case, as on the platform the layout comes from.
// The default value of a key is the value with the empty name.
class Registry {
public:
    // The file named by FDT_REGISTRY_FILE, else "registry.xml" under the user's
    // configuration directory ($XDG_CONFIG_HOME or ~/.config) in "vela-fdt".
    static std::string DefaultPath();

    explicit Registry(std::string path = DefaultPath());
    ~Registry();
    Registry(Registry&&) noexcept;
    Registry& operator=(Registry&&) noexcept;

    const std::string& Path() const { return m_path; }

    // Reads the file; a missing file is an empty registry. A file that is not a registry
    // throws std::runtime_error naming the file, and leaves the keys as they were.
    void Load();
    // Writes a temporary file beside the target and renames it over the target, so that a
    // failure at any point leaves the previous file intact. Throws std::runtime_error.
    void Save() const;

    void CreateKey(std::string_view path);
    bool KeyExists(std::string_view path) const;
    // Creates the key when needed.
    void SetValue(std::string_view path, std::string_view name, std::string_view data);
    std::optional<std::string> GetValue(std::string_view path, std::string_view name) const;
    bool DeleteValue(std::string_view path, std::string_view name);
    std::vector<std::string> SubKeys(std::string_view path) const;
    std::vector<std::string> ValueNames(std::string_view path) const;
    // Deletes a key with everything below it; false when there was no such key.
    bool DeleteTree(std::string_view path);

    struct Key;

private:
    Key* Find(std::string_view path) const;
    std::string m_path;
    std::unique_ptr<Key> m_root;
};
