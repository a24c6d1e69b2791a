#include "ui/codepagetextedit_w.h"

#include "ui/codepagerefusal.h"

#include <QMimeData>
#include <QTextDocument>

void CodePageTextEdit::insertFromMimeData(const QMimeData *source)
{
    if (source && source->hasText()) {
        const QString bad = CodePageRefusal::firstRefused(source->text());
        if (!bad.isEmpty()) {
            Q_EMIT refused(bad);
            return;
        }
    }
    QPlainTextEdit::insertFromMimeData(source);
}

QString boxText(const QPlainTextEdit *box)
{
    QString text = box->document()->toRawText();
    for (QChar &c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return text;
}

BoxFill::BoxFill(QPlainTextEdit *box)
    : box_(box), policy_(box->verticalScrollBarPolicy()),
      undo_(box->document()->isUndoRedoEnabled())
{
    box_->clear();
    // While the box is empty, where laying it out again costs nothing.
    box_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QTextDocument *doc = box_->document();
    doc->setUndoRedoEnabled(false);
    end_ = QTextCursor(doc);
    // The box learns of the change once, at the end.
    end_.beginEditBlock();
}

BoxFill::~BoxFill()
{
    end_.endEditBlock();
    QTextDocument *doc = box_->document();
    doc->setUndoRedoEnabled(undo_);
    doc->setModified(false);
    box_->setTextCursor(QTextCursor(doc));
    // The bar stays if the text needs it, and the box keeps its width.
    box_->setVerticalScrollBarPolicy(policy_);
}

void BoxFill::append(const QString &text)
{
    end_.insertText(text);
}
