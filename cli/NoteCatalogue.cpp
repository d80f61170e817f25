// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/NoteCatalogue.h"

#include "platform/Numbers.h"
#include "settings/Settings.h"
#include "settings/StoreFile.h"

#include <QHash>
#include <QLocale>
#include <QMap>
#include <QSet>

#include <algorithm>

namespace NoteCatalogue {

namespace {

const QString &TextInfix = Settings::NoteTextInfix;

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

// The names the planner may have shown, in any language Qt knows, in the
// stand-alone form it lists and the form used within dates. The user's
// language decides first, then English; a name that other languages give to
// different months (Croatian "listopad" is October, Czech November) stands for
// the month most of them mean.
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
        for (auto name = languagesOf.cbegin(); name != languagesOf.cend(); ++name) {
            int mostMeant = 0;
            qsizetype votes = 0;
            for (auto month = name->cbegin(); month != name->cend(); ++month) {
                if (month->size() > votes) {
                    mostMeant = month.key();
                    votes = month->size();
                }
            }
            result.add(name.key(), mostMeant);
        }
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
        for (qsizetype end = prefix.indexOf(u'_'); end >= 0; end = prefix.indexOf(u'_', end + 1)) {
            const QString name = prefix.left(end).toString();
            const auto &table = folded ? names.folded : names.exact;
            const auto found = table.constFind(folded ? name.toCaseFolded() : name);
            if (found != table.cend())
                return LeadingMonth{end, found.value()};
        }
    }
    return std::nullopt;
}

// The cell index of a key's last part: decimal digits without leading zeros.
std::optional<int> cellIndex(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 4 || (digits.size() > 1 && digits.front() == u'0'))
        return std::nullopt;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return digits.toInt();
}

// The key without its cell number, which is compared as a number.
QStringView keyStem(const Note &note)
{
    return QStringView(note.key).chopped(QString::number(note.day - 1).size());
}

bool before(const Note &a, const Note &b)
{
    if (a.date.isValid() != b.date.isValid())
        return a.date.isValid();
    if (a.date != b.date)
        return a.date < b.date;
    if (const int order = keyStem(a).compare(keyStem(b)); order != 0)
        return order < 0;
    return a.day < b.day;
}

} // namespace

std::optional<Note> fromKey(const QString &key)
{
    const qsizetype infix = key.lastIndexOf(TextInfix);
    if (infix < 0)
        return std::nullopt;
    const auto cell = cellIndex(QStringView(key).mid(infix + TextInfix.size()));
    if (!cell)
        return std::nullopt;

    Note note;
    note.key = key;
    note.day = *cell + 1;
    const QStringView prefix = QStringView(key).left(infix); // month + '_' + year
    const auto month = leadingMonth(prefix);
    // Without a known month name, the month is taken to end at the first '_':
    // month names have none, while a year text may.
    const qsizetype split = month ? month->length : prefix.indexOf(u'_');
    note.monthText = (split < 0 ? prefix : prefix.left(split)).toString();
    note.yearText = split < 0 ? QString() : prefix.mid(split + 1).toString();
    const auto year = Numbers::yearOf(note.yearText);
    if (month && year)
        note.date = QDate(*year, month->month, note.day); // invalid for day 30 of February
    return note;
}

QList<Note> read(StoreFile &store)
{
    QList<Note> notes;
    QHash<QString, QString> otherValues; // the colours among them
    store.readValues([&](const QString &key, const QString &value) {
        auto note = fromKey(key);
        if (!note) {
            otherValues.insert(key, value);
        } else if (!value.isEmpty()) {
            note->text = QString(value).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            notes.append(std::move(*note));
        }
    });
    for (Note &note : notes) {
        note.color = Numbers::parseInt32(otherValues.value(Settings::noteColorKeyOf(note.key)));
    }
    std::sort(notes.begin(), notes.end(), before);
    return notes;
}

} // namespace NoteCatalogue
