#pragma once

#include "store/notetable.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

class NotebookChange;

// One command's change of the notebook, kept so that it can be carried out
// again and taken back: the table before and after it, and its file steps,
// each as the command made it. Backwards the steps run the other way round,
// each turned about: an entry's file the command moved moves back, a group
// folder it made goes (its mask kept), one it removed comes back. Either way
// the change goes through a NotebookChange, in its order (files that appear,
// idx.dat, files that leave), and whatever leaves is read first and kept for
// the way back, so that no text is lost by going back and forth.
class Revision
{
public:
    Revision() = default;
    Revision(const NoteTable &before, const NoteTable &after);

    // The entry's file now has the name `toTitle` in `toGroup` (a move, a new
    // title). `noFileToo`: an entry without a file (a separator) keeps none.
    void entryMoved(const QString &fromGroup, const QString &fromTitle, const QString &toGroup,
                    const QString &toTitle, bool noFileToo = false);
    // The group folder's files under a new folder name.
    void groupRenamed(const QString &oldName, const QString &newName);
    // A group folder made with its mask, or removed with it.
    void groupAdded(const QString &group);
    void groupRemoved(const QString &group);
    // An entry's file written by the command (a new entry's first save, an
    // import); backwards it goes, its bytes kept.
    void entryAdded(const QString &group, const QString &title);

    const NoteTable &before() const { return before_; }
    const NoteTable &after() const { return after_; }

    enum class Outcome {
        Done,
        Failed, // a step or idx.dat failed: reported, everything as it was
        Stale,  // the table is not as the revision left it: nothing done
    };
    // Forwards from `before`, backwards from `after`: `change`'s table must
    // be that one.
    Outcome apply(NotebookChange &change, bool forward);

    // What `after` holds beyond `before` (new groups, entries added to
    // groups) as a revision whose files are already written; nothing when
    // `after` also lost, renamed or moved something.
    static std::optional<Revision> additions(const NoteTable &before, const NoteTable &after);

private:
    enum class Kind {
        EntryMoved,
        GroupRenamed,
        GroupAdded,
        GroupRemoved,
        EntryAdded,
    };
    struct Step
    {
        Kind kind;
        QString group, title;     // where the file was (or is made)
        QString toGroup, toTitle; // where it went (moves and renames)
        bool noFileToo = false;
        // The bytes of a file that left: an entry's text, a group's mask.
        std::optional<QByteArray> kept;
    };

    NoteTable before_, after_;
    std::vector<Step> steps_;
};
