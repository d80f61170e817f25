// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Numbers.h"
#include "platform/OleColor.h"
#include "platform/Failure.h"

#include <QTest>

// How typed year texts and stored colours read: the rules that decide which
// cells a panel shows and whether a colour is used.
class NumbersTest : public QObject
{
    Q_OBJECT

private slots:
    void isNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");
        QTest::newRow("plain year") << "2021" << true;
        QTest::newRow("negative") << "-5" << true;
        QTest::newRow("plus sign") << "+2021" << true;
        QTest::newRow("fraction") << "2021.5" << true;
        QTest::newRow("leading point") << ".5" << true;
        QTest::newRow("zero") << "0" << true;
        QTest::newRow("hundred digits") << QString(100, u'9') << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("sign alone") << "-" << false;
        QTest::newRow("point alone") << "." << false;
        QTest::newRow("letters") << "abc" << false;
        QTest::newRow("digits then letter") << "2021a" << false;
        QTest::newRow("leading blank") << " 2021" << false;
        QTest::newRow("trailing blank") << "2021 " << false;
        QTest::newRow("inner blank") << "20 21" << false;
        QTest::newRow("exponent") << "1e3" << false;
        QTest::newRow("thousands separator") << "2,021" << false;
        QTest::newRow("two points") << "1.2.3" << false;
        QTest::newRow("two signs") << "--5" << false;
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("٢٠٢١") << false;
        QTest::newRow("fullwidth digits") << QString::fromUtf8("２０２１") << false;
    }
    void isNumber()
    {
        QFETCH(QString, text);
        QFETCH(bool, expected);
        QCOMPARE(Numbers::isNumber(text), expected);
    }

    void yearOf_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("year"); // 0: names no year
        QTest::newRow("plain") << "2021" << 2021;
        QTest::newRow("lowest") << "100" << 100;
        QTest::newRow("highest") << "9999" << 9999;
        QTest::newRow("leading zero") << "02021" << 2021;
        QTest::newRow("two digits") << "21" << 0;
        QTest::newRow("one digit") << "5" << 0;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("too large") << "10000" << 0;
        QTest::newRow("huge") << "99999" << 0;
        QTest::newRow("hundred digits") << QString(100, u'9') << 0;
        QTest::newRow("negative") << "-5" << 0;
        QTest::newRow("plus sign") << "+2021" << 0;
        QTest::newRow("fraction") << "2021.5" << 0;
        QTest::newRow("leading blank") << " 2021" << 0;
        QTest::newRow("trailing blank") << "2021 " << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("letters") << "year" << 0;
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("٢٠٢١") << 0;
    }
    void yearOf()
    {
        QFETCH(QString, text);
        QFETCH(int, year);
        QCOMPARE(Numbers::yearOf(text).value_or(0), year);
    }

    void storedColor_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint32>("value");
        QTest::newRow("black") << "0" << true << 0;
        QTest::newRow("red") << "255" << true << 255;
        QTest::newRow("white") << "16777215" << true << 16777215;
        QTest::newRow("button face") << "-2147483633" << true << qint32(0x8000000F);
        QTest::newRow("lowest") << "-2147483648" << true << INT32_MIN;
        QTest::newRow("highest") << "2147483647" << true << INT32_MAX;
        QTest::newRow("above range") << "2147483648" << false << 0;
        QTest::newRow("below range") << "-2147483649" << false << 0;
        QTest::newRow("letters") << "abc" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("leading blank") << " 255" << false << 0;
        QTest::newRow("exponent") << "1e3" << false << 0;
        QTest::newRow("plus sign") << "+255" << false << 0;
        QTest::newRow("fraction") << "25.5" << false << 0;
        QTest::newRow("huge run of digits") << QString(5000, u'7') << false << 0;
    }
    void storedColor()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(qint32, value);
        if (!valid) {
            QVERIFY_THROWS_EXCEPTION(Failure, OleColor::fromStoredText(text));
            return;
        }
        QCOMPARE(OleColor::fromStoredText(text), value);
        QCOMPARE(OleColor::toStoredText(value), text);
    }

    void colorValueRoundTripsThroughQColor_data()
    {
        QTest::addColumn<qint32>("value");
        QTest::addColumn<QColor>("color");
        QTest::newRow("red") << 255 << QColor(255, 0, 0);
        QTest::newRow("green") << 65280 << QColor(0, 255, 0);
        QTest::newRow("blue") << 16711680 << QColor(0, 0, 255);
        QTest::newRow("mixed") << 0x00336699 << QColor(0x99, 0x66, 0x33);
    }
    void colorValueRoundTripsThroughQColor()
    {
        QFETCH(qint32, value);
        QFETCH(QColor, color);
        QCOMPARE(OleColor::toQColor(value), color);
        QCOMPARE(OleColor::fromQColor(color), value);
    }

    void valuesThatNameNoColourFail_data()
    {
        QTest::addColumn<qint32>("value");
        QTest::newRow("just above white") << 0x01000000;
        QTest::newRow("highest") << INT32_MAX;
        QTest::newRow("unknown system colour") << qint32(0x80000042);
    }
    void valuesThatNameNoColourFail()
    {
        QFETCH(qint32, value);
        QVERIFY_THROWS_EXCEPTION(Failure, OleColor::toQColor(value));
    }
};

QTEST_GUILESS_MAIN(NumbersTest)
#include "tst_numbers.moc"
