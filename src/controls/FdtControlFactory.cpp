#include "controls/FdtControlFactory.h"

#include "controls/CustomFdtControlFactory.h"
#include "controls/FdtBitEnumControl.h"
#include "controls/FdtButtonControl.h"
#include "controls/FdtComboBoxControl.h"
#include "controls/FdtStaticTextControl.h"
#include "controls/FdtTextControl.h"
#include "model/Conversions.h"
#include "model/Validator.h"
#include "ui/LayoutDescriptionParser.h"
#include "ui/TextResource.h"
#include "xml/Xml.h"

#include <stdexcept>
#include <string_view>

namespace {

int Number(const xml::Node& element, std::string_view path, std::string_view absent = "0") {
    return CLayoutDescriptionParser::ReadNumber(element.Attribute(path, absent));
}

// A size or count attribute: text that is not a number is an error.
int StrictNumber(const xml::Node& element, std::string_view path, std::string_view absent) {
    return CConversions::to_int32(element.Attribute(path, absent));
}

std::vector<SBitEnumBit> ReadBits(const xml::Node& element, std::string_view path) {
    std::vector<SBitEnumBit> bits;
    for (const xml::Node& bit : element.SelectAll(path)) {
        bits.push_back({CConversions::to_uint32(bit.Attribute("@value")), bit.Attribute("@label"),
                        bit.Attribute("@tooltip")});
    }
    return bits;
}

// What the description gives a control of any kind.
struct SDescription {
    const xml::Node& element;
    QWidget* parent;
    SControlSetup setup;
    ITextResource* textProvider;
};

// Constructs the kind and creates its window in the parent; the kind's own settings follow.
template <class Control> std::unique_ptr<Control> Make(const SDescription& description) {
    auto control = std::make_unique<Control>(description.setup);
    const xml::Node& element = description.element;
    control->Create(description.parent,
                    {Number(element, ".//Location/@x"), Number(element, ".//Location/@y")},
                    {Number(element, "@width"), Number(element, "@height")});
    control->SetOverwriteSize(StrictNumber(element, "./OverwriteSize/@controlWidth", "-1"),
                              StrictNumber(element, "./OverwriteSize/@controlHeight", "-1"));
    control->SetLabelLines(StrictNumber(element, "./OverwriteLabelLines/@labelLines", "1"));
    control->SetEnabled(element.Attribute("@enabled", "1") == "1");
    control->SetLabel(element.Attribute("@label"));
    control->SetTag(element.Attribute("@tag"));
    control->SetUnit(element.Attribute("@unit"));
    control->SetGroupType(StrictNumber(element, "@groupType", "0"));
    return control;
}

std::unique_ptr<CFdtControlBase> MakeText(const SDescription& description, bool packedAscii) {
    std::unique_ptr<CFdtTextControl> control = packedAscii
                                                   ? Make<CFdtPackedAsciiControl>(description)
                                                   : Make<CFdtTextControl>(description);
    control->SetStringLength(StrictNumber(description.element, "@stringLength", "-1"));
    ITextResource* texts = description.textProvider;
    control->SetValidator(CreateValidator(description.element, [texts](int id) {
        return texts ? texts->GetText(static_cast<std::uint32_t>(id)).toStdString()
                     : BuiltInValidatorText(id);
    }));
    return control;
}

std::unique_ptr<CFdtControlBase> MakeButton(const SDescription& description) {
    auto control = Make<CFdtButtonControl>(description);
    control->SetActionId(Number(description.element, "@actionId", "-1"));
    return control;
}

std::unique_ptr<CFdtControlBase> MakeComboBox(const SDescription& description) {
    auto control = Make<CFdtComboBoxControl>(description);
    std::vector<CComboBoxChoice> choices;
    for (const xml::Node& choice : description.element.SelectAll(".//Choice")) {
        const std::string tag = choice.Attribute("@tag");
        choices.push_back({choice.Attribute("@caption"), tag, Number(choice, "@tag")});
    }
    control->SetFixedChoices(std::move(choices));
    return control;
}

std::unique_ptr<CFdtControlBase> MakeImage(const SDescription& description) {
    auto control = Make<CFdtImageControl>(description);
    control->SetImage(Number(description.element, "@resourceId"),
                      description.element.Attribute("@imagePath"));
    control->SetActionId(Number(description.element, "@actionId", "-1"));
    return control;
}

template <class Control>
std::unique_ptr<CFdtControlBase> MakeBits(const SDescription& description, std::string_view bits) {
    auto control = Make<Control>(description);
    control->SetBits(ReadBits(description.element, bits));
    return control;
}

struct SKind {
    std::string_view name;
    bool dataBound;
    std::unique_ptr<CFdtControlBase> (*make)(const SDescription& description);
};

// In the order the names are compared.
constexpr SKind kKinds[] = {
    {"FdtTextControl", true, [](const SDescription& d) { return MakeText(d, false); }},
    {"FdtPackedAsciiControl", true, [](const SDescription& d) { return MakeText(d, true); }},
    {"FdtButtonControl", false, MakeButton},
    {"FdtComboBoxControl", true, MakeComboBox},
    {"FdtImageControl", false, MakeImage},
    {"FdtBitEnumControl", true,
     [](const SDescription& d) { return MakeBits<CFdtBitEnumControl>(d, ".//Bit"); }},
    {"FdtBitEnumeratedControl", true,
     [](const SDescription& d) {
         return MakeBits<CFdtBitEnumeratedControl>(d, ".//BitEnumerator");
     }},
    {"FdtCaptionControl", false,
     [](const SDescription& d) -> std::unique_ptr<CFdtControlBase> {
         return Make<CFdtCaptionControl>(d);
     }},
    {"FdtStaticTextControl", false,
     [](const SDescription& d) -> std::unique_ptr<CFdtControlBase> {
         return Make<CFdtStaticTextControl>(d);
     }},
};

} // namespace

CFdtControlFactory& CFdtControlFactory::Instance() {
    static CFdtControlFactory factory;
    return factory;
}

void CFdtControlFactory::SetCustomFactory(ICustomFdtControlFactory* factory) {
    if (factory != nullptr) {
        m_customFactory = factory;
    }
}

void CFdtControlFactory::RemoveCustomFactory(const ICustomFdtControlFactory* factory) {
    if (m_customFactory == factory) {
        m_customFactory = nullptr;
    }
}

std::unique_ptr<IFdtControl> CFdtControlFactory::CreateControl(const xml::Node& element,
                                                               QWidget* parent,
                                                               IFdtControlOwner* owner,
                                                               ITextResource* textProvider) {
    if (element.IsNull()) {
        return nullptr;
    }
    const bool iconTooltips = element.Attribute("//ApplicationArea/@enableIconTooltip") == "1";
    const std::string name = element.Name();
    for (const SKind& kind : kKinds) {
        if (kind.name != name) {
            continue;
        }
        int controlId =
            static_cast<int>(CConversions::to_uint32(element.Attribute("@controlId", "0")));
        if (controlId == 0) {
            // A control that shows a parameter must name it.
            if (kind.dataBound) {
                throw std::invalid_argument(name + ": no controlId names its parameter");
            }
            controlId = m_nextControlId++;
        }
        return kind.make(
            {element, parent, {controlId, owner, textProvider, iconTooltips}, textProvider});
    }
    return m_customFactory ? m_customFactory->CreateCustomControl(element, parent) : nullptr;
}
