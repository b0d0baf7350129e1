#include "views/common/ViewTitle.h"

#include <QBoxLayout>
#include <QLabel>

QLabel* AddViewTitle(QBoxLayout& layout, QWidget* parent, const QString& title) {
    auto* label = new QLabel(title, parent);
    label->setObjectName(QStringLiteral("viewTitle"));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    layout.addWidget(label);
    return label;
}
