#pragma once

#include <QPainterPath>
#include <QWidget>

// A lamp that lights in its active colour when switched on and shows a dim lens when off.
// Colours are COLORREF values (0x00BBGGRR), as the device views keep them.
class CLed : public QWidget {
    Q_OBJECT
public:
    quint32 activeColor() const { return m_activeColor; }
    void setActiveColor(quint32 colorRef);
    bool isActive() const { return m_active; }
    void setActive(bool on);

protected:
    explicit CLed(QWidget* parent);
    void paintEvent(QPaintEvent* event) override;
    // The outline of the lamp within bounds.
    virtual QPainterPath bodyShape(const QRectF& bounds) const = 0;

private:
    quint32 m_activeColor = 0x0000C000; // green
    bool m_active = false;
};

// The round LED of the device view header (active alarm count).
class CRoundLed : public CLed {
    Q_OBJECT
public:
    explicit CRoundLed(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {22, 22}; }

protected:
    QPainterPath bodyShape(const QRectF& bounds) const override;
};

// The rectangular state lamp of the test views ("Test passed", "Test in progress", ...).
class CRectLed : public CLed {
    Q_OBJECT
public:
    explicit CRectLed(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {40, 18}; }

protected:
    QPainterPath bodyShape(const QRectF& bounds) const override;
};
