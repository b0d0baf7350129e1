#include "views/fieldbus/FFInformationView.h"

#include "fdt/DtmFunctions.h"
#include "fieldbus/FFXmlWrapper.h"
#include "model/Conversions.h"
#include "views/common/ViewTitle.h"

#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstring>
#include <span>

namespace {

constexpr const char* kIdentification[] = {
    "PD Tag:", "Device ID:", "Node Address:", "VFD Tag:", "Device Type:", "Manufacturer ID:"};
constexpr const char* kRevisions[] = {
    "Software Rev:", "Device Rev:", "DD Rev:", "ITK Rev:", "DTM Rev:"};

QString Hex(const std::string& value, const char* format) {
    return QString::asprintf(format, static_cast<unsigned>(CConversions::to_uint32(value)));
}

} // namespace

CFFInformationView::CFFInformationView(const SViewContext& context)
    : CDeviceView(context, EHeader::WithNavigation) {}

QString CFFInformationView::DeviceTypeText(const std::string& value) {
    return Hex(value, "0x%04X");
}

QString CFFInformationView::ManufacturerText(const std::string& value) {
    return Hex(value, "0x%6X");
}

std::unique_ptr<QWidget> CFFInformationView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);
    AddViewTitle(*layout, content.get(), QStringLiteral("FF INFORMATION"));

    auto* groups = new QHBoxLayout;
    const auto addGroup = [&](const QString& title, std::span<const char* const> labels) {
        auto* group = new QGroupBox(title, content.get());
        auto* form = new QFormLayout(group);
        for (const char* label : labels) {
            auto* edit = new QLineEdit(group);
            edit->setReadOnly(true);
            edit->setMinimumWidth(200);
            edit->setAccessibleName(QString::fromUtf8(label));
            // Hexadecimal numbers keep their blank padding visible.
            edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
            form->addRow(QString::fromUtf8(label), edit);
            m_boxes.push_back({label, edit});
        }
        groups->addWidget(group, 0, Qt::AlignTop);
    };
    addGroup(QStringLiteral("Device Identification"), kIdentification);
    addGroup(QStringLiteral("Revisions"), kRevisions);
    groups->addStretch(1);
    layout->addLayout(groups);

    auto* buttons = new QHBoxLayout;
    AddButton(*buttons, content.get(), "Read", [this] { Read(); });
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addStretch(1);
    return content;
}

QLineEdit* CFFInformationView::Box(const char* label) const {
    for (const SBox& box : m_boxes) {
        if (std::strcmp(box.label, label) == 0) {
            return box.edit;
        }
    }
    return nullptr;
}

void CFFInformationView::SetBox(const char* label, const QString& text) {
    if (QLineEdit* box = Box(label)) {
        box->setText(text);
    }
}

void CFFInformationView::OnFirstActivation() {
    Read();
}

void CFFInformationView::Read() {
    for (const std::uint32_t key : kReadOrder) {
        Device().RequestRead(key);
    }
    Device().Execute(dtm_function::kSmIdentify, std::string());
    // The DTM knows these itself; each is shown as soon as it is asked for.
    SetBox("VFD Tag:", QString::fromStdString(Device().GetProperty("VFDTag")));
    SetBox("Node Address:", QString::fromStdString(Device().GetProperty("DeviceNodeId")));
    SetBox("DTM Rev:", QString::fromStdString(Device().GetProperty("DTMVersion")));
}

void CFFInformationView::OnParameter(std::uint32_t key) {
    const auto text = Device().FetchText(key);
    if (!text) {
        return;
    }
    const QString value = QString::fromStdString(text->value);
    switch (key) {
    case kSoftwareRevision:
        SetBox("Software Rev:", value);
        break;
    case kDeviceType:
        SetBox("Device Type:", DeviceTypeText(text->value));
        break;
    case kManufacturerId:
        SetBox("Manufacturer ID:", ManufacturerText(text->value));
        break;
    case kDeviceRevision:
        SetBox("Device Rev:", value);
        break;
    case kDdRevision:
        SetBox("DD Rev:", value);
        break;
    case kItkRevision:
        SetBox("ITK Rev:", value);
        break;
    default:
        break;
    }
}

void CFFInformationView::OnOtherUpdate(int updateType, const std::string& data) {
    if (updateType != dtm_update::kFirstServiceResult) {
        return;
    }
    CFFXmlWrapper wrapper;
    wrapper.LoadResponse(data);
    // Only an SM identify response names the device; any other answer changes nothing.
    if (wrapper.GetResponseType() != FFResponseType::SmIdentifyResponse) {
        return;
    }
    CSmIdentifyResponse response;
    wrapper.GetSmIdentifyResponse(response);
    for (const CSmIdentifyResponseEntry& entry : response.m_entries) {
        SetBox("PD Tag:", QString::fromStdString(entry.m_tag));
        SetBox("Device ID:", QString::fromStdString(entry.m_devID));
    }
}
