#pragma once

#include <QString>
#include <QWidget>

#include <vector>

class QComboBox;
class QPushButton;

// The widgets of the control's window that the frame's script steps act on, found as a user
// finds them: visible, by the text they show. A label matches without its mnemonic marks
// ('&'), surrounding blanks and a trailing colon ("&Setpoint:" matches "Setpoint").
namespace ViewWidgets {

// The visible push buttons below `root` that show `label`, enabled or not; a button with an
// accessible name goes by that name instead.
std::vector<QPushButton*> Buttons(QWidget* root, const QString& label);
// The visible line edits, plain text edits and text edits below `root` labelled `label`: the
// buddy of a visible QLabel showing it, or with it as placeholder text or accessible name.
std::vector<QWidget*> Fields(QWidget* root, const QString& label);
// The visible combo boxes below `root` labelled `label` in the same ways.
std::vector<QComboBox*> Combos(QWidget* root, const QString& label);
// The dynamic property of a progress bar that says whether its busy indicator runs.
inline constexpr const char* kBusyProperty = "busy";
// True while a visible progress bar below `root` shows a running busy indicator: its "busy"
// property when it has one, else not having reached its maximum.
bool IsBusyIndicatorRunning(const QWidget* root);

} // namespace ViewWidgets
