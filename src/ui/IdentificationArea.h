#pragma once

#include "ui/AreaInterfaces.h"
#include "ui/InternalUpdateUI.h"

#include <QPixmap>
#include <QWidget>

#include <string>

class QLabel;

// The white strip at the top of the control: the device picture on the left, the device name
// and two more text lines beside it, the logo on the right. Pictures come from the module's
// bitmap resources or from files; one larger than its box is scaled down to fit it, keeping
// its aspect ratio.
class CIdentificationArea : public QWidget, public IInternalUpdateUI, public IIdentificationArea {
public:
    static constexpr QSize kDevicePictureBox{64, 60};
    static constexpr QSize kLogoBox{140, 60};
    // 43 dialog units of the standard dialog font; more when the texts need it.
    static constexpr int kMinimumHeight = 70;

    explicit CIdentificationArea(QWidget* parent = nullptr);

    int GetHeight() const;
    QString GetTitle() const;
    QString GetLine2() const;
    QString GetLine3() const;
    // The pictures as shown: null while none was loaded.
    QPixmap GetDevicePicture() const;
    QPixmap GetLogo() const;
    // The text given with the logo, shown as its tooltip.
    QString GetLogoText() const;

    // A picture that is larger than `box` scaled down to fit it, keeping its aspect ratio;
    // a smaller one as it is.
    static QPixmap FitInto(const QPixmap& picture, QSize box);

    // The identification takes no DTM updates; the control fills it.
    void OnUpdate(int, const std::string&) override {}

    void SetTitle(const std::string& text) override;
    void SetLine2(const std::string& text) override;
    void SetLine3(const std::string& text) override;
    // A picture that cannot be loaded keeps the one shown.
    void SetDevicePictureResource(int bitmapResourceId) override;
    void SetDevicePictureFile(const std::string& path) override;
    void SetLogoResource(int bitmapResourceId, const std::string& text) override;
    void SetLogoFile(const std::string& path, const std::string& text) override;

    QSize sizeHint() const override;

private:
    static QLabel* MakePictureBox(QSize box, QWidget* parent);
    static void ShowPicture(QLabel& box, const QPixmap& picture);
    void ShowLogo(const QPixmap& picture, const std::string& text);

    QLabel* m_devicePicture;
    QLabel* m_title;
    QLabel* m_line2;
    QLabel* m_line3;
    QLabel* m_logo;
};
