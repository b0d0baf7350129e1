#pragma once

#include <functional>
#include <utility>
#include <vector>

class QGridLayout;
class QPushButton;
class QWidget;

// A hub's buttons that switch to other views, laid out in a grid of `columns` columns. A button
// is enabled when its view exists; clicking it calls `show` with the view id.
struct SViewButton {
    int viewId;
    const char* label;
};
using ViewButtonList = std::vector<std::pair<int, QPushButton*>>;

ViewButtonList AddViewButtons(QGridLayout& grid, QWidget* parent,
                              const std::vector<SViewButton>& buttons, int columns,
                              const std::function<bool(int viewId)>& exists,
                              const std::function<void(int viewId)>& show);
// The button of `viewId`, or null.
QPushButton* FindViewButton(const ViewButtonList& buttons, int viewId);
