#pragma once

#include <QObject>
#include <array>

struct MainContext;
class EntryList;
class QAction;

// The Editor menu: the selected entry's text file, or the entry list written
// to LstPrnt.txt in the store folder, opened in the desktop's text editor.
// Nothing of the notebook changes.
class EditorExport : public QObject
{
    Q_OBJECT
public:
    // `items`: the menu's two items, the entry text and the entry list.
    EditorExport(const std::array<QAction *, 2> &items, MainContext &ctx, const EntryList &entries,
                 QObject *parent);

    // The entry's text file in the desktop's editor.
    void openEntryText();
    // The entry list, written to a file of its own, in the editor.
    void openEntryList();

private:
    MainContext &ctx_;
    const EntryList &entries_;
};
