#include "app/commandline.h"

#include "app/programfolder.h"
#include "notebook/grouplist.h"
#include "notebook/uniquename.h"
#include "store/appstate.h"
#include "store/dostext.h"
#include "store/errorreports.h"
#include "store/notetable.h"
#include "store/store.h"
#include "store/storemarker.h"
#include "transfer/notebookexport.h"
#include "transfer/notebookimport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// Like a usage error of the classic tools, apart from a start that failed (1).
constexpr int kUsageError = kBadArguments;

// The options QApplication takes from the command line (Qt 6.4, with the
// xcb platform's), each with the name of its value where it takes one. The
// manual page lists them.
struct QtOption
{
    QString name;
    QString value;
};
const QtOption kQtOptions[] = {
    {u"platform"_s, u"name"_s},
    {u"platformpluginpath"_s, u"path"_s},
    {u"platformtheme"_s, u"name"_s},
    {u"plugin"_s, u"name"_s},
    {u"qwindowgeometry"_s, u"geometry"_s},
    {u"qwindowicon"_s, u"icon"_s},
    {u"qwindowtitle"_s, u"title"_s},
    {u"reverse"_s, {}},
    {u"session"_s, u"id"_s},
    {u"style"_s, u"style"_s},
    {u"stylesheet"_s, u"file"_s},
    {u"widgetcount"_s, {}},
    {u"testability"_s, {}},
    {u"qmljsdebugger"_s, u"options"_s},
    {u"display"_s, u"display"_s},
    {u"geometry"_s, u"geometry"_s},
    {u"title"_s, u"title"_s},
    {u"icon"_s, u"icon"_s},
    {u"name"_s, u"name"_s},
    {u"visual"_s, u"visual"_s},
    {u"nograb"_s, {}},
    {u"dograb"_s, {}},
};

// The error reports of a command run without a window: one line on standard error.
class PrintedReports : public ErrorReports
{
public:
    explicit PrintedReports(QString &err) : err_(err) {}
    void ShowErrorCancel(const IoError &error) override { print(error); }
    void ShowErrorContinue(const IoError &error) override { print(error); }

private:
    void print(const IoError &error)
    {
        err_ += u"plimsa: %1 (error %2)"_s.arg(error.description).arg(error.number);
        if (!error.file.isEmpty())
            err_ += u": "_s + error.file;
        if (!error.targetFile.isEmpty())
            err_ += u" -> "_s + error.targetFile;
        err_ += u'\n';
    }
    QString &err_;
};

} // namespace

CommandLineAnswer readCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Keyboard-driven notes in named groups. Started without options, Plimsa\n"
        "opens its notebook; the user manual is \"Plimsa Manual.txt\" in the store\n"
        "folder, which F1 names. Qt's own options (-style, -platform, -reverse and\n"
        "the others the manual page lists) go to Qt."_s);
    // Qt's own options are one dash and a word ("-style fusion").
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Print this help and exit."_s);
    const QCommandLineOption version({u"v"_s, u"version"_s}, u"Print the version and exit."_s);
    // QApplication takes its own options once the window is to open; they are
    // let through here, where no window system may be reached yet.
    for (const QtOption &qt : kQtOptions) {
        QCommandLineOption option(qt.name, QString(), qt.value);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    const QCommandLineOption import(
        u"import"_s,
        u"Bring the .txt, .md and .text files of <folder> and its subfolders, and those "
        "without an extension that hold text, into the notebook, one group per folder, and "
        "exit."_s,
        u"folder"_s);
    const QCommandLineOption into(u"into"_s, u"With --import: put every file into <group>."_s,
                                  u"group"_s);
    const QCommandLineOption unencodable(
        u"unencodable"_s,
        u"With --import: files with characters the notebook cannot hold get a close "
        "equivalent (replace) or are left out (skip)."_s,
        u"replace|skip"_s);
    const QCommandLineOption exportOption(
        u"export"_s, u"Write the notebook into <folder> as plain UTF-8 files and exit."_s,
        u"folder"_s);
    const QCommandLineOption group(u"group"_s, u"With --export: only <group>."_s, u"group"_s);
    const QCommandLineOption overwrite(
        u"overwrite"_s,
        u"With --export: replace files that are in the folder already, and remove those an "
        "earlier export wrote there whose entries are no longer in the notebook."_s);
    parser.addOptions({help, version, import, into, unencodable, exportOption, group, overwrite});

    const QString program = QFileInfo(arguments.value(0, u"plimsa"_s)).fileName();
    const auto refuse = [&program](const QString &why) {
        return CommandLineAnswer{
            kUsageError,
            QString(),
            u"%1: %2\nTry '%1 --help' for more information.\n"_s.arg(program, why),
            {}};
    };
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (!parser.positionalArguments().isEmpty()) {
        return refuse(u"Unexpected argument '%1': Plimsa opens no files."_s.arg(
            parser.positionalArguments().constFirst()));
    }
    if (parser.isSet(help))
        return {0, parser.helpText(), QString(), {}};
    if (parser.isSet(version)) {
        return {0,
                u"%1 %2\n"_s.arg(QCoreApplication::applicationName(),
                                 QCoreApplication::applicationVersion()),
                QString(),
                {}};
    }
    const bool importing = parser.isSet(import);
    const bool exporting = parser.isSet(exportOption);
    if (importing && exporting)
        return refuse(u"--import and --export cannot be given together."_s);
    if (!importing && (parser.isSet(into) || parser.isSet(unencodable)))
        return refuse(u"--into and --unencodable go with --import."_s);
    if (!exporting && (parser.isSet(group) || parser.isSet(overwrite)))
        return refuse(u"--group and --overwrite go with --export."_s);
    if (!importing && !exporting)
        return {};
    for (const QCommandLineOption *option : {&import, &exportOption, &into, &unencodable, &group}) {
        if (parser.values(*option).size() > 1)
            return refuse(u"--%1 is given more than once."_s.arg(option->names().constFirst()));
    }
    TransferRequest request;
    request.kind = importing ? TransferRequest::Kind::Import : TransferRequest::Kind::Export;
    request.folder = parser.value(importing ? import : exportOption);
    if (request.folder.isEmpty())
        return refuse(u"The folder is empty."_s);
    if (importing && !QFileInfo(request.folder).isDir())
        return refuse(u"%1 is not a folder."_s.arg(request.folder));
    if (parser.isSet(importing ? into : group))
        request.group = parser.value(importing ? into : group);
    if (request.group && UniqueName::checkGroupName(*request.group) != UniqueName::Refusal::None)
        return refuse(u"'%1' cannot be a group name."_s.arg(*request.group));
    request.unencodable = parser.value(unencodable);
    if (!request.unencodable.isEmpty() && request.unencodable != u"replace"_s &&
        request.unencodable != u"skip"_s)
        return refuse(u"--unencodable takes replace or skip."_s);
    request.overwrite = parser.isSet(overwrite);
    return {std::nullopt, QString(), QString(), request};
}

namespace {

int runImport(const TransferRequest &request, AppState &state, NoteTable &table, Store &store,
              QString &out, QString &err)
{
    using namespace NotebookImport;
    if (!store.TakeStoreMarker()) {
        const IoError &why = store.markerRefusal();
        err += StoreMarker::keepsNoLocks(why)
                   ? u"plimsa: the store's file system cannot lock files (%1), so nothing was "
                     "imported: %2\n"_s.arg(why.description, state.storeFolder)
                   : u"plimsa: the notebook is in use by another copy of Plimsa (store %1); "
                     "nothing was imported. End the other copy and try again.\n"_s.arg(
                         state.storeFolder);
        return kNothingDone;
    }
    // What an import cut short left in the store goes before this one plans.
    store.removeLeftovers();
    const Scan scan = scanFolder(request.folder, state.storeFolder);
    if (!scan.failure.isEmpty()) {
        err += u"plimsa: %1: %2\n"_s.arg(request.folder, scan.failure);
        return kBadArguments;
    }
    const Unencodable choice = request.unencodable == u"replace"_s ? Unencodable::Replace
                               : request.unencodable == u"skip"_s  ? Unencodable::Skip
                                                                   : Unencodable::Ask;
    const Plan plan =
        makePlan(scan, table, state.storeFolder, request.group, choice, QLocale::system());
    if (plan.needsChoice) {
        err += u"plimsa: %1 files hold characters the notebook (Windows-1252) cannot hold; "
               "nothing was imported. Give --unencodable=replace or --unencodable=skip.\n"_s.arg(
                   plan.unencodable.size()) +
               unencodableList(plan, 1000) + u'\n';
        return kNothingDone;
    }
    if (!plan.wontFit.isEmpty()) {
        err += u"plimsa: the import does not fit into the notebook; nothing was imported.\n"_s +
               plan.wontFit.join(u'\n') + u'\n';
        return kNothingDone;
    }
    PrintedReports reports(err);
    const Outcome outcome = run(store, table, reports, plan);
    for (const Skipped &skipped : plan.skipped)
        err += u"plimsa: skipped %1: %2\n"_s.arg(skipped.path, skipped.why);
    out += summary(plan, outcome) + u'\n';
    if (outcome.failed || outcome.cancelled)
        return kNothingDone;
    return plan.skipped.isEmpty() ? kAllDone : kSomeSkipped;
}

int runExport(const TransferRequest &request, const NoteTable &table, const QString &storeFolder,
              QString &out, QString &err)
{
    std::optional<int> only;
    if (request.group) {
        only = table.findGroup(OutDOS(*request.group));
        if (*only < 0) {
            err += u"plimsa: the notebook has no group '%1'.\n"_s.arg(*request.group);
            return kBadArguments;
        }
    }
    if (NotebookExport::isWithinStore(request.folder, storeFolder)) {
        err += u"plimsa: %1 lies within the store %2; export into a folder outside it.\n"_s.arg(
            request.folder, storeFolder);
        return kBadArguments;
    }
    const NotebookExport::Plan plan =
        NotebookExport::makePlan(table, storeFolder, only, request.folder, QLocale::system());
    if (plan.touchesExisting() && !request.overwrite) {
        if (!plan.existing.isEmpty())
            err += u"plimsa: %1 files of the export are in %2 already (%3 the first).\n"_s
                       .arg(plan.existing.size())
                       .arg(request.folder, plan.existing.constFirst());
        if (!plan.stale.isEmpty())
            err += u"plimsa: %1 files an earlier export wrote into %2 are no longer in the "
                   "notebook (%3 the first); the export removes them.\n"_s.arg(plan.stale.size())
                       .arg(request.folder, plan.stale.constFirst());
        err += u"plimsa: nothing was written. Give --overwrite to replace them.\n"_s;
        return kNothingDone;
    }
    const NotebookExport::Outcome outcome = NotebookExport::run(plan, request.folder);
    for (const QString &line : plan.unreadable)
        err += u"plimsa: not readable, exported as a title without a file: %1\n"_s.arg(line);
    if (outcome.failure) {
        err += u"plimsa: could not write %1: %2 (error %3); the export stopped.\n"_s.arg(
            outcome.failure->file, outcome.failure->description)
                   .arg(outcome.failure->number);
    }
    out += NotebookExport::summary(plan, outcome) + u'\n';
    if (outcome.failure)
        return kNothingDone;
    return plan.unreadable.isEmpty() ? kAllDone : kSomeSkipped;
}

} // namespace

int runTransfer(const TransferRequest &request, const QString &programFolder, QString &out,
                QString &err)
{
    AppState state;
    state.programFolder = withSlash(programFolder);
    NoteTable table;
    Store store(state, table);
    if (const auto error = store.LoadPreferences()) {
        err += u"plimsa: %1: %2\n"_s.arg(error->file, error->description);
        return kNothingDone;
    }
    if (const auto error = store.LoadIndex()) {
        err += u"plimsa: the notebook's index cannot be read (%1): %2\n"_s.arg(error->description,
                                                                               error->file);
        return kNothingDone;
    }
    // Slots in the order of the group list, as the window keeps them.
    GroupList::orderRows(table);
    if (request.kind == TransferRequest::Kind::Import)
        return runImport(request, state, table, store, out, err);
    return runExport(request, table, state.storeFolder, out, err);
}
