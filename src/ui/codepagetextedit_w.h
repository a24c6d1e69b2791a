#pragma once

#include <QPlainTextEdit>
#include <QTextCursor>

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

// Fills a text box a part at a time with text the program read, as
// setPlainText() would with the whole: no undo step, the cursor at the start,
// unmodified. Unlike setPlainText it needs no copy of the whole text beside
// the box's, and the vertical scroll bar stays in place while the text comes
// in: a box whose width changes lays out every line again, a few hundred
// bytes a line that it keeps for as long as it holds the text.
class BoxFill
{
public:
    explicit BoxFill(QPlainTextEdit *box); // empties the box
    ~BoxFill();
    BoxFill(const BoxFill &) = delete;
    BoxFill &operator=(const BoxFill &) = delete;

    void append(const QString &text);

private:
    QPlainTextEdit *box_;
    QTextCursor end_;
    Qt::ScrollBarPolicy policy_;
    bool undo_;
};
