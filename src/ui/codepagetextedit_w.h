#pragma once

#include <QPlainTextEdit>

// The entry and mask text boxes. Pasted or dropped text that holds a character
// the files cannot store is not taken at all (refused() names the character);
// typed characters are checked by the boxes' key handlers.
class CodePageTextEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

Q_SIGNALS:
    void refused(const QString &character);

protected:
    void insertFromMimeData(const QMimeData *source) override;
};

// The text of a box exactly as typed, lines ended by LF. Unlike toPlainText()
// it keeps non-breaking spaces, which the files can store.
QString boxText(const QPlainTextEdit *box);
