#include "views/common/VelaFFUIServices.h"

#include "views/common/DeviceAccess.h"

#include "fieldbus/BinaryBuffer.h"
#include "model/Conversions.h"
#include "model/DeviceState.h"
#include "model/GenericUnitConversion.h"
#include "ui/ApplicationView.h"
#include "ui/AreaResources.h"
#include "ui/SharedIcons.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>

namespace {

const std::string kFractionMessage =
    "Fraction values are not allowed. Numeric Range shall be between";
const std::string kFractionMessageAlternate =
    "Fraction values are not allow and Numeric Range shall be between";
const std::string kRangeMessage = "Numeric Range shall be between";
const std::string kUpperMessage = "Upper value must be greater lower value";
const std::string kLowerMessage = "Lower value must be less than Upper value";
const std::string kCrossMessage = "Cross the range";
const std::string kAlphaNumericMessage = "AlphaNumerics, - and _ are only accepted";

// " <min> and <max>", closing a range message.
std::string Limits(const SNumericRange& range) {
    return " " + CGenericUnitConversion::FormatValue(range.minimum) + " and " +
           CGenericUnitConversion::FormatValue(range.maximum);
}

bool IsTagCharacter(QChar c) {
    return (c.unicode() < 128 && c.isLetterOrNumber()) || c == u'-' || c == u'_' || c == u' ';
}

} // namespace

double CVelaFFUIServices::FieldNumber(const QLineEdit& field, std::string_view suffix) {
    QString text = field.text().trimmed();
    const QString unit = QString::fromUtf8(suffix.data(), static_cast<qsizetype>(suffix.size()));
    if (!unit.isEmpty() && text.endsWith(unit)) {
        text.chop(unit.size());
    }
    return CConversions::to_double(text.trimmed().toStdString());
}

std::string CVelaFFUIServices::RangeProblem(double value, const SNumericRange& range) {
    return RangeProblem(value, range, kFractionMessage);
}

std::string CVelaFFUIServices::RangeProblem(double value, const SNumericRange& range,
                                            const std::string& fractionMessage) {
    if (range.integer && std::isfinite(value) && value != std::trunc(value)) {
        return fractionMessage + Limits(range);
    }
    // Written so that a value that is not a number is outside the range, too.
    if (!(range.minimum <= value && value <= range.maximum)) {
        return kRangeMessage + Limits(range);
    }
    return {};
}

void CVelaFFUIServices::RefreshSoundButton(const SDeviceState& state,
                                           QAbstractButton& button) const {
    button.setText(state.soundOn ? QStringLiteral("Sound ON") : QStringLiteral("Sound OFF"));
    button.setIcon(QIcon(LoadBitmapResource(state.soundOn ? SoundOnBitmap : SoundOffBitmap)));
}

void CVelaFFUIServices::ToggleSound(SDeviceState& state, QAbstractButton& button) const {
    state.soundOn = !state.soundOn;
    RefreshSoundButton(state, button);
}

bool CVelaFFUIServices::ShowVerdict(IApplicationView& view, QLineEdit& field, QLabel& icon,
                                    const std::function<std::string()>& findProblem) const {
    std::string problem;
    try {
        problem = findProblem();
    } catch (const std::exception& error) {
        problem = error.what();
    }
    const bool valid = problem.empty();
    icon.setPixmap(CSharedIcons::Instance()
                       .GetIcon(valid ? ValidIcon : InvalidIcon)
                       .pixmap(CSharedIcons::IconSize));
    if (valid) {
        view.RemoveToolTip(&field);
    } else {
        view.AddToolTip(&field, problem);
    }
    return valid;
}

bool CVelaFFUIServices::CheckRange(IApplicationView& view, QLineEdit& field, QLabel& icon,
                                   const SNumericRange& range, const std::string& fractionMessage,
                                   std::string_view suffix) const {
    return ShowVerdict(view, field, icon, [&] {
        return RangeProblem(FieldNumber(field, suffix), range, fractionMessage);
    });
}

bool CVelaFFUIServices::CheckNumericRange(IApplicationView& view, QLineEdit& field, QLabel& icon,
                                          const SNumericRange& range,
                                          std::string_view suffix) const {
    return CheckRange(view, field, icon, range, kFractionMessage, suffix);
}

bool CVelaFFUIServices::CheckNumericRangeAlternate(IApplicationView& view, QLineEdit& field,
                                                   QLabel& icon, const SNumericRange& range) const {
    return CheckRange(view, field, icon, range, kFractionMessageAlternate, {});
}

bool CVelaFFUIServices::CheckLowerUpper(IApplicationView& view, QLineEdit& first, QLineEdit& second,
                                        QLabel& icon, EEditedField edited) const {
    const bool editingFirst = edited == EEditedField::First;
    return ShowVerdict(view, editingFirst ? first : second, icon, [&]() -> std::string {
        const double a = FieldNumber(first);
        const double b = FieldNumber(second);
        if (editingFirst) {
            return a > b ? kUpperMessage : std::string();
        }
        return a < b ? kLowerMessage : std::string();
    });
}

bool CVelaFFUIServices::CheckCrossRange(IApplicationView& view, QLineEdit& field, QLineEdit& other,
                                        QLabel& icon, double reference) const {
    if (field.text().isEmpty() || other.text().isEmpty()) {
        return true;
    }
    return ShowVerdict(view, field, icon, [&]() -> std::string {
        return FieldNumber(field) + FieldNumber(other) > reference ? kCrossMessage : std::string();
    });
}

bool CVelaFFUIServices::CheckAlphaNumeric(IApplicationView& view, QLineEdit& field,
                                          QLabel& icon) const {
    return ShowVerdict(view, field, icon, [&]() -> std::string {
        const QString text = field.text();
        const bool accepted = !text.isEmpty() && std::ranges::all_of(text, IsTagCharacter);
        return accepted ? std::string() : kAlphaNumericMessage;
    });
}

bool CVelaFFUIServices::ConvertFieldUnit(QLineEdit& field, const QString& source,
                                         const QString& target, bool keepText) const {
    const QString text = field.text();
    if (text.isEmpty()) {
        return true;
    }
    if (keepText) {
        field.setText(text);
        return true;
    }
    const double converted = ConvertUnit(source, target, FieldNumber(field));
    field.setText(QString::fromStdString(CGenericUnitConversion::FormatValue(converted)));
    return true;
}

bool CVelaFFUIServices::ParseHexWords(std::string_view text, std::span<std::uint32_t> items,
                                      std::size_t count, std::size_t bytesPerItem) const {
    if (bytesPerItem == 0 || bytesPerItem > sizeof(std::uint32_t) || count > items.size() ||
        text.empty() || text.size() < count * bytesPerItem * 2) {
        return false;
    }
    CBinaryBuffer bytes;
    try {
        bytes = CBinaryBuffer::FromHexText(text);
    } catch (const std::exception&) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t item = 0;
        for (std::size_t b = 0; b < bytesPerItem; ++b) {
            item = item << 8 | bytes.At(i * bytesPerItem + b);
        }
        items[i] = item;
    }
    return true;
}

SNumericRange DeviceRange(const CDeviceAccess& device, std::uint32_t key, double scale,
                          bool integer) {
    SNumericRange range{std::numeric_limits<double>::lowest(), std::numeric_limits<double>::max(),
                        integer};
    if (const auto limits = device.FetchLimits(key)) {
        range.minimum = limits->first / scale;
        range.maximum = limits->second / scale;
    }
    return range;
}
