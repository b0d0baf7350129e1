// Arbitrary bytes as the control data document of a parameter: the descriptor factory
// builds it as every kind, every query of the result is asked, the cached descriptor is
// re-read, and the document's validator checks the value. Bad input may raise the
// documented invalid-argument and run-time errors; anything else is a finding.
#include "common/FixedParameterAccess.h"
#include "model/BitEnumParameterDescriptor.h"
#include "model/Conversions.h"
#include "model/DateOrTimeParameterDescriptor.h"
#include "model/EnumParameterDescriptor.h"
#include "model/FFValueArrayParameterDescriptor.h"
#include "model/NumericParameterDescriptor.h"
#include "model/ParameterDescriptionFactory.h"
#include "model/StringParameterDescriptor.h"
#include "model/Validator.h"
#include "xml/Xml.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace {

// Runs `call`, letting only the documented kinds of error through.
template <class Call> void Tolerating(Call call) {
    try {
        call();
    } catch (const std::invalid_argument&) {
    } catch (const std::runtime_error&) {
    }
}

// Keeps the answers of the queries from being optimised away.
volatile std::size_t g_sink = 0;
void Use(std::size_t value) {
    g_sink = g_sink + value;
}

void AskKind(const IParameterDescription& d) {
    if (const auto* numeric = dynamic_cast<const CNumericParameterDescriptor*>(&d)) {
        Use(numeric->GetMin().size() + numeric->GetMax().size());
        Use(static_cast<std::size_t>(numeric->GetByteSize()));
    } else if (const auto* text = dynamic_cast<const CStringParameterDescriptor*>(&d)) {
        Use(text->IsPackedAscii() + static_cast<std::size_t>(text->GetStringLength()));
    } else if (const auto* choices = dynamic_cast<const CEnumParameterDescriptor*>(&d)) {
        for (const SChoice& choice : choices->GetChoices()) {
            Use(choices->GetCaption(choice.tag)->size() + *choices->GetTag(choice.caption));
        }
        Use(choices->GetCurrentTag().value_or(0) + choices->GetCaptionsByTag().size() +
            choices->GetTagsByCaption().size());
    } else if (const auto* bits = dynamic_cast<const CBitEnumParameterDescriptor*>(&d)) {
        for (const SBitEnumerator& bit : bits->GetBitEnumerators()) {
            Use(bits->GetBitLabel(bit.value)->size() + *bits->GetBitMask(bit.label));
        }
        Use(bits->GetLabelsByMask().size() + bits->GetMasksByLabel().size());
    } else if (const auto* array = dynamic_cast<const CFFValueArrayParameterDescriptor*>(&d)) {
        Use(array->GetElementType().size() + array->GetArrayValueType().size());
        for (const SArrayElement& element : array->GetElements()) {
            Use(element.index.size() + element.value.size() + element.description.size());
        }
    } else if (const auto* date = dynamic_cast<const CDateOrTimeParameterDescriptor*>(&d)) {
        const SDateTime& t = date->GetDateTime();
        Use(static_cast<std::size_t>(t.year + t.month + t.day + t.hour + t.minute + t.second +
                                     t.milliseconds + t.days + t.timeValue + t.dayOfWeek +
                                     t.summerTime));
    }
}

void Ask(IParameterDescription& d) {
    Use(d.GetLabel().size() + d.GetTooltip().size() + d.GetValue().size() + d.GetUnit().size() +
        d.GetName().size());
    Use(ToKeyword(d.GetValueType()).size() + ToKeyword(d.GetParameterType()).size());
    Use(d.GetTimestamp()->group4);
    AskKind(d);
    Tolerating([&] { d.Update(2); });
    AskKind(d);
}

void Validate(const std::string& document) {
    const xml::Document doc = xml::Document::TryParse(document);
    const xml::Node controlData = FindControlData(doc);
    if (!controlData) {
        return;
    }
    std::unique_ptr<IValidator> validator;
    Tolerating([&] { validator = CreateValidator(controlData); });
    const std::string value = controlData.Attribute("@value");
    if (validator) {
        Use(validator->Validate(value) + validator->GetMessage().size());
    }
    Tolerating([&] { CConversions::to_int32(value, 16); });
    Tolerating([&] { CConversions::to_byte_array(value); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string document(reinterpret_cast<const char*>(data), size);
    CParameterDescriptionFactory factory(MakeCom<CFixedParameterAccess>(document));
    for (std::uint32_t kind = 0; kind <= 8; ++kind) {
        Tolerating([&] {
            if (IParameterDescription* descriptor = factory.GetParameterDescription(2, kind)) {
                Ask(*descriptor);
            }
        });
    }
    Validate(document);
    return 0;
}
