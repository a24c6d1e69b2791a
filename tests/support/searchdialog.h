#pragma once

#include "support/appfixture.h"
#include "support/notebookline.h"

class FrmSearch;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "A: a1 = text; a2 = text | B: ...": groups in their list order, each with
// its titles and their texts. Every entry file is "d" and then its text, exactly
// (no line break added); a title starting with "gone" has no file.
void writeBook(AppFixture &nb, const QString &spec);

QPlainTextEdit *textBox(const AppFixture &nb);

// The search dialog opened from the Entry menu, driven through its controls.
class SearchDialog
{
public:
    explicit SearchDialog(AppFixture &nb);

    QLineEdit *field() const;
    QCheckBox *option(int i) const;
    QPushButton *button(const QString &name) const;
    QString status() const;
    QString options() const; // "111100"

    void set(const QString &text, const QString &options);
    // Start (0) or Continue (1) by a click, once the timer has enabled it.
    bool click(int index);
    // What a step left: "none G/e", "G/e title" or "G/e text <start>", the last
    // only with the search text selected in the focused entry text.
    QString outcome() const;

    FrmSearch *dialog = nullptr;

private:
    AppFixture &nb_;
};
