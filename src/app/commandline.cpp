#include "app/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// Like a usage error of the classic tools, apart from a start that failed (1).
constexpr int kUsageError = 2;

} // namespace

CommandLineAnswer readCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Keyboard-driven notes in named groups. Started without options, Plimsa\n"
        "opens its notebook; the user manual is \"Plimsa Manual.txt\" in the store\n"
        "folder, which F1 names."_s);
    // Qt's own options are one dash and a word ("-session").
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Print this help and exit."_s);
    const QCommandLineOption version({u"v"_s, u"version"_s}, u"Print the version and exit."_s);
    // A desktop's session manager restarts the program with "-session <id>";
    // Qt reads it, so it is let through without being offered.
    QCommandLineOption session(u"session"_s, QString(), u"id"_s);
    session.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({help, version, session});

    const QString program = QFileInfo(arguments.value(0, u"plimsa"_s)).fileName();
    const auto refuse = [&program](const QString &why) {
        return CommandLineAnswer{
            kUsageError, QString(),
            u"%1: %2\nTry '%1 --help' for more information.\n"_s.arg(program, why)};
    };
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (!parser.positionalArguments().isEmpty()) {
        return refuse(u"Unexpected argument '%1': Plimsa opens no files."_s.arg(
            parser.positionalArguments().constFirst()));
    }
    if (parser.isSet(help))
        return {0, parser.helpText(), QString()};
    if (parser.isSet(version)) {
        return {0,
                u"%1 %2\n"_s.arg(QCoreApplication::applicationName(),
                                 QCoreApplication::applicationVersion()),
                QString()};
    }
    return {};
}
