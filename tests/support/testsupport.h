#pragma once

#include "platform/desktopservices.h"
#include "platform/messages.h"
#include "store/notetable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringList>
#include <functional>

// Records every message box and beep instead of showing them.
class RecordingMessages : public Messages
{
public:
    struct Shown
    {
        Icon icon;
        QString title;
        QString text;
    };
    void message(Icon icon, const QString &title, const QString &text) override
    {
        shown.append({icon, title, text});
    }
    void beep() override { ++beeps; }
    // Answered from `answers` in turn, then by the default.
    int ask(Icon icon, const QString &title, const QString &text, const QList<Choice> &,
            int defaultChoice, int) override
    {
        shown.append({icon, title, text});
        return answers.isEmpty() ? defaultChoice : answers.takeFirst();
    }

    QList<Shown> shown;
    int beeps = 0;
    QList<int> answers;
};

// Records what the program asks of the desktop instead of asking it.
class RecordingDesktop : public DesktopServices
{
public:
    bool openFile(const QString &path) override
    {
        openedFiles.append(path);
        return answer;
    }
    bool openUrl(const QUrl &url) override
    {
        openedUrls.append(url);
        return answer;
    }
    bool startAgain() override
    {
        ++starts;
        if (whenStarting)
            whenStarting();
        return answer;
    }

    QStringList openedFiles;
    QList<QUrl> openedUrls;
    int starts = 0;
    bool answer = true;
    std::function<void()> whenStarting; // runs at the moment of the start
};

// A table from rows of stored names: each row is a group's name, then its titles.
inline NoteTable tableOf(const QList<QStringList> &rows)
{
    NoteTable table;
    for (int g = 0; g < rows.size(); ++g) {
        for (int c = 0; c < rows[g].size(); ++c)
            table.cell(g, c) = rows[g][c];
    }
    return table;
}

// The bytes of a file; none when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A file of exactly `bytes`, its folder made where it is missing.
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
