#pragma once

#include "store/notetable.h"

#include <QString>
#include <thread>

// idx.dat read on a second thread while the main window builds its controls,
// which takes as long. The thread finds the index as LoadPreferences will and
// reports nothing; LoadIndex takes its table only when it read the very file
// LoadIndex was about to read, without damage, and otherwise reads (and
// reports) as always.
class IndexPrefetch
{
public:
    IndexPrefetch() = default;
    ~IndexPrefetch();
    IndexPrefetch(const IndexPrefetch &) = delete;
    IndexPrefetch &operator=(const IndexPrefetch &) = delete;

    void start(const QString &programFolder);
    // Waits for the thread; true when `table` now holds the index read from `indexPath`.
    bool take(const QString &indexPath, NoteTable &table);

private:
    void read(const QString &programFolder);

    std::thread thread_;
    QString path_;
    NoteTable table_;
    bool ok_ = false;
};
