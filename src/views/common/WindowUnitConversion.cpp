#include "views/common/WindowUnitConversion.h"

#include <QLineEdit>

bool CWindowUnitConversion::ConvertWindowValue(std::int32_t source, std::int32_t target,
                                               bool keepText, QLineEdit& window) const {
    if (source == target) {
        return true;
    }
    const QString text = window.text();
    if (keepText) {
        window.setText(text);
        return true;
    }
    const auto converted = ConvertText(source, target, text.toStdString());
    if (!converted) {
        return false;
    }
    window.setText(QString::fromStdString(*converted));
    return true;
}
