#pragma once

#include "views/common/DeviceView.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

// Sends single fieldbus services by hand and prints their responses: FMS status, identify and
// GetOD of a VFD, SM identify and SM find tag (physical device, VFD or function block). The
// DTM answers each service with update 600 to 604, or 605 for a service error; the response
// is decoded and printed one labelled line per field, its headline in "Error Description:".
class CFFOperationView : public CDeviceView<CFFOperationView, 202> {
public:
    static constexpr int kViewId = 1000;

    explicit CFFOperationView(const SViewContext& context);

    QPlainTextEdit* Output() const { return m_output; }
    QLineEdit* ErrorDescription() const { return m_errorDescription; }

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnOtherUpdate(int updateType, const std::string& data) override;

private:
    QWidget* CreateRequestGroup();
    QWidget* CreateErrorGroup();
    void Send(std::int32_t functionId, const std::string& argument);
    std::string FindTagRequest() const;
    void ShowResponse(const std::string& response);

    QLineEdit* m_vfdTag = nullptr;
    QLineEdit* m_odIndex = nullptr;
    QCheckBox* m_allAttributes = nullptr;
    QCheckBox* m_startFlag = nullptr;
    QRadioButton* m_physicalDevice = nullptr;
    QRadioButton* m_vfd = nullptr;
    QRadioButton* m_functionBlock = nullptr;
    QLineEdit* m_tag = nullptr;
    QLineEdit* m_elementId = nullptr;
    QLineEdit* m_errorDescription = nullptr;
    QPlainTextEdit* m_output = nullptr;
    ITextResource* m_texts = nullptr;
};
