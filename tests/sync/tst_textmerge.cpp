// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/TextMerge.h"

#include <QTest>

// Two edits of one note merged: what each side changed is kept, what both
// kept appears once, and only edits of the same words show both versions.
class TextMergeTest : public QObject
{
    Q_OBJECT

private slots:
    void merge_data();
    void merge();
};

void TextMergeTest::merge_data()
{
    QTest::addColumn<QString>("base"); // "-": none, the texts met without one
    QTest::addColumn<QString>("local");
    QTest::addColumn<QString>("other");
    QTest::addColumn<QString>("merged");

    const QString line = TextMerge::ConflictLine;
    QTest::newRow("a line at the top and one at the bottom") << "a" << "top\na" << "a\nbottom" << "top\na\nbottom";
    QTest::newRow("neighbouring lines") << "a\nb" << "A\nb" << "a\nB" << "A\nB";
    QTest::newRow("different words of one line") << "Meet Ann at 9" << "Meet Ann at 10" << "Meet Ann and Bob at 9"
                                                << "Meet Ann and Bob at 10";
    QTest::newRow("shortened here, changed there") << "Dentist at 9" << "9" << "Dentist at 9:30" << "9:30";
    QTest::newRow("the same word") << "Dentist at 9" << "Dentist at 10" << "Dentist at 11"
                                   << "Dentist at 10\n" + line + "\nDentist at 11";
    QTest::newRow("additions at one place") << "lunch" << "lunch with Ann" << "lunch at noon"
                                            << "lunch with Ann\n" + line + "\nlunch at noon";
    QTest::newRow("no word glued to a replacement") << "a\nw27 " << "a\nw27 w47 " << "a\nw40"
                                                    << "a\nw27 w47 \n" + line + "\nw40";
    QTest::newRow("removed here, changed there") << "one\ntwo\nthree" << "one\nthree" << "one\nTWO\nthree"
                                                 << "one\n" + line + "\nTWO\nthree";
    QTest::newRow("only one side changed") << "x" << "x" << "y" << "y";
    QTest::newRow("the same change on both") << "x" << "x y" << "x y" << "x y";
    QTest::newRow("restored: what one holds more") << "-" << "Monday: dentist" << "Monday: dentist, moved to 10:00"
                                                   << "Monday: dentist, moved to 10:00";
    QTest::newRow("restored: lines of each") << "-" << "a\nb\nc" << "a\nc\nd" << "a\nb\nc\nd";
    QTest::newRow("restored: nothing shared") << "-" << "alpha" << "beta" << "alpha\n" + line + "\nbeta";
    QTest::newRow("blanks and line ends kept") << " a\n" << " a\nb\n" << "  a\n" << "  a\nb\n";
}

void TextMergeTest::merge()
{
    QFETCH(QString, base);
    QFETCH(QString, local);
    QFETCH(QString, other);
    QFETCH(QString, merged);

    const TextMerge::Result result = base == u"-" ? TextMerge::mergeWithoutBase(local, other)
                                                   : TextMerge::merge(base, local, other);

    QCOMPARE(result.text, merged);
    QCOMPARE(result.conflict, merged.contains(TextMerge::ConflictLine));
}

QTEST_GUILESS_MAIN(TextMergeTest)
#include "tst_textmerge.moc"
