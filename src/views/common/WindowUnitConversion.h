#pragma once

#include "model/GenericUnitConversion.h"

#include <cstdint>

class QLineEdit;

// The unit conversion by unit codes, applied in place to the value shown in an edit field.
class CWindowUnitConversion : public CGenericUnitConversion {
public:
    // Converts the number in `window` from `source` to `target` and shows the rounded
    // result. Equal units leave the field untouched; with `keepText` its text is written back
    // as it is. A pair the table does not list leaves the field as typed and answers false;
    // otherwise the answer is true. A text that is not a number raises the conversion error
    // and stays as it was.
    bool ConvertWindowValue(std::int32_t source, std::int32_t target, bool keepText,
                            QLineEdit& window) const;
};
