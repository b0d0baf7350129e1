#pragma once

#include "com/ComPtr.h"
#include "fdt/DtmInterfaces.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class IDirectParameterAccess;
class IParameterDescription;

// How a device view talks to the device through the DTM. Every request names request 2 (not
// the DTM context) and the parameter key as unsigned decimal text. A DTM call that fails
// raises ComError with its HRESULT; the view's event boundary catches it and shows it.
class CDeviceAccess {
public:
    static constexpr std::int32_t kRequest = 2;
    static constexpr const char* kInformationDialog = "InformationDialog";

    CDeviceAccess(IDirectParameterAccess* parameters, ComPtr<IDtmParameterAccess> parameterAccess,
                  ComPtr<IDtmUIAccess> uiAccess);

    // The value the DTM last received for `key`, as text, from a descriptor of kind
    // `Descriptor` (numeric, enumeration or FF value array). Never talks to the device.
    // Nothing when the DTM does not describe the key, or describes it with another kind.
    template <class Descriptor> std::optional<std::string> Fetch(std::uint32_t key) const {
        if (const auto* descriptor = dynamic_cast<const Descriptor*>(Describe(key))) {
            return descriptor->GetValue();
        }
        return std::nullopt;
    }

    // The lower and upper limit of the numeric parameter `key` as the DTM describes it;
    // nothing when it is not numeric or a limit is missing or not a number.
    std::optional<std::pair<double, double>> FetchLimits(std::uint32_t key) const;

    // The choices (tag, caption) of the enumeration `key` and its unit text of a numeric
    // parameter, as the DTM describes them; nothing when the key is not of that kind.
    std::optional<std::vector<std::pair<std::uint32_t, std::string>>>
    FetchChoices(std::uint32_t key) const;
    std::optional<std::string> FetchUnit(std::uint32_t key) const;

    // What a list of parameters shows of any parameter: its label, its value as text (an
    // enumeration's caption, a value array's elements separated by blanks) and its unit;
    // nothing when the DTM does not describe the key.
    struct SParameterText {
        std::string label;
        std::string value;
        std::string unit;
    };
    std::optional<SParameterText> FetchText(std::uint32_t key) const;

    // The element values of the FF value array `key`, as the DTM last received them; nothing
    // when the DTM does not describe the key as an FF value array.
    std::optional<std::vector<std::string>> FetchArray(std::uint32_t key) const;

    // Asks the DTM to read `key` from the device; the new value arrives later as update 100.
    void RequestRead(std::uint32_t key) const;
    // Sets the DTM's copy of `key`, then asks the DTM to write it to the device.
    void Write(std::uint32_t key, const std::string& value) const;
    // Sets the DTM's copy only; the device keeps its value. An answer of the DTM that refuses
    // the value raises std::runtime_error with the DTM's text.
    void SetDtmCopy(std::uint32_t key, const std::string& value) const;
    // Asks the DTM to run function `functionId` (a fieldbus service, ...) on `argument`.
    void Execute(std::int32_t functionId, const std::string& argument) const;
    // A named value of the DTM ("VFDTag", ...), as text.
    std::string GetProperty(const std::string& name) const;
    // The frame shows `text` as an information message, or in the dialog of `kind`.
    void ShowMessage(const std::string& text) const;
    void ShowMessage(const std::string& text, const std::string& kind) const;

    static std::string KeyText(std::uint32_t key);

private:
    // The descriptor of `key`, read anew from the DTM's control data; null without one.
    const IParameterDescription* Describe(std::uint32_t key) const;
    IDtmParameterAccess& ParameterAccess() const;
    IDtmUIAccess& UIAccess() const;

    IDirectParameterAccess* m_parameters;
    ComPtr<IDtmParameterAccess> m_parameterAccess;
    ComPtr<IDtmUIAccess> m_uiAccess;
};
