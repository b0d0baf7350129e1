#include "views/components/LabelDisplay.h"

#include "views/components/Painting.h"

CLabelDisplay::CLabelDisplay(QWidget* parent) : CLabelDisplay(QString(), parent) {}

CLabelDisplay::CLabelDisplay(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setMargin(4);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Painting::kPanel);
    colours.setColor(QPalette::WindowText, Painting::kText);
    setPalette(colours);
}

QSize CLabelDisplay::sizeHint() const {
    const QSize text = QLabel::sizeHint();
    return {qMax(120, text.width()), qMax(26, text.height())};
}
