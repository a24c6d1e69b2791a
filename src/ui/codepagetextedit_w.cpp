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
