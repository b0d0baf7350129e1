#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

class CDeviceAccess;
class IApplicationView;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

// One field of a configuration view, bound to one device parameter.
struct SConfigurationField {
    enum class EKind { Text, Number, Integer, Choice };

    const char* label;
    std::uint32_t key;
    EKind kind;
    // What Default puts into the field: its text, or for a choice the tag.
    const char* defaultText;
    // The unit shown beside the field; for a field that follows a unit selection, the unit the
    // device keeps the value in.
    const char* unit = "";
    // The unit selection (an enumeration whose captions are unit names) the field is shown in;
    // 0 for a fixed unit.
    std::uint32_t unitKey = 0;
    // Digits after the decimal point of a number.
    int decimals = 2;
    // Text after the number inside the field ("s": "5.00 s").
    const char* suffix = "";
    // Shares the row of the field before it (a pair such as Low and High).
    bool sameRow = false;
    // The field (key) whose number this one may not exceed; 0 for none.
    std::uint32_t notAbove = 0;
    // The field's name in messages when its label alone does not say it; null for the label.
    const char* name = nullptr;
};

// The fields of a configuration view: their widgets in groups, reading them from the device,
// the defaults, the entry checks and writing them back. Numbers whose unit follows a unit
// selection are shown converted into the selected unit and written back in the device's.
class CConfigurationForm {
public:
    CConfigurationForm(const CDeviceAccess& device, IApplicationView& view);

    // A group box titled `title` with one row per field (a label, the field, its check icon
    // and its unit).
    QGroupBox* AddGroup(QWidget* parent, const QString& title,
                        std::span<const SConfigurationField> fields);

    // The choices of every choice field, as the DTM describes them.
    void LoadChoices();
    // Read requests for the unit selections, then for every field. A field the DTM does not
    // know is left out, and named in the error raised after the others were asked for.
    void Read();
    // True for the key Read asks for last.
    bool IsLastRead(std::uint32_t key) const;
    // Shows the new value of `key` in its field; true when the key is one of the form's.
    bool OnParameter(std::uint32_t key);
    void Defaults();
    // Checks every enabled field; the label of the first one that fails, or nothing.
    std::optional<QString> Check();
    // Writes every enabled field to the device.
    void Write() const;

    QLineEdit* Field(std::uint32_t key) const;
    QComboBox* Choice(std::uint32_t key) const;
    void SetEnabled(std::uint32_t key, bool enabled);
    // The unit a field is shown in now.
    QString ShownUnit(std::uint32_t key) const;

private:
    struct SEntry {
        const SConfigurationField* field = nullptr;
        QLineEdit* edit = nullptr;
        QComboBox* combo = nullptr;
        QLabel* icon = nullptr;
        QLabel* unit = nullptr;
        QString shownUnit;
    };

    SEntry* Find(std::uint32_t key);
    const SEntry* Find(std::uint32_t key) const;
    void ShowValue(SEntry& entry);
    void FollowUnit(std::uint32_t unitKey);
    QString FormatNumber(const SEntry& entry, double value) const;
    // Runs `work` for each key; raises one error naming the keys whose work failed.
    static void ForEachKey(const std::vector<std::uint32_t>& keys,
                           const std::function<void(std::uint32_t)>& work);
    static void SelectTag(QComboBox& combo, std::uint32_t tag);
    static void FillChoices(QComboBox& combo, const CDeviceAccess& device, std::uint32_t key);

    const CDeviceAccess& m_device;
    IApplicationView& m_view;
    std::vector<SEntry> m_entries;
};
