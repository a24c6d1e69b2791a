// A text box filled a part at a time ends as setPlainText() leaves it: the
// text whole, the cursor and the view at the start, no undo step, yet undo
// and the scroll bar's rule as they were, for the edits that follow.

#include "ui/codepagetextedit_w.h"

#include <QScrollBar>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_BoxFill : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fill_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QStringList>("parts");
        QString lines;
        for (int i = 0; i < 2000; ++i)
            lines += u"line %1\n"_s.arg(i);
        QTest::newRow("many lines after a few") << u"a\nb"_s
                                                << QStringList{lines.left(5), lines.mid(5, 999),
                                                               lines.mid(1004)};
        QTest::newRow("a few lines after many") << lines << QStringList{u"a\n"_s, u"b"_s};
        QTest::newRow("nothing after many") << lines << QStringList{};
    }
    void fill()
    {
        QFETCH(QString, before);
        QFETCH(QStringList, parts);
        CodePageTextEdit box;
        box.resize(300, 200);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        box.setPlainText(before);
        box.moveCursor(QTextCursor::End);
        box.insertPlainText(u"typed"_s); // an undo step the fill must drop
        {
            BoxFill fill(&box);
            for (const QString &part : std::as_const(parts))
                fill.append(part);
        }
        const QString text = parts.join(QString());
        QCOMPARE(box.toPlainText(), text);
        QCOMPARE(box.textCursor().position(), 0);
        QCOMPARE(box.verticalScrollBar()->value(), 0);
        QVERIFY(!box.document()->isUndoAvailable());
        QCOMPARE(box.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        const bool long_ = text.count(u'\n') > 100;
        QTRY_COMPARE(box.verticalScrollBar()->isVisible(), long_);
        box.insertPlainText(u"x"_s);
        QVERIFY(box.document()->isUndoAvailable());
        box.undo();
        QCOMPARE(box.toPlainText(), text);
    }
};

QTEST_MAIN(tst_BoxFill)
#include "tst_boxfill_w.moc"
