#pragma once

#include "store/errorreports.h"

#include <QObject>

class Messages;
class Words;

// ShowErrorCancel / ShowErrorContinue: the report every command gives when a
// file operation fails, naming the paths the error carries.
class ErrorReport : public QObject, public ErrorReports
{
    Q_OBJECT
public:
    ErrorReport(const Words &words, Messages &messages, QObject *parent = nullptr);

    // "An error has happend - procedure canceled!": the command was cancelled.
    void ShowErrorCancel(const IoError &error) override;
    // "An error has happend - trying to continue...": the command goes on.
    void ShowErrorContinue(const IoError &error) override;

    // The text of the message box: head, empty line, error, empty line, paths.
    static QString composeText(const QString &head, const IoError &error);

private:
    void show(int headWord, const QString &englishHead, const IoError &error);

    const Words &words_;
    Messages &messages_;
};
