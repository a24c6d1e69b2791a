#pragma once

#include "support/foldercontents.h"

#include "platform/syscalls.h"

#include <QList>
#include <QSet>
#include <QString>
#include <memory>
#include <optional>

// Records what a command does to the files under one folder, call by call,
// through the file-call seam, and builds from it every state of the disk a
// power cut could leave.
//
// The disk keeps a write only once its file is fsynced, and a new, renamed,
// linked or removed name only once its folder is synced; a sync of the whole
// file system makes every step before it lasting. A power cut after
// the first `cut` steps leaves every step that was synced by then, and each
// step that was not either kept or lost (a rename whole or not at all; a
// write lost leaves the file as its last kept write, a new file empty); the
// steps are taken in their order. What the calls change is read from the
// disk between calls; the descriptor of an fsync or folder sync tells which
// file or folder it makes lasting.
class PowerCut
{
public:
    // `refuse` may fail calls as a file system would (one without hard
    // links, say); the calls it fails are recorded as failed.
    explicit PowerCut(const QString &root, Sys::Hook refuse = {});
    ~PowerCut();
    PowerCut(const PowerCut &) = delete;
    PowerCut &operator=(const PowerCut &) = delete;

    // Ends the recording; call it once the command has returned.
    void finish();

    // The steps that changed or synced something.
    int steps() const;
    // The files after the first `cut` steps, nothing lost.
    Files truthAt(int cut) const;
    // Every distinct state a power cut after the first `cut` steps can leave.
    // Up to 2^12 combinations of the steps not yet lasting are built, all of
    // them when there are no more; beyond that a fixed sample.
    QList<Files> statesAt(int cut) const;
    // What step `i` was, for a failure's message: "rename FileStore/idx.dat".
    QString describe(int i) const;

private:
    struct Recording;
    std::shared_ptr<Recording> recording_;
};
