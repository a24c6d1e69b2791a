#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class AppFixture;

// A notebook written in one line, "A a1 a2 | B | Trash t1": each group, then
// its titles (no name holds a blank). A selection is "group/entry".
QList<QStringList> notebook(const QString &line);
// idx.dat read back in the same form.
QString index(const AppFixture &nb);
QString selection(const AppFixture &nb);
// Clicks the group, then the entry, of "group/entry".
void select(const AppFixture &nb, const QString &where);
