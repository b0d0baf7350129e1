#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace xml {
class Node;
}

// A rule that an edited value must pass before it leaves its control.
class IValidator {
public:
    virtual ~IValidator() = default;
    // True when `text` passes; otherwise false, and GetMessage tells the user why.
    virtual bool Validate(std::string_view text) = 0;
    // The message of the last failed check; empty after a pass.
    virtual const std::string& GetMessage() const = 0;
};

// Text ids of the validators' message templates.
enum EValidatorText {
    eTextNumericRange = 20,      // placeholders {min} and {max}
    eTextNotWholeNumber = 22,    //
    eTextNotFloatingNumber = 23, //
    eTextNotDivisible = 24,      // placeholder {step}
};

// Gives the message template of a text id. The online view passes its text provider's
// lookup by id; BuiltInValidatorText answers the default texts.
using ValidatorTextSource = std::function<std::string(int textId)>;

std::string BuiltInValidatorText(int textId);

// The validator that the `Validator` child of a `ControlData` element describes, owned by
// the caller; null when there is no such child or its type is not a known rule. A limit or
// step that does not parse raises the conversion's exception.
std::unique_ptr<IValidator> CreateValidator(const xml::Node& controlData,
                                            ValidatorTextSource texts = BuiltInValidatorText);
