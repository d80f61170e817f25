// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/NoteKey.h"

#include "platform/DateNames.h"
#include "platform/Numbers.h"
#include "settings/Settings.h"

#include <QHash>
#include <QLocale>
#include <QMap>
#include <QSet>

namespace NoteKey {

namespace {

// The month each month name stands for, as written and case-folded. Month
// names hold no '_', so the first '_' after one ends it in a key.
struct MonthNames
{
    QHash<QString, int> exact;
    QHash<QString, int> folded;

    void add(const QString &name, int month)
    {
        if (!name.isEmpty() && !name.contains(u'_')) {
            exact.insert(name, exact.value(name, month));
            folded.insert(name.toCaseFolded(), folded.value(name.toCaseFolded(), month));
        }
    }
};

// The month a name means most often among the languages Qt knows (Croatian
// "listopad" is October, Czech November).
int mostMeantMonth(const QMap<int, QSet<QLocale::Language>> &languagesByMonth)
{
    int month = 0;
    qsizetype votes = 0;
    for (auto it = languagesByMonth.cbegin(); it != languagesByMonth.cend(); ++it) {
        if (it->size() > votes) {
            month = it.key();
            votes = it->size();
        }
    }
    return month;
}

// The names the window may have shown, in any language Qt knows, in the
// stand-alone form it lists and the form used within dates. The user's
// language decides first, then English, then the month most languages mean.
const MonthNames &monthNames()
{
    static const MonthNames names = [] {
        MonthNames result;
        for (const QLocale &locale : {QLocale(), QLocale(QLocale::English)}) {
            for (int month = 1; month <= 12; ++month) {
                result.add(locale.standaloneMonthName(month, QLocale::LongFormat), month);
                result.add(locale.monthName(month, QLocale::LongFormat), month);
            }
        }
        QMap<QString, QMap<int, QSet<QLocale::Language>>> languagesOf; // name -> month -> languages
        for (const QLocale &locale :
             QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
            for (int month = 1; month <= 12; ++month) {
                languagesOf[locale.standaloneMonthName(month, QLocale::LongFormat)][month].insert(locale.language());
                languagesOf[locale.monthName(month, QLocale::LongFormat)][month].insert(locale.language());
            }
        }
        for (auto name = languagesOf.cbegin(); name != languagesOf.cend(); ++name)
            result.add(name.key(), mostMeantMonth(*name));
        return result;
    }();
    return names;
}

struct LeadingMonth
{
    qsizetype length;
    int month;
};

// The month name that prefix ("month_year") begins with.
std::optional<LeadingMonth> leadingMonth(QStringView prefix)
{
    const MonthNames &names = monthNames();
    for (bool folded : {false, true}) {
        const auto &table = folded ? names.folded : names.exact;
        for (qsizetype end = prefix.indexOf(u'_'); end >= 0; end = prefix.indexOf(u'_', end + 1)) {
            const QString name = prefix.left(end).toString();
            const auto found = table.constFind(folded ? name.toCaseFolded() : name);
            if (found != table.cend())
                return LeadingMonth{end, found.value()};
        }
    }
    return std::nullopt;
}

// The cell index of a key's last part: decimal digits without leading zeros,
// one of the window's 35 cells.
std::optional<int> cellIndex(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 2 || (digits.size() > 1 && digits.front() == u'0'))
        return std::nullopt;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    const int index = digits.toInt();
    return index < 35 ? std::optional(index) : std::nullopt;
}

QString build(const QString &monthText, const QString &yearText, const QString &infix, int cellIndex)
{
    return monthText + u'_' + yearText + infix + QString::number(cellIndex);
}

} // namespace

QString text(const QString &monthText, const QString &yearText, int cellIndex)
{
    return build(monthText, yearText, Settings::NoteTextInfix, cellIndex);
}

QString color(const QString &monthText, const QString &yearText, int cellIndex)
{
    return build(monthText, yearText, Settings::NoteColorInfix, cellIndex);
}

QString colorOf(const QString &textKey)
{
    QString key = textKey;
    return key.replace(key.lastIndexOf(Settings::NoteTextInfix), Settings::NoteTextInfix.size(), Settings::NoteColorInfix);
}

QString forDay(const QDate &date)
{
    return text(DateNames::fullMonthName(date.month()), QString::number(date.year()), date.day() - 1);
}

QString forDay(const QDate &date, const QLocale &language)
{
    return text(language.standaloneMonthName(date.month(), QLocale::LongFormat), QString::number(date.year()), date.day() - 1);
}

std::optional<Parts> parse(const QString &key)
{
    const QString &infix = Settings::NoteTextInfix;
    const qsizetype at = key.lastIndexOf(infix);
    if (at < 0)
        return std::nullopt;
    const auto cell = cellIndex(QStringView(key).mid(at + infix.size()));
    if (!cell)
        return std::nullopt;

    Parts parts;
    parts.day = *cell + 1;
    const QStringView prefix = QStringView(key).left(at); // month + '_' + year
    const auto month = leadingMonth(prefix);
    // Without a known month name, the month is taken to end at the first '_':
    // month names have none, while a year text may.
    const qsizetype split = month ? month->length : prefix.indexOf(u'_');
    if (split < 0)
        return std::nullopt; // the window always puts '_' between month and year
    parts.monthText = prefix.left(split).toString();
    parts.yearText = prefix.mid(split + 1).toString();
    const auto year = Numbers::yearOf(parts.yearText);
    if (month && year)
        parts.date = QDate(*year, month->month, parts.day); // invalid for day 30 of February
    return parts;
}

bool isText(const QString &key)
{
    return parse(key).has_value();
}

bool isColor(const QString &key)
{
    const QString &infix = Settings::NoteColorInfix;
    const qsizetype at = key.lastIndexOf(infix);
    if (at < 0)
        return false;
    QString textKey = key;
    textKey.replace(at, infix.size(), Settings::NoteTextInfix);
    return isText(textKey);
}

} // namespace NoteKey
