#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

class CDeviceAccess;
class IApplicationView;
class QAbstractButton;
class QLabel;
class QLineEdit;
struct SDeviceState;

// The allowed range of a numeric field; a field of an integer type also refuses fractions.
struct SNumericRange {
    double minimum = 0.0;
    double maximum = 0.0;
    bool integer = false;
};

// The range of the numeric parameter `key` as the DTM describes it, in the unit a field shows
// (the device's value / `scale`); unbounded when the DTM gives no limits.
SNumericRange DeviceRange(const CDeviceAccess& device, std::uint32_t key, double scale = 1.0,
                          bool integer = false);

// Operations that the device views share: the Sound button of the view header, the checks of
// values typed into edit fields, unit conversion of displayed values and the decoding of
// hexadecimal words.
//
// Every field check shows its verdict the same way: the icon label beside the field shows
// shared icon 31 for valid input and 30 for invalid input, and invalid input puts the
// message on the field as its tooltip through the view (valid input removes it). A text that
// is not a number gets the conversion's own message. A check reads the field text, never
// changes it, and answers true for valid input.
class CVelaFFUIServices {
public:
    static constexpr int ValidIcon = 31;
    static constexpr int InvalidIcon = 30;
    static constexpr int SoundOnBitmap = 213;
    static constexpr int SoundOffBitmap = 230;

    // Which field of a pair is being edited.
    enum class EEditedField { First = 1, Second = 2 };

    virtual ~CVelaFFUIServices() = default;

    // "Sound ON" with bitmap 213 while sound is on in `state`, else "Sound OFF" with 230.
    void RefreshSoundButton(const SDeviceState& state, QAbstractButton& button) const;
    // Flips the sound flag of `state`, then refreshes the button.
    void ToggleSound(SDeviceState& state, QAbstractButton& button) const;

    // Integer fields refuse fractions with "Fraction values are not allowed. Numeric Range
    // shall be between <min> and <max>"; values outside the range get "Numeric Range shall be
    // between <min> and <max>". A field that shows its unit after the number ("5.00 s") names
    // it as `suffix`; the number is read without it.
    bool CheckNumericRange(IApplicationView& view, QLineEdit& field, QLabel& icon,
                           const SNumericRange& range, std::string_view suffix = {}) const;
    // The same check whose fraction message starts "Fraction values are not allow and".
    bool CheckNumericRangeAlternate(IApplicationView& view, QLineEdit& field, QLabel& icon,
                                    const SNumericRange& range) const;
    // Reads both fields as numbers A (first) and B (second). Editing the first, A > B is
    // invalid; editing the second, A < B is. The verdict goes to the edited field.
    bool CheckLowerUpper(IApplicationView& view, QLineEdit& first, QLineEdit& second, QLabel& icon,
                         EEditedField edited) const;
    // Only when both fields hold text: their sum must not exceed `reference`. The verdict
    // goes to `field`; with an empty field nothing changes and the answer is true.
    bool CheckCrossRange(IApplicationView& view, QLineEdit& field, QLineEdit& other, QLabel& icon,
                         double reference) const;
    // Letters, digits, "-", "_" and blanks (ASCII), and at least one character.
    bool CheckAlphaNumeric(IApplicationView& view, QLineEdit& field, QLabel& icon) const;

    // The number in `field`, read without a trailing `suffix` (the unit a field shows after
    // the number); a text that is not a number raises the conversion's error.
    static double FieldNumber(const QLineEdit& field, std::string_view suffix = {});
    // What is wrong with `value` for `range` (the fraction or the range message), or empty.
    static std::string RangeProblem(double value, const SNumericRange& range);

    // `value` converted between two units of one family (length, area, volume, temperature,
    // time, pressure, torque). Unit names are compared without regard to case; area and
    // volume units also go by "sq ..." and "cu ..." names. A pair without a rule, a unit
    // converted to itself included, gives `value` back.
    double ConvertUnit(const QString& source, const QString& target, double value) const;
    // Converts the number in `field` with ConvertUnit and writes it back; with `keepText` the
    // text is written back as it is. An empty field is left alone. A text that is not a
    // number raises the conversion error and stays as it was. Answers true.
    bool ConvertFieldUnit(QLineEdit& field, const QString& source, const QString& target,
                          bool keepText) const;

    // Decodes `text` (two hexadecimal digits a byte) into `count` items of `bytesPerItem`
    // bytes (1 to 4), each most significant byte first. False, with `items` untouched, for an
    // empty text, a text shorter than the items need, a character that is not a hexadecimal
    // digit, an odd number of digits, or more items than `items` holds.
    bool ParseHexWords(std::string_view text, std::span<std::uint32_t> items, std::size_t count,
                       std::size_t bytesPerItem) const;

private:
    // Shows the verdict of `findProblem`: the message of invalid input, empty for valid input;
    // a conversion error raised in it counts as its message.
    bool ShowVerdict(IApplicationView& view, QLineEdit& field, QLabel& icon,
                     const std::function<std::string()>& findProblem) const;
    static std::string RangeProblem(double value, const SNumericRange& range,
                                    const std::string& fractionMessage);
    bool CheckRange(IApplicationView& view, QLineEdit& field, QLabel& icon,
                    const SNumericRange& range, const std::string& fractionMessage,
                    std::string_view suffix) const;
};
