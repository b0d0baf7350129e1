#pragma once

#include "views/common/DeviceView.h"
#include "views/configuration/ConfigurationForm.h"

#include <memory>
#include <span>
#include <vector>

class QLabel;
class QVBoxLayout;

// A configuration view: its title, groups of fields bound to device parameters, and the
// buttons "Read" (the device's values), "Default" (the defaults, not yet written) and "Apply"
// (checks every field; writes them all only when each passes). The values are read when the
// view is shown.
class CConfigurationView : public CDeviceViewCore {
public:
    CConfigurationForm& Form() { return m_form; }
    const CConfigurationForm& Form() const { return m_form; }
    QString Status() const;

protected:
    // `invalidPrefix` precedes the label of a field that fails its check on Apply.
    CConfigurationView(const SViewContext& context, const char* title, const char* invalidPrefix);

    struct SGroup {
        const char* title;
        std::span<const SConfigurationField> fields;
    };
    // The view's groups of fields, shown side by side.
    virtual std::vector<SGroup> Groups() const { return {}; }
    // Adds the view's fields to `layout`: the groups side by side, unless a view lays them out
    // itself (fields through Form().AddGroup).
    virtual void CreateFields(QWidget& content, QVBoxLayout& layout);
    // What a view reads, defaults, checks and writes beyond its form.
    virtual void ReadMore() {}
    virtual void DefaultsMore() {}
    // False keeps Apply from writing; the view has shown why.
    virtual bool CheckMore() { return true; }
    virtual void WriteMore() {}
    // A new value the form does not show.
    virtual void OnOtherParameter(std::uint32_t key) { static_cast<void>(key); }

    void ShowSettingsStatus(const QString& text);
    void Read();
    void Defaults();
    void Apply();

private:
    std::unique_ptr<QWidget> CreateDeviceContent() final;
    void OnDeviceActivated() final;
    void OnParameter(std::uint32_t key) final;

    const char* m_title;
    const char* m_invalidPrefix;
    CConfigurationForm m_form;
    QLabel* m_status = nullptr;
};
