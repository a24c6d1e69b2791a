#pragma once

#include <QObject>
#include <array>

struct MainContext;
class QAction;
class QWidget;
class EditModes;
class EntryList;
class KeyHandlers;

// The Insert menu: a separator line (blanks, dashes, equal signs, a line
// of one character or a text of the user's) before the selected entry. It is
// a title without a text file; F11 in the lists inserts the dashed line.
class Inserts : public QObject
{
    Q_OBJECT
public:
    // `items`: the Insert menu's items, in the order of Separators::Kind;
    // `window` owns the question for a character or a text.
    Inserts(const std::array<QAction *, 5> &items, QWidget *window, MainContext &ctx,
            EntryList &entries, EditModes &editModes, KeyHandlers &keys, QObject *parent);

    // A separator line of kind k (Separators::Kind) above the selected line.
    void insertSeparator(int k);

private:
    // The separator for index k, "" when there is none (the user cancelled).
    QString askSeparator(int k);

    QWidget *window_;
    MainContext &ctx_;
    EntryList &entries_;
    EditModes &editModes_;
};
