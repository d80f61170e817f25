#include "cli/NoteCatalogue.h"

#include "platform/Numbers.h"
#include "settings/StoreFile.h"

#include <QHash>
#include <QLocale>

#include <algorithm>

namespace NoteCatalogue {

namespace {

const QString TextInfix = QStringLiteral("_txtNote_");
const QString ColorInfix = QStringLiteral("_txtNoteColor_");

struct MonthName
{
    QString name;
    int month;
};

// The names the planner may have shown: the user's language first, English
// for stores typed under another one; the stand-alone form is the one listed.
const QList<MonthName> &monthNames()
{
    static const QList<MonthName> names = [] {
        QList<MonthName> result;
        for (const QLocale &locale : {QLocale(), QLocale(QLocale::English)}) {
            for (int month = 1; month <= 12; ++month) {
                result.append({locale.standaloneMonthName(month, QLocale::LongFormat), month});
                result.append({locale.monthName(month, QLocale::LongFormat), month});
            }
        }
        return result;
    }();
    return names;
}

// The month whose name begins prefix and is followed by '_'.
std::optional<MonthName> leadingMonth(QStringView prefix)
{
    for (Qt::CaseSensitivity sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        for (const MonthName &month : monthNames()) {
            if (prefix.size() > month.name.size() && prefix.at(month.name.size()) == u'_'
                && prefix.startsWith(month.name, sensitivity)) {
                return month;
            }
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

bool before(const Note &a, const Note &b)
{
    if (a.date.isValid() != b.date.isValid())
        return a.date.isValid();
    if (a.date != b.date)
        return a.date < b.date;
    return a.key < b.key;
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
    const qsizetype split = month ? month->name.size() : prefix.indexOf(u'_');
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
        QString colorKey = note.key;
        colorKey.replace(colorKey.lastIndexOf(TextInfix), TextInfix.size(), ColorInfix);
        note.color = Numbers::parseInt32(otherValues.value(colorKey));
    }
    std::sort(notes.begin(), notes.end(), before);
    return notes;
}

} // namespace NoteCatalogue
