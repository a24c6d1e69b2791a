#pragma once

#include "support/foldercontents.h"

#include "platform/syscalls.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <optional>

// How the recorded file system takes a second name for a file: a hard link,
// only the link of an unnamed file (a copy is written that way), or none.
enum class Links { Hard, UnnamedOnly, None };

// What a name under the recorded folder is.
struct Node
{
    bool folder = false;
    quint64 inode = 0;
    bool operator==(const Node &) const = default;
};
using Names = QMap<QString, Node>; // path relative to the root

// Everything a call may change that a later call or a power cut can tell apart.
struct Step
{
    enum class Kind { Names, Content, FileSync, FolderSync, FileSystemSync } kind;
    Sys::Op op;
    QList<std::pair<QString, std::optional<Node>>> names; // Names: nullopt where one went
    QSet<QString> folders; // Names: whose entries changed; FolderSync: the one synced
    quint64 inode = 0;     // Content, FileSync
    QByteArray bytes;      // Content
};

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
    PowerCut(const QString &folder, Links links);
    ~PowerCut() { Sys::setHook(nullptr); }
    PowerCut(const PowerCut &) = delete;
    PowerCut &operator=(const PowerCut &) = delete;

    // Ends the recording; call it once the command has returned.
    void finish()
    {
        Sys::setHook(nullptr);
        complete();
    }

    // The files after the first `cut` steps, nothing lost.
    Files truthAt(int cut) const { return build(cut, QList<bool>(cut, true)); }

    // Every distinct state a power cut after the first `cut` steps can leave.
    // Up to 2^12 combinations of the steps not yet lasting are built, all of
    // them when there are no more; beyond that a fixed sample.
    QList<Files> statesAt(int cut) const;

    // The steps that changed or synced something.
    QList<Step> steps;
    // Every call and what it names (empty for a call on a descriptor), as
    // the fault matrix fails them.
    QList<std::pair<Sys::Op, QByteArray>> calls;

private:
    QString root; // real path, ending in "/"
    Names startNames;
    QHash<quint64, QByteArray> startContents;
    Names names;
    QHash<quint64, QByteArray> contents;

    // The call the seam is running, completed at the next call or at the end.
    struct Pending
    {
        Sys::Op op;
        quint64 inode = 0;
        int reader = -1;
        QString folder;
    };
    std::optional<Pending> pending;

    Names scan() const;

    QString relative(int fd) const;

    void begin(Sys::Op op, int fd);

    void complete();

    void noteNames(Sys::Op op);

    // Whether step i is lasting once the first `cut` steps have run.
    bool lasting(int i, int cut) const;

    Files build(int cut, const QList<bool> &kept) const;
};
