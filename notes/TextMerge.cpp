// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/TextMerge.h"

#include <QHash>
#include <QStringList>

#include <dtl/dtl.hpp>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace TextMerge {

namespace {

// Texts are compared as sequences of numbers, one for each distinct piece
// (a line, or a word, a run of blanks or a sign), so that dtl compares numbers.
using Sequence = std::vector<int>;

class Pieces
{
public:
    Sequence sequenceOf(const QStringList &pieces)
    {
        Sequence sequence;
        sequence.reserve(size_t(pieces.size()));
        for (const QString &piece : pieces) {
            const auto found = m_ids.constFind(piece);
            if (found != m_ids.cend()) {
                sequence.push_back(found.value());
            } else {
                sequence.push_back(int(m_texts.size()));
                m_ids.insert(piece, int(m_texts.size()));
                m_texts.append(piece);
            }
        }
        return sequence;
    }

    QString textOf(const Sequence &sequence, size_t from, size_t to) const
    {
        QString text;
        for (size_t i = from; i < to; ++i)
            text += m_texts.at(sequence[i]);
        return text;
    }

private:
    QHash<QString, int> m_ids;
    QStringList m_texts;
};

// Lines with their line break; the text must end with one.
QStringList linesOf(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype end = text.indexOf(u'\n'); end >= 0; end = text.indexOf(u'\n', start)) {
        lines << text.mid(start, end - start + 1);
        start = end + 1;
    }
    return lines;
}

enum class Kind { Word, Blank, Sign };

Kind kindOf(QChar c)
{
    if (c.isLetterOrNumber() || c.isMark())
        return Kind::Word;
    if (c == u' ' || c == u'\t')
        return Kind::Blank;
    return Kind::Sign;
}

// Words (letters, digits and their marks), runs of blanks, and every other
// character on its own; a character outside the basic plane stays whole.
QStringList wordsOf(const QString &text)
{
    QStringList words;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype start = i;
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const Kind kind = pair ? Kind::Sign : kindOf(text.at(i));
        i += pair ? 2 : 1;
        if (kind != Kind::Sign) {
            while (i < text.size() && !text.at(i).isSurrogate() && kindOf(text.at(i)) == kind)
                ++i;
        }
        words << text.mid(start, i - start);
    }
    return words;
}

// One side's change: base[baseFrom, baseTo) became side[sideFrom, sideTo).
struct Change
{
    size_t baseFrom = 0;
    size_t baseTo = 0;
    size_t sideFrom = 0;
    size_t sideTo = 0;
    int side = 0; // 0 this machine, 1 the other

    bool isInsertion() const { return baseFrom == baseTo; }
};

std::vector<Change> changesOf(const Sequence &base, const Sequence &side, int sideIndex)
{
    dtl::Diff<int, Sequence> diff(base, side);
    diff.compose();
    std::vector<Change> changes;
    std::optional<Change> open;
    size_t b = 0, s = 0;
    for (const auto &[element, info] : diff.getSes().getSequence()) {
        if (info.type == dtl::SES_COMMON) {
            if (open)
                changes.push_back(*open);
            open.reset();
            ++b;
            ++s;
            continue;
        }
        if (!open)
            open = Change{b, b, s, s, sideIndex};
        if (info.type == dtl::SES_DELETE)
            open->baseTo = ++b;
        else
            open->sideTo = ++s;
    }
    if (open)
        changes.push_back(*open);
    return changes;
}

// Whether two changes of different sides collide: overlapping ranges, an
// addition strictly inside the other's range, or two additions at one place.
// Lines that only meet do not collide. Words that only meet do: an addition
// right after a word the other side replaced would end up glued to the
// replacement when the other side also took the blank between them.
bool overlap(const Change &a, const Change &b, bool meetingCollides)
{
    if (meetingCollides)
        return a.baseFrom <= b.baseTo && b.baseFrom <= a.baseTo;
    if (a.isInsertion() && b.isInsertion())
        return a.baseFrom == b.baseFrom;
    return a.baseFrom < b.baseTo && b.baseFrom < a.baseTo;
}

// The changes that must be decided together: each overlaps another of the group.
struct Group
{
    std::vector<Change> changes;
    size_t baseFrom = 0;
    size_t baseTo = 0;
    bool meetingCollides = false;

    bool overlaps(const Change &change) const
    {
        return std::any_of(changes.begin(), changes.end(), [&](const Change &member) {
            return member.side != change.side && overlap(member, change, meetingCollides);
        });
    }
    void add(const Change &change)
    {
        baseFrom = changes.empty() ? change.baseFrom : std::min(baseFrom, change.baseFrom);
        baseTo = changes.empty() ? change.baseTo : std::max(baseTo, change.baseTo);
        changes.push_back(change);
    }
};

// Earlier base position first; at one position an addition before a change.
bool startsBefore(const Change &a, const Change &b)
{
    if (a.baseFrom != b.baseFrom)
        return a.baseFrom < b.baseFrom;
    return a.isInsertion() && !b.isInsertion();
}

std::vector<Group> groupsOf(const std::vector<Change> &local, const std::vector<Change> &other, bool meetingCollides)
{
    std::vector<Group> groups;
    size_t l = 0, o = 0;
    while (l < local.size() || o < other.size()) {
        const bool takeLocal = o >= other.size() || (l < local.size() && !startsBefore(other[o], local[l]));
        Group group;
        group.meetingCollides = meetingCollides;
        group.add(takeLocal ? local[l++] : other[o++]);
        for (bool grew = true; grew;) {
            grew = false;
            if (l < local.size() && group.overlaps(local[l])) {
                group.add(local[l++]);
                grew = true;
            }
            if (o < other.size() && group.overlaps(other[o])) {
                group.add(other[o++]);
                grew = true;
            }
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

struct Texts
{
    Sequence base;
    Sequence sides[2];
};

// What one side made of base[group.baseFrom, group.baseTo).
QString versionOf(const Group &group, int side, const Texts &texts, const Pieces &pieces)
{
    QString version;
    size_t at = group.baseFrom;
    for (const Change &change : group.changes) {
        if (change.side != side)
            continue;
        version += pieces.textOf(texts.base, at, change.baseFrom);
        version += pieces.textOf(texts.sides[side], change.sideFrom, change.sideTo);
        at = change.baseTo;
    }
    return version + pieces.textOf(texts.base, at, group.baseTo);
}

using Resolver = std::function<Result(const QString &base, const QString &local, const QString &other)>;

// Merges the pieces of the three texts; groups changed on both sides differently go to resolve.
Result mergePieces(const QStringList &basePieces, const QStringList &localPieces, const QStringList &otherPieces,
                   bool meetingCollides, const Resolver &resolve)
{
    Pieces pieces;
    Texts texts{pieces.sequenceOf(basePieces), {pieces.sequenceOf(localPieces), pieces.sequenceOf(otherPieces)}};
    Result result;
    size_t at = 0;
    for (const Group &group : groupsOf(changesOf(texts.base, texts.sides[0], 0), changesOf(texts.base, texts.sides[1], 1),
                                       meetingCollides)) {
        result.text += pieces.textOf(texts.base, at, group.baseFrom);
        at = group.baseTo;
        const bool bothSides = std::any_of(group.changes.begin(), group.changes.end(),
                                           [&](const Change &c) { return c.side != group.changes.front().side; });
        const QString local = versionOf(group, 0, texts, pieces);
        if (!bothSides) {
            result.text += group.changes.front().side == 0 ? local : versionOf(group, 1, texts, pieces);
            continue;
        }
        const QString other = versionOf(group, 1, texts, pieces);
        if (local == other) {
            result.text += local;
            continue;
        }
        const Result resolved = resolve(pieces.textOf(texts.base, group.baseFrom, group.baseTo), local, other);
        result.text += resolved.text;
        result.conflict = result.conflict || resolved.conflict;
    }
    result.text += pieces.textOf(texts.base, at, texts.base.size());
    return result;
}

// What two piece lists share, as a list of pieces.
QStringList commonPieces(const QStringList &a, const QStringList &b)
{
    Pieces pieces;
    const Sequence first = pieces.sequenceOf(a);
    const Sequence second = pieces.sequenceOf(b);
    dtl::Diff<int, Sequence> diff(first, second);
    diff.compose();
    QStringList common;
    for (const auto &[element, info] : diff.getSes().getSequence()) {
        if (info.type == dtl::SES_COMMON)
            common << pieces.textOf(Sequence{element}, 0, 1);
    }
    return common;
}

// Lines that both sides changed differently: merged word by word when their
// edits do not touch the same words, else both versions with the conflict line.
Result resolveLines(const QString &base, const QString &local, const QString &other, bool withoutBase)
{
    const QStringList localWords = wordsOf(local);
    const QStringList otherWords = wordsOf(other);
    const QStringList baseWords = withoutBase ? commonPieces(localWords, otherWords) : wordsOf(base);
    bool clashed = false;
    const Result words = mergePieces(baseWords, localWords, otherWords, true, [&](const QString &, const QString &, const QString &) {
        clashed = true;
        return Result{};
    });
    if (!clashed)
        return words;
    return Result{local + ConflictLine + u'\n' + other, true};
}

// Every line of the merge ends with a line break: one is added to each text
// and taken off the result, so that a last line without one is a line too.
Result mergeLines(const QString &base, const QString &local, const QString &other, bool withoutBase)
{
    const QStringList localLines = linesOf(local + u'\n');
    const QStringList otherLines = linesOf(other + u'\n');
    const QStringList baseLines = withoutBase ? commonPieces(localLines, otherLines) : linesOf(base + u'\n');
    Result result = mergePieces(baseLines, localLines, otherLines, false, [withoutBase](const QString &b, const QString &l, const QString &o) {
        return resolveLines(b, l, o, withoutBase);
    });
    result.text.chop(1);
    return result;
}

} // namespace

Result merge(const QString &base, const QString &local, const QString &other)
{
    if (local == other || other == base)
        return {local, false};
    if (local == base)
        return {other, false};
    return mergeLines(base, local, other, false);
}

Result mergeWithoutBase(const QString &local, const QString &other)
{
    if (local == other)
        return {local, false};
    return mergeLines(QString(), local, other, true);
}

} // namespace TextMerge
