#pragma once

#include "views/common/DeviceView.h"

#include <array>
#include <cstdint>

class QLineEdit;

// What the positioner reports about itself as a fieldbus device: its tag and id (from the SM
// identify service), its node address, VFD tag and DTM version (named values of the DTM) and
// its revisions (device parameters). "Read" asks for all of them again.
class CFFInformationView : public CDeviceView<CFFInformationView, 328> {
public:
    static constexpr int kViewId = 1104;
    static constexpr std::uint32_t kSoftwareRevision = 0x01200000;
    static constexpr std::uint32_t kDeviceType = 0x020B0000;
    static constexpr std::uint32_t kManufacturerId = 0x020A0000;
    static constexpr std::uint32_t kDeviceRevision = 0x020C0000;
    static constexpr std::uint32_t kDdRevision = 0x020D0000;
    static constexpr std::uint32_t kItkRevision = 0x02290000;
    // The device parameters in the order they are read.
    static constexpr std::array<std::uint32_t, 6> kReadOrder{kSoftwareRevision, kDeviceType,
                                                             kManufacturerId,   kDeviceRevision,
                                                             kDdRevision,       kItkRevision};

    explicit CFFInformationView(const SViewContext& context);

    // The box labelled `label` ("PD Tag:", ...), or null.
    QLineEdit* Box(const char* label) const;
    void Read();

    // "0x%04X" and "0x%6X" of a device's number text.
    static QString DeviceTypeText(const std::string& value);
    static QString ManufacturerText(const std::string& value);

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnFirstActivation() override;
    void OnParameter(std::uint32_t key) override;
    void OnOtherUpdate(int updateType, const std::string& data) override;

private:
    struct SBox {
        const char* label;
        QLineEdit* edit;
    };
    void SetBox(const char* label, const QString& text);

    std::vector<SBox> m_boxes;
};
