#include "transfer/transfercommands_w.h"

#include "notebook/grouplist.h"
#include "notebook/notebookview_w.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/dostext.h"
#include "store/errorreports.h"
#include "store/notetable.h"
#include "transfer/notebookexport.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Shown once the work has taken half a second; cancelling keeps what is done.
class ProgressWindow
{
public:
    ProgressWindow(QWidget *parent, const QString &label)
        : dialog_(label, u"Cancel"_s, 0, 0, parent)
    {
        dialog_.setObjectName(u"frmTransferProgress"_s);
        dialog_.setAccessibleName(label);
        dialog_.setWindowTitle(u"Plimsa"_s);
        dialog_.setWindowModality(Qt::ApplicationModal);
        dialog_.setMinimumDuration(500);
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
        dialog_.setValue(0);
    }

    bool operator()(qint64 done, qint64 total)
    {
        if (total > 0 && dialog_.maximum() != total)
            dialog_.setMaximum(int(total));
        if (total > 0)
            dialog_.setValue(int(std::min(done, total)));
        // Until it shows, the dialog takes no input, and neither may the window.
        if (!dialog_.isVisible())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        else if (total == 0)
            QCoreApplication::processEvents();
        return !dialog_.wasCanceled();
    }

    void setLabel(const QString &label) { dialog_.setLabelText(label); }

private:
    QProgressDialog dialog_;
};

} // namespace

TransferQuestion::TransferQuestion(const QString &objectName, const QString &title,
                                   const QString &text, const QString &list,
                                   const QStringList &answers, int safeAnswer, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(objectName);
    setAccessibleName(title);
    setWindowTitle(title);
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(text, this);
    label->setObjectName(u"lblQuestion"_s);
    label->setAccessibleName(title);
    label->setWordWrap(true);
    layout->addWidget(label);
    if (!list.isEmpty()) {
        auto *box = new QPlainTextEdit(list, this);
        box->setObjectName(u"txtList"_s);
        box->setAccessibleName(u"Files"_s);
        box->setReadOnly(true);
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        layout->addWidget(box);
    }
    auto *buttons = new QDialogButtonBox(this);
    buttons->setObjectName(u"buttons"_s);
    for (int i = 0; i < answers.size(); ++i) {
        QPushButton *button = buttons->addButton(answers.at(i), QDialogButtonBox::ActionRole);
        button->setObjectName(u"cmdAnswer"_s + QString::number(i));
        button->setAccessibleName(QString(answers.at(i)).remove(u'&'));
        connect(button, &QPushButton::clicked, this, [this, i] {
            answer_ = i;
            accept();
        });
        // Enter, as the dialog opens, gives the answer that changes nothing.
        if (i == safeAnswer) {
            button->setDefault(true);
            button->setFocus();
        }
    }
    layout->addWidget(buttons);
    resize(560, list.isEmpty() ? 160 : 380);
}

TransferCommands::TransferCommands(NotebookView &view, QObject *parent)
    : QObject(parent), view_(view)
{
    setObjectName(u"transferCommands"_s);
}

std::optional<QString> TransferCommands::chooseFolder(const QString &title)
{
    QFileDialog dialog(view_.controls.window, title);
    dialog.setObjectName(u"dlgTransferFolder"_s);
    dialog.setAccessibleName(title);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

void TransferCommands::reloadLists(const QString &storedGroup)
{
    view_.refillGroupList();
    const int slot = storedGroup.isEmpty() ? -1 : view_.ctx.table.findGroup(storedGroup);
    view_.selectGroupOrFirst(slot < 0 ? 0 : view_.groups.lineOfSlot(slot));
}

void TransferCommands::importFolder(bool intoSelectedGroup)
{
    MainContext &ctx = view_.ctx;
    if (busy_)
        return;
    if (ctx.state.StoreInUse || view_.locked() || view_.main.edit.editing()) {
        view_.caution(u"Importing changes the notebook: it needs editing allowed and no entry "
                      "or mask being edited."_s);
        return;
    }
    // Slots move as groups come in; the selection is kept by name.
    const int selected = view_.groupSlot();
    const QString selectedName = selected < 0 ? QString() : ctx.table.name(selected);
    std::optional<QString> into;
    if (intoSelectedGroup) {
        const int slot = view_.groupSlot();
        if (slot < 0) {
            ctx.messages.beep();
            return;
        }
        into = InDOS(ctx.table.name(slot));
    }
    const auto folder = chooseFolder(u"Import Folder"_s);
    if (!folder)
        return;
    QScopedValueRollback<bool> busy(busy_, true);

    using namespace NotebookImport;
    Scan scan;
    {
        ProgressWindow progress(view_.controls.window,
                                u"Reading the files of %1 ..."_s.arg(*folder));
        scan = scanFolder(*folder, ctx.state.storeFolder, std::ref(progress));
    }
    if (!scan.failure.isEmpty()) {
        view_.caution(u"%1: %2"_s.arg(*folder, scan.failure));
        return;
    }
    if (scan.cancelled) {
        ctx.messages.message(Messages::Icon::Information, u"Import"_s,
                             u"Import cancelled while reading the files; nothing was imported."_s);
        return;
    }
    const QLocale locale = QLocale::system();
    Plan plan = makePlan(scan, ctx.table, ctx.state.storeFolder, into, Unencodable::Ask, locale);
    if (plan.needsChoice) {
        TransferQuestion question(
            u"frmImportUnencodable"_s, u"Import"_s,
            u"%1 files hold characters the notebook's code page (Windows-1252) cannot hold. "
            "Replace each by a close equivalent (or \"?\"), or skip these files?"_s.arg(
                plan.unencodable.size()),
            unencodableList(plan), {u"&Replace"_s, u"&Skip These Files"_s, u"Cancel"_s}, 2,
            view_.controls.window);
        question.exec();
        const std::optional<int> answer = question.answer();
        if (!answer || *answer == 2)
            return;
        plan = makePlan(scan, ctx.table, ctx.state.storeFolder, into,
                        *answer == 0 ? Unencodable::Replace : Unencodable::Skip, locale);
    }
    if (!plan.wontFit.isEmpty()) {
        view_.caution(u"The import does not fit into the notebook; nothing was imported.\n\n"_s +
                      plan.wontFit.join(u'\n'));
        return;
    }
    Outcome outcome;
    const NoteTable before = ctx.table;
    {
        ProgressWindow progress(view_.controls.window,
                                u"Importing %1 entries ..."_s.arg(plan.entryCount()));
        outcome = run(ctx.store, ctx.table, ctx.reports, plan, std::ref(progress));
    }
    view_.recordImport(before);
    reloadLists(into                    ? OutDOS(*into)
                : plan.groups.isEmpty() ? selectedName
                                        : plan.groups.constFirst().storedName);
    // A failed write has been reported with its file; that is the one report.
    if (!outcome.failed)
        ctx.messages.message(Messages::Icon::Information, u"Import"_s,
                             report(plan, outcome, *folder));
}

void TransferCommands::exportNotebook(bool selectedGroupOnly)
{
    MainContext &ctx = view_.ctx;
    if (busy_)
        return;
    std::optional<int> only;
    if (selectedGroupOnly) {
        only = view_.groupSlot();
        if (*only < 0) {
            ctx.messages.beep();
            return;
        }
    }
    const auto folder = chooseFolder(selectedGroupOnly ? u"Export Group"_s : u"Export Notebook"_s);
    if (!folder)
        return;
    if (NotebookExport::isWithinStore(*folder, ctx.state.storeFolder)) {
        view_.caution(
            u"%1 lies within the notebook's store; choose a folder outside it."_s.arg(*folder));
        return;
    }
    QScopedValueRollback<bool> busy(busy_, true);
    const NotebookExport::Plan plan = NotebookExport::makePlan(ctx.table, ctx.state.storeFolder,
                                                               only, *folder, QLocale::system());
    if (plan.touchesExisting()) {
        QString text = u"%1 files in %2 would be replaced by the export"_s.arg(plan.existing.size())
                           .arg(*folder);
        if (!plan.stale.isEmpty())
            text += u", and %1 files an earlier export wrote there would be removed: their "
                    "entries are no longer in the notebook"_s.arg(plan.stale.size());
        TransferQuestion question(u"frmExportReplace"_s, u"Export"_s, text + u". Replace them?"_s,
                                  (plan.existing + plan.stale).mid(0, 200).join(u'\n'),
                                  {u"&Replace"_s, u"Cancel"_s}, 1, view_.controls.window);
        question.exec();
        // Only the Replace button replaces; Cancel, Esc and the close box do not.
        if (question.answer() != 0)
            return;
    }
    NotebookExport::Outcome outcome;
    {
        ProgressWindow progress(view_.controls.window, u"Exporting to %1 ..."_s.arg(*folder));
        outcome = NotebookExport::run(plan, *folder, std::ref(progress));
    }
    if (outcome.failure) {
        // The file that could not be written, and why; no half file is left.
        ctx.reports.ShowErrorCancel(*outcome.failure);
        return;
    }
    QString text = NotebookExport::summary(plan, outcome);
    if (!plan.unreadable.isEmpty())
        text += u"\n\nNot readable (listed as titles without files):\n"_s +
                plan.unreadable.mid(0, 100).join(u'\n');
    ctx.messages.message(Messages::Icon::Information, u"Export"_s, text);
}

namespace {

// The menus show a command's key in brackets in its text, as the program's
// other items do; the key itself is a window shortcut that triggers the item,
// so Qt's own key column stays empty instead of naming the key twice.
struct FileMenuPlace
{
    QMenu *menu;
    QAction *before;
    QWidget *window;
};

QAction *addItem(const FileMenuPlace &at, const QString &name, const QString &key,
                 const QString &text)
{
    auto *action = new QAction(text + u"  ["_s + key + u']', at.menu);
    action->setObjectName(name);
    at.menu->insertAction(at.before, action);
    new QShortcut(QKeySequence(key), at.window, action, &QAction::trigger, Qt::WindowShortcut);
    return action;
}

} // namespace

void installTransfer(NotebookView &view, QMenu *fileMenu, QAction *before, QObject *window)
{
    auto *commands = new TransferCommands(view, window);
    const FileMenuPlace file{fileMenu, before, view.controls.window};
    commands->importFolderItem =
        addItem(file, u"mnuImportFolder"_s, u"Ctrl+Shift+I"_s, u"&Import Folder..."_s);
    commands->importIntoGroupItem = addItem(file, u"mnuImportIntoGroup"_s, u"Ctrl+Shift+G"_s,
                                            u"Import Folder into &Group..."_s);
    commands->exportNotebookItem =
        addItem(file, u"mnuExportNotebook"_s, u"Ctrl+Shift+E"_s, u"E&xport Notebook..."_s);
    commands->exportGroupItem =
        addItem(file, u"mnuExportGroup"_s, u"Ctrl+Shift+X"_s, u"Export Gro&up..."_s);
    file.menu->insertSeparator(file.before);
    QObject::connect(commands->importFolderItem, &QAction::triggered, commands,
                     [commands] { commands->importFolder(false); });
    QObject::connect(commands->importIntoGroupItem, &QAction::triggered, commands,
                     [commands] { commands->importFolder(true); });
    QObject::connect(commands->exportNotebookItem, &QAction::triggered, commands,
                     [commands] { commands->exportNotebook(false); });
    QObject::connect(commands->exportGroupItem, &QAction::triggered, commands,
                     [commands] { commands->exportNotebook(true); });
}
