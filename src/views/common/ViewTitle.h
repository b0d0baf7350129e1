#pragma once

class QBoxLayout;
class QLabel;
class QString;
class QWidget;

// The bold title line at the top of a view's dialog ("CONFIGURATION", ...).
QLabel* AddViewTitle(QBoxLayout& layout, QWidget* parent, const QString& title);
