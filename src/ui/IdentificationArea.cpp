#include "ui/IdentificationArea.h"

#include "ui/AreaResources.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QLabel* MakeText(QWidget* parent) {
    auto* text = new QLabel(parent);
    text->setTextFormat(Qt::PlainText);
    text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return text;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

CIdentificationArea::CIdentificationArea(QWidget* parent)
    : QWidget(parent), m_devicePicture(MakePictureBox(kDevicePictureBox, this)),
      m_title(MakeText(this)), m_line2(MakeText(this)), m_line3(MakeText(this)),
      m_logo(MakePictureBox(kLogoBox, this)) {
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    m_title->setFont(titleFont);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(1);
    texts->addStretch();
    for (QLabel* text : {m_title, m_line2, m_line3}) {
        texts->addWidget(text);
    }
    texts->addStretch();
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(5, 5, 8, 5);
    row->setSpacing(10);
    row->addWidget(m_devicePicture);
    row->addLayout(texts, 1);
    row->addWidget(m_logo);
}

int CIdentificationArea::GetHeight() const {
    return sizeHint().height();
}

QString CIdentificationArea::GetTitle() const {
    return m_title->text();
}
QString CIdentificationArea::GetLine2() const {
    return m_line2->text();
}
QString CIdentificationArea::GetLine3() const {
    return m_line3->text();
}
QPixmap CIdentificationArea::GetDevicePicture() const {
    return m_devicePicture->pixmap();
}
QPixmap CIdentificationArea::GetLogo() const {
    return m_logo->pixmap();
}
QString CIdentificationArea::GetLogoText() const {
    return m_logo->toolTip();
}

QPixmap CIdentificationArea::FitInto(const QPixmap& picture, QSize box) {
    if (picture.width() <= box.width() && picture.height() <= box.height()) {
        return picture;
    }
    return picture.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void CIdentificationArea::SetTitle(const std::string& text) {
    m_title->setText(Text(text));
}
void CIdentificationArea::SetLine2(const std::string& text) {
    m_line2->setText(Text(text));
}
void CIdentificationArea::SetLine3(const std::string& text) {
    m_line3->setText(Text(text));
}

void CIdentificationArea::SetDevicePictureResource(int bitmapResourceId) {
    ShowPicture(*m_devicePicture, LoadBitmapResource(bitmapResourceId));
}

void CIdentificationArea::SetDevicePictureFile(const std::string& path) {
    ShowPicture(*m_devicePicture, QPixmap(Text(path)));
}

void CIdentificationArea::SetLogoResource(int bitmapResourceId, const std::string& text) {
    ShowLogo(LoadBitmapResource(bitmapResourceId), text);
}

void CIdentificationArea::SetLogoFile(const std::string& path, const std::string& text) {
    ShowLogo(QPixmap(Text(path)), text);
}

QSize CIdentificationArea::sizeHint() const {
    const QSize content = QWidget::sizeHint();
    return {content.width(), std::max(kMinimumHeight, content.height())};
}

QLabel* CIdentificationArea::MakePictureBox(QSize box, QWidget* parent) {
    auto* picture = new QLabel(parent);
    picture->setFixedSize(box);
    picture->setAlignment(Qt::AlignCenter);
    return picture;
}

void CIdentificationArea::ShowPicture(QLabel& box, const QPixmap& picture) {
    if (!picture.isNull()) {
        box.setPixmap(FitInto(picture, box.size()));
    }
}

void CIdentificationArea::ShowLogo(const QPixmap& picture, const std::string& text) {
    if (!picture.isNull()) {
        ShowPicture(*m_logo, picture);
        m_logo->setToolTip(Text(text));
    }
}
