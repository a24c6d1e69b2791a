#include "transfer/notebookimport.h"

#include "notebook/notebookedit.h"
#include "store/errorreports.h"
#include "store/notebookchange.h"
#include "store/notetable.h"
#include "store/pendingfiles.h"
#include "store/store.h"

#include <QScopeGuard>

#include <algorithm>
#include <cerrno>

using namespace Qt::StringLiterals;

namespace NotebookImport {

namespace {

// A group's entries are written and committed together: idx.dat is written
// once a group, not once an entry (nor once a few hundred, each time with the
// whole group again). A failure undoes the files of the group it stopped in.
constexpr int kEntriesPerChange = NoteTable::kMaxEntries;

} // namespace

Outcome run(Store &store, NoteTable &table, ErrorReports &userReports, const Plan &plan,
            const Progress &progress)
{
    // One report for the whole import: the list's clear-up adds none of its own.
    struct Told : ErrorReports
    {
        explicit Told(ErrorReports &to) : to(to) {}
        void ShowErrorCancel(const IoError &error) override
        {
            any = true;
            to.ShowErrorCancel(error);
        }
        void ShowErrorContinue(const IoError &error) override
        {
            any = true;
            to.ShowErrorContinue(error);
        }
        ErrorReports &to;
        bool any = false;
    } told(userReports);
    ErrorReports &reports = told;
    Outcome outcome;
    if (plan.needsChoice || !plan.wontFit.isEmpty() ||
        (plan.entryCount() == 0 && plan.newGroupCount() == 0))
        return outcome;
    // Every file the import may make, listed before the first: what a crash
    // leaves of them the next start clears away.
    QList<PendingFiles::File> pending;
    for (const PlannedGroup &group : plan.groups) {
        if (group.isNew)
            pending.append({group.storedName, QString()});
        for (const PlannedEntry &entry : group.entries) {
            if (entry.hasFile)
                pending.append({group.storedName, entry.storedTitle});
        }
    }
    const QString storeFolder = store.storeFolder();
    if (!store.markerStillHeld()) {
        outcome.failed = true;
        return outcome;
    }
    if (const FileResult noted = PendingFiles::note(storeFolder, pending);
        !noted || noted.unsynced) {
        reports.ShowErrorCancel(noted.error);
        (void)PendingFiles::clear(storeFolder);
        outcome.failed = true;
        return outcome;
    }
    // Once the import has ended, however: the steps it finished are in
    // idx.dat, and a failed one has taken its files away again. A list left
    // after a failure that was told already is cleared by the next start.
    const auto cleared = qScopeGuard([&] {
        if (!store.markerStillHeld())
            return;
        if (const FileResult done = PendingFiles::clear(storeFolder);
            (!done || done.unsynced) && !told.any)
            reports.ShowErrorContinue(done.error);
    });
    const qint64 total = plan.entryCount();
    qint64 done = 0;
    for (const PlannedGroup &group : plan.groups) {
        qsizetype next = 0;
        bool groupMade = false;
        while (next < group.entries.size() || (group.isNew && !groupMade)) {
            NotebookChange change(store, table, reports);
            NoteTable &t = change.table();
            int g = t.findGroup(group.storedName);
            if (g < 0) {
                if (!change.createGroupFolder(group.storedName)) {
                    outcome.failed = true;
                    return outcome;
                }
                g = NotebookEdit::sortedGroupSlot(t, group.storedName);
                if (!NotebookEdit::insertGroupRow(t, g, group.storedName)) {
                    outcome.failed = true;
                    return outcome;
                }
            }
            qint64 made = 0;
            // Counted once a step, not for every title appended.
            int count = t.entryCount(g);
            const qsizetype end = std::min(next + kEntriesPerChange, group.entries.size());
            for (; next < end; ++next) {
                if (progress && !progress(done, total)) {
                    outcome.cancelled = true;
                    break;
                }
                // The plan keeps within the limit; a file idx.dat cannot name is not written.
                if (count >= NoteTable::kMaxEntries)
                    break;
                const PlannedEntry &entry = group.entries.at(next);
                if (entry.hasFile &&
                    !change.writeNewEntryInBatch(group.storedName, entry.storedTitle, entry.date,
                                                 entry.text)) {
                    outcome.failed = true;
                    return outcome;
                }
                t.cell(g, ++count) = entry.storedTitle;
                ++made;
                ++done;
            }
            // Cancelled before the first entry of a new group: the group is
            // not made (the change undoes its folder).
            if (outcome.cancelled && made == 0 && group.isNew && !groupMade)
                return outcome;
            if (!change.commit()) {
                outcome.failed = true;
                return outcome;
            }
            if (!groupMade && group.isNew)
                ++outcome.groupsMade;
            groupMade = true;
            outcome.entriesMade += made;
            if (outcome.cancelled)
                return outcome;
        }
        if (group.isNew && group.mask) {
            NotebookChange change(store, table, reports);
            if (!change.commitMask(group.storedName, *group.mask)) {
                outcome.failed = true;
                return outcome;
            }
        }
    }
    if (progress)
        progress(done, total);
    return outcome;
}

QString unencodableList(const Plan &plan, int maxFiles)
{
    QStringList lines;
    for (const UnencodableFile &file : plan.unencodable) {
        if (lines.size() == maxFiles) {
            lines.append(u"... and %1 more files"_s.arg(plan.unencodable.size() - maxFiles));
            break;
        }
        QStringList shown;
        for (const QString &c : file.characters) {
            shown.append(u"%1 (U+%2)"_s.arg(c).arg(
                QString::number(c.toUcs4().value(0), 16).toUpper(), 4, u'0'));
            if (shown.size() == 8) {
                shown.append(u"..."_s);
                break;
            }
        }
        lines.append(file.path + u": "_s + shown.join(u", "_s));
    }
    return lines.join(u'\n');
}

QString summary(const Plan &plan, const Outcome &outcome)
{
    QString line = u"%1 groups and %2 entries made, %3 files skipped, %4 already there"_s
                       .arg(outcome.groupsMade)
                       .arg(outcome.entriesMade)
                       .arg(plan.skipped.size())
                       .arg(plan.duplicates);
    if (outcome.cancelled)
        line +=
            u"; cancelled, %1 entries not imported"_s.arg(plan.entryCount() - outcome.entriesMade);
    else if (outcome.failed)
        line += u"; stopped by a failed write, %1 entries not imported"_s.arg(plan.entryCount() -
                                                                              outcome.entriesMade);
    return line + u'.';
}

QString report(const Plan &plan, const Outcome &outcome, const QString &folder)
{
    QString text = summary(plan, outcome);
    if (!plan.unencodable.isEmpty() && plan.choice == Unencodable::Replace) {
        text += u"\n\nCharacters the notebook cannot hold were replaced by close equivalents "
                "in %1 files."_s.arg(plan.unencodable.size());
    }
    if (!plan.skipped.isEmpty()) {
        text += u"\n\nSkipped, in %1:"_s.arg(folder);
        int shown = 0;
        for (const Skipped &s : plan.skipped) {
            if (++shown > 100) {
                text += u"\n... and %1 more"_s.arg(plan.skipped.size() - 100);
                break;
            }
            text += u"\n"_s + s.path + u": "_s + s.why;
        }
    }
    return text;
}

} // namespace NotebookImport
