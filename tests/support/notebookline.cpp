#include "support/notebookline.h"

#include "support/appfixture.h"

using namespace Qt::StringLiterals;

QList<QStringList> notebook(const QString &line)
{
    QList<QStringList> groups;
    for (const QString &group : line.split(u" | "_s))
        groups << group.split(u' ');
    return groups;
}

QString index(const AppFixture &nb)
{
    QStringList groups;
    for (const QString &line : nb.readLines(u"FileStore/idx.dat"_s).mid(1)) {
        if (line.startsWith(u'\\'))
            groups.last() += u' ' + line.mid(1);
        else
            groups << line;
    }
    return groups.join(u" | "_s);
}

QString selection(const AppFixture &nb)
{
    return AppFixture::current(nb.groupList()) + u'/' + AppFixture::current(nb.entryList());
}

void select(const AppFixture &nb, const QString &where)
{
    AppFixture::click(nb.groupList(), where.section(u'/', 0, 0));
    AppFixture::click(nb.entryList(), where.section(u'/', 1));
}
