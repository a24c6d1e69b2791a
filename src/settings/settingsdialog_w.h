#pragma once

#include <QString>
#include <array>
#include <functional>

class QDialog;
class QGridLayout;
class QLabel;
class QPushButton;
class QWidget;
class Words;

// What the settings dialogs share: rows of a label and its control, and the
// OK and Cancel buttons under them.
namespace SettingsDialog {

template <typename T> T *named(QWidget *parent, const QString &name)
{
    auto *widget = new T(parent);
    widget->setObjectName(name);
    return widget;
}

// A grid that keeps the dialog at the size its rows need in the desktop's font.
QGridLayout *grid(QDialog *dialog);

// Row `row`: the label `name` with `text` & " :" on the left, `control` on the right.
QLabel *addRow(QGridLayout *grid, int row, const QString &name, const QString &text,
               QWidget *control);

// hideButton(0) "&OK" (the default button) and hideButton(1) "&Cancel"
// on row `row`, right-aligned, running `ok` and `cancel`.
std::array<QPushButton *, 2> addButtons(QGridLayout *grid, int row, const Words &words,
                                        const std::function<void()> &ok,
                                        const std::function<void()> &cancel);

} // namespace SettingsDialog
