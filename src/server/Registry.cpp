#include "server/Registry.h"

#include "xml/Xml.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

struct Registry::Key {
    std::string name;
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<std::unique_ptr<Key>> subkeys;
};

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::vector<std::string_view> SplitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const auto cut = path.find('\\');
        const auto part = path.substr(0, cut);
        if (!part.empty()) {
            parts.push_back(part);
        }
        if (cut == std::string_view::npos) {
            break;
        }
        path.remove_prefix(cut + 1);
    }
    return parts;
}

Registry::Key* Child(const Registry::Key& key, std::string_view name) {
    for (const auto& sub : key.subkeys) {
        if (SameName(sub->name, name)) {
            return sub.get();
        }
    }
    return nullptr;
}

void ReadKey(const xml::Node& element, Registry::Key& key) {
    for (const auto& child : element.Children()) {
        if (child.Name() == "Value") {
            key.values.emplace_back(child.Attribute("@name"), child.Attribute("@data"));
        } else if (child.Name() == "Key") {
            auto sub = std::make_unique<Registry::Key>();
            sub->name = child.Attribute("@name");
            ReadKey(child, *sub);
            key.subkeys.push_back(std::move(sub));
        }
    }
}

void WriteKey(const Registry::Key& key, const xml::Node& element) {
    for (const auto& [name, data] : key.values) {
        auto value = element.AppendChild("Value");
        value.SetAttribute("name", name);
        value.SetAttribute("data", data);
    }
    for (const auto& sub : key.subkeys) {
        auto child = element.AppendChild("Key");
        child.SetAttribute("name", sub->name);
        WriteKey(*sub, child);
    }
}

[[noreturn]] void ThrowWriteError(const std::string& path, int error) {
    throw std::runtime_error("cannot write registry file '" + path + "': " + std::strerror(error));
}

} // namespace

std::string Registry::DefaultPath() {
    if (const char* file = std::getenv("FDT_REGISTRY_FILE"); file && *file) {
        return file;
    }
    std::filesystem::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        config = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        config = std::filesystem::path(home) / ".config";
    } else {
        config = std::filesystem::temp_directory_path();
    }
    return (config / "vela-fdt" / "registry.xml").string();
}

Registry::Registry(std::string path) : m_path(std::move(path)), m_root(std::make_unique<Key>()) {}
Registry::~Registry() = default;
Registry::Registry(Registry&&) noexcept = default;
Registry& Registry::operator=(Registry&&) noexcept = default;

void Registry::Load() {
    if (!std::filesystem::exists(m_path)) {
        m_root = std::make_unique<Key>();
        return;
    }
    auto root = std::make_unique<Key>();
    try {
        const auto doc = xml::Document::ParseFile(m_path);
        if (doc.Root().Name() != "Registry") {
            throw std::runtime_error("the root element is not Registry");
        }
        ReadKey(doc.Root(), *root);
    } catch (const std::exception& e) {
        throw std::runtime_error("registry file '" + m_path + "' is not valid: " + e.what());
    }
    m_root = std::move(root);
}

void Registry::Save() const {
    auto doc = xml::Document::Create("Registry");
    WriteKey(*m_root, doc.Root());
    const std::string text = doc.ToString();

    const std::filesystem::path target(m_path);
    std::error_code ec;
    if (target.has_parent_path()) {
        std::filesystem::create_directories(target.parent_path(), ec);
    }
    std::string temp = m_path + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        ThrowWriteError(m_path, errno);
    }
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            ::close(fd);
            ::unlink(temp.c_str());
            ThrowWriteError(m_path, error);
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        ThrowWriteError(m_path, error);
    }
    if (::rename(temp.c_str(), m_path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        ThrowWriteError(m_path, error);
    }
}

Registry::Key* Registry::Find(std::string_view path) const {
    Key* key = m_root.get();
    for (auto part : SplitPath(path)) {
        key = Child(*key, part);
        if (key == nullptr) {
            return nullptr;
        }
    }
    return key;
}

void Registry::CreateKey(std::string_view path) {
    Key* key = m_root.get();
    for (auto part : SplitPath(path)) {
        Key* sub = Child(*key, part);
        if (sub == nullptr) {
            key->subkeys.push_back(std::make_unique<Key>(Key{std::string(part), {}, {}}));
            sub = key->subkeys.back().get();
        }
        key = sub;
    }
}

bool Registry::KeyExists(std::string_view path) const {
    return Find(path) != nullptr;
}

void Registry::SetValue(std::string_view path, std::string_view name, std::string_view data) {
    CreateKey(path);
    Key* key = Find(path);
    for (auto& [existing, value] : key->values) {
        if (SameName(existing, name)) {
            value = data;
            return;
        }
    }
    key->values.emplace_back(name, data);
}

std::optional<std::string> Registry::GetValue(std::string_view path, std::string_view name) const {
    if (const Key* key = Find(path)) {
        for (const auto& [existing, value] : key->values) {
            if (SameName(existing, name)) {
                return value;
            }
        }
    }
    return std::nullopt;
}

bool Registry::DeleteValue(std::string_view path, std::string_view name) {
    Key* key = Find(path);
    if (key == nullptr) {
        return false;
    }
    return std::erase_if(key->values, [&](const auto& v) { return SameName(v.first, name); }) > 0;
}

std::vector<std::string> Registry::SubKeys(std::string_view path) const {
    std::vector<std::string> names;
    if (const Key* key = Find(path)) {
        for (const auto& sub : key->subkeys) {
            names.push_back(sub->name);
        }
    }
    return names;
}

std::vector<std::string> Registry::ValueNames(std::string_view path) const {
    std::vector<std::string> names;
    if (const Key* key = Find(path)) {
        for (const auto& value : key->values) {
            names.push_back(value.first);
        }
    }
    return names;
}

bool Registry::DeleteTree(std::string_view path) {
    auto parts = SplitPath(path);
    if (parts.empty()) {
        return false; // the root itself is never deleted
    }
    const auto last = parts.back();
    parts.pop_back();
    Key* parent = m_root.get();
    for (auto part : parts) {
        parent = Child(*parent, part);
        if (parent == nullptr) {
            return false;
        }
    }
    return std::erase_if(parent->subkeys, [&](const auto& k) { return SameName(k->name, last); }) >
           0;
}
