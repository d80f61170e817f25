// SPDX-License-Identifier: GPL-3.0-or-later
// A file handed to "import" (our JSON export or an iCalendar file) yields
// only notes under note keys, with colours the window can store or none; any
// other content is skipped or refused with a Failure, never a crash.
#include "FuzzInput.h"

#include "notes/Note.h"
#include "notes/NoteImport.h"
#include "platform/Failure.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QString filePath()
{
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/tavorin-fuzz-XXXXXX")
                                                                          : QDir::tempPath() + QStringLiteral("/tavorin-fuzz-XXXXXX"));
    return folder.filePath(QStringLiteral("import"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = textOf(data, size);
    QFile file(filePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(file.fileName()));
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();
    try {
        const NoteImport::Entries entries = NoteImport::readFile(file.fileName());
        for (const Note &note : entries.notes) {
            FUZZ_CHECK(NoteKey::isText(note.key), "only note keys are imported");
            FUZZ_CHECK(note.color.isEmpty() || Note::isStorableColor(note.color), "only storable colours are imported");
        }
    } catch (const Failure &) {
    }
    return 0;
}
