#include "views/common/ViewButtons.h"

#include <QGridLayout>
#include <QPushButton>

ViewButtonList AddViewButtons(QGridLayout& grid, QWidget* parent,
                              const std::vector<SViewButton>& buttons, int columns,
                              const std::function<bool(int viewId)>& exists,
                              const std::function<void(int viewId)>& show) {
    ViewButtonList made;
    int index = 0;
    for (const SViewButton& entry : buttons) {
        auto* button = new QPushButton(QString::fromUtf8(entry.label), parent);
        button->setMinimumWidth(160);
        button->setEnabled(exists && exists(entry.viewId));
        grid.addWidget(button, index / columns, index % columns);
        ++index;
        const int viewId = entry.viewId;
        QObject::connect(button, &QPushButton::clicked, button, [show, viewId] { show(viewId); });
        made.emplace_back(entry.viewId, button);
    }
    return made;
}

QPushButton* FindViewButton(const ViewButtonList& buttons, int viewId) {
    for (const auto& [id, button] : buttons) {
        if (id == viewId) {
            return button;
        }
    }
    return nullptr;
}
