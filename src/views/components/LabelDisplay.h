#pragma once

#include <QLabel>

// A text label in a framed box (the partial stroke test's result text).
class CLabelDisplay : public QLabel {
    Q_OBJECT
public:
    explicit CLabelDisplay(QWidget* parent = nullptr);
    explicit CLabelDisplay(const QString& text, QWidget* parent = nullptr);
    QSize sizeHint() const override;
};
