#include "ui/errorreport.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/messages.h"

using namespace Qt::StringLiterals;

ErrorReport::ErrorReport(const Words &words, Messages &messages, QObject *parent)
    : QObject(parent), words_(words), messages_(messages)
{}

void ErrorReport::ShowErrorCancel(const IoError &error)
{
    show(Word::ErrorCancelled, WordTable::english(Word::ErrorCancelled), error);
}

void ErrorReport::ShowErrorContinue(const IoError &error)
{
    show(Word::ErrorContinuing, WordTable::english(Word::ErrorContinuing), error);
}

QString ErrorReport::composeText(const QString &head, const IoError &error)
{
    // Line breaks are "\n" on this platform; the target line is there only
    // for two-file operations, so a report without paths ends in two breaks.
    QString text = head + u"\n\n"_s + error.description + u" / No."_s +
                   QString::number(error.number) + u"\n\n"_s + error.file;
    if (!error.targetFile.isEmpty())
        text += u"\n(to: "_s + error.targetFile + u')';
    return text;
}

void ErrorReport::show(int headWord, const QString &englishHead, const IoError &error)
{
    // The only place where an empty translation falls back to English: a report
    // without a head or title would leave the user with nothing to read.
    QString head = words_(headWord);
    if (head.isEmpty())
        head = englishHead;
    QString title = words_(Word::Caution);
    if (title.isEmpty())
        title = u"Caution!"_s;
    messages_.message(Messages::Icon::Critical, title, composeText(head, error));
}
