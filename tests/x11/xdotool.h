#pragma once

#include <QProcess>
#include <QStringList>
#include <QTest>

#include <optional>

// xdotool with its own timing, while this program goes on taking events (the
// window manager's sizes) as a user's program would: its standard output, or
// nothing when it failed or did not end within half a minute.
inline std::optional<QString> xdotool(const QStringList &args)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), args);
    if (!QTest::qWaitFor([&] { return tool.state() == QProcess::NotRunning; }, 30000) ||
        tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return std::nullopt;
    return QString::fromLatin1(tool.readAllStandardOutput());
}
