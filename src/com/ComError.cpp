#include "com/ComError.h"

namespace {
std::string Describe(HRESULT hr, const IID& iid, const std::string& operation) {
    std::string text = "COM call ";
    if (!operation.empty()) {
        text += operation + " ";
    }
    return text + "failed with " + HResultText(hr) + " on interface " + iid.ToString();
}
} // namespace

ComError::ComError(HRESULT hr, const IID& iid, const std::string& operation)
    : std::runtime_error(Describe(hr, iid, operation)), m_hr(hr), m_iid(iid) {}
