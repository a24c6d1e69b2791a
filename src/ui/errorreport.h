#pragma once

#include "store/errorreports.h"

#include <QObject>
#include <QTimer>

struct AppState;
class Messages;
class Words;

// ShowErrorCancel / ShowErrorContinue: the report every command gives when a
// file operation fails, naming the paths the error carries.
class ErrorReport : public QObject, public ErrorReports
{
    Q_OBJECT
public:
    ErrorReport(AppState &state, const Words &words, Messages &messages, QObject *parent = nullptr);

    // Word 92; sets ErrorShown and starts timErrOff, which clears it after 500 ms.
    void ShowErrorCancel(const IoError &error) override;
    // Word 93; sets nothing.
    void ShowErrorContinue(const IoError &error) override;

    // The text of the message box: head, empty line, error, empty line, paths.
    static QString composeText(const QString &head, const IoError &error);

    QTimer timErrOff;

private:
    void show(int headWord, const QString &englishHead, const IoError &error);

    AppState &state_;
    const Words &words_;
    Messages &messages_;
};
