#include "ViewWidgets.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTextEdit>

#include <algorithm>
#include <functional>

namespace {

QString Normalized(QString text) {
    text.replace("&&", QString(QChar(0x1))); // a literal ampersand stays
    text.remove('&');
    text.replace(QChar(0x1), "&");
    text = text.trimmed();
    if (text.endsWith(':')) {
        text.chop(1);
    }
    return text.trimmed();
}

// The visible widgets below `root` that `isKind` accepts and that carry `label`: the buddy of
// a visible QLabel showing it, or with it as placeholder text or accessible name. Tree order,
// each once.
std::vector<QWidget*> Labelled(QWidget* root, const QString& label,
                               const std::function<bool(QWidget*)>& isKind) {
    std::vector<QWidget*> found;
    if (root == nullptr) {
        return found;
    }
    const QString wanted = Normalized(label);
    const auto add = [&found](QWidget* widget) {
        if (std::find(found.begin(), found.end(), widget) == found.end()) {
            found.push_back(widget);
        }
    };
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (!widget->isVisible()) {
            continue;
        }
        if (const auto* text = qobject_cast<QLabel*>(widget)) {
            QWidget* buddy = text->buddy();
            if (buddy != nullptr && buddy->isVisible() && root->isAncestorOf(buddy) &&
                isKind(buddy) && Normalized(text->text()) == wanted) {
                add(buddy);
            }
        } else if (isKind(widget) &&
                   (Normalized(widget->property("placeholderText").toString()) == wanted ||
                    Normalized(widget->accessibleName()) == wanted)) {
            add(widget);
        }
    }
    return found;
}

} // namespace

namespace ViewWidgets {

std::vector<QPushButton*> Buttons(QWidget* root, const QString& label) {
    std::vector<QPushButton*> found;
    if (root == nullptr) {
        return found;
    }
    const QString wanted = Normalized(label);
    for (QPushButton* button : root->findChildren<QPushButton*>()) {
        // A button with an accessible name of its own goes by that name (two buttons may
        // read the same, as a view's two "Start" buttons do).
        const QString name =
            button->accessibleName().isEmpty() ? button->text() : button->accessibleName();
        if (button->isVisible() && Normalized(name) == wanted) {
            found.push_back(button);
        }
    }
    return found;
}

std::vector<QWidget*> Fields(QWidget* root, const QString& label) {
    return Labelled(root, label, [](QWidget* widget) {
        return qobject_cast<QLineEdit*>(widget) != nullptr ||
               qobject_cast<QPlainTextEdit*>(widget) != nullptr ||
               qobject_cast<QTextEdit*>(widget) != nullptr ||
               qobject_cast<QSpinBox*>(widget) != nullptr;
    });
}

std::vector<QComboBox*> Combos(QWidget* root, const QString& label) {
    std::vector<QComboBox*> found;
    for (QWidget* widget : Labelled(root, label, [](QWidget* widget) {
             return qobject_cast<QComboBox*>(widget) != nullptr;
         })) {
        found.push_back(qobject_cast<QComboBox*>(widget));
    }
    return found;
}

bool IsBusyIndicatorRunning(const QWidget* root) {
    if (root == nullptr) {
        return false;
    }
    const auto bars = root->findChildren<QProgressBar*>();
    return std::any_of(bars.begin(), bars.end(), [](const QProgressBar* bar) {
        if (!bar->isVisible()) {
            return false;
        }
        // A bar that says whether its indicator runs is taken at its word: an idle bar may
        // rest anywhere, and a running one passes through full and empty.
        const QVariant busy = bar->property(kBusyProperty);
        return busy.isValid() ? busy.toBool() : bar->value() < bar->maximum();
    });
}

} // namespace ViewWidgets
