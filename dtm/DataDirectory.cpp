#include "dtm/DataDirectory.h"

#include <cstdlib>
#include <system_error>

std::filesystem::path FindDtmDataDirectory() {
    if (const char* named = std::getenv("VELA_DTM_DATA"); named != nullptr && *named != '\0') {
        return named;
    }
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::filesystem::path beside = executable.parent_path() / "dtm-data";
        if (std::filesystem::is_directory(beside, error)) {
            return beside;
        }
    }
    return OV_DTM_SOURCE_DATA_DIR;
}
