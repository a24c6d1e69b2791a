#pragma once

#include <QString>

class QDialog;
class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QPushButton;
class QWidget;
class Words;

// What the dialogs share: a form of rows, each a label and its control, with
// the buttons in a button box as its last row.
namespace DialogForm {

template <typename T> T *named(QWidget *parent, const QString &name)
{
    auto *widget = new T(parent);
    widget->setObjectName(name);
    return widget;
}

// The dialog's form. The dialog keeps the size its rows need in the desktop's
// font, as the design's fixed dialogs do, and has a close box.
QFormLayout *formOf(QDialog *dialog);

// Row: the label `labelName` showing `caption` & " :" (its "&&" as "&", its
// "&" an access key into `control`), and `control`, which a screen reader
// reads by the caption whatever it shows ("On", its current item).
QLabel *addRow(QFormLayout *form, const QString &labelName, const QString &caption,
               QWidget *control);

// The last row: OK (cmdMain0, the default button) and Cancel (cmdMain1),
// captioned from the word table, in the desktop's order. accepted() is OK,
// rejected() Cancel; Esc and the close box reject the dialog without them.
QDialogButtonBox *okCancel(QFormLayout *form, const Words &words);
QPushButton *okButton(const QDialogButtonBox *buttons);
QPushButton *cancelButton(const QDialogButtonBox *buttons);

} // namespace DialogForm
