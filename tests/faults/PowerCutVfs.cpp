// SPDX-License-Identifier: GPL-3.0-or-later
#include "PowerCutVfs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <sqlite3.h>

#include <algorithm>
#include <climits>
#include <fcntl.h>
#include <map>
#include <new>
#include <string>
#include <unistd.h>
#include <vector>

namespace PowerCutVfs {

namespace {

// One write or truncation that may not have reached the disk.
struct Change
{
    sqlite3_int64 offset = 0;
    QByteArray before; // the bytes it replaced, as far as the file reached
    QByteArray after;  // the bytes written; empty for a truncation to offset
    bool truncation = false;
};

struct UnsyncedFile
{
    sqlite3_int64 syncedSize = 0;
    std::vector<Change> changes;
};

struct State
{
    sqlite3_vfs *base = nullptr;
    sqlite3_vfs vfs{};
    std::map<std::string, UnsyncedFile> files; // by SQLite's full path name
    std::function<void(const QString &)> observer;
    const std::string *inProgressPath = nullptr; // the write being observed, not done yet
    Change inProgress;
};

State &state()
{
    static State instance;
    return instance;
}

struct File
{
    sqlite3_file base;
    sqlite3_file *real; // the default VFS's file, allocated right behind this one
    std::string path;   // empty for SQLite's nameless temporary files, which are not kept
};

File *fileOf(sqlite3_file *file)
{
    return reinterpret_cast<File *>(file);
}

sqlite3_file *realOf(sqlite3_file *file)
{
    return fileOf(file)->real;
}

QByteArray existingBytes(sqlite3_file *real, sqlite3_int64 offset, sqlite3_int64 end)
{
    sqlite3_int64 size = 0;
    real->pMethods->xFileSize(real, &size);
    end = std::min(end, size);
    if (end <= offset)
        return {};
    QByteArray bytes(int(end - offset), Qt::Uninitialized);
    real->pMethods->xRead(real, bytes.data(), int(bytes.size()), offset);
    return bytes;
}

UnsyncedFile &unsyncedOf(const File *file)
{
    const auto [entry, added] = state().files.try_emplace(file->path);
    if (added)
        file->real->pMethods->xFileSize(file->real, &entry->second.syncedSize);
    return entry->second;
}

int fileWrite(sqlite3_file *handle, const void *data, int amount, sqlite3_int64 offset)
{
    File *file = fileOf(handle);
    if (file->path.empty())
        return file->real->pMethods->xWrite(file->real, data, amount, offset);
    State &s = state();
    Change change{offset, existingBytes(file->real, offset, offset + amount),
                  QByteArray(static_cast<const char *>(data), amount)};
    UnsyncedFile &unsynced = unsyncedOf(file);
    if (s.observer) {
        s.inProgressPath = &file->path;
        s.inProgress = change;
        s.observer(QFile::decodeName(file->path.c_str()));
        s.inProgressPath = nullptr;
    }
    const int code = file->real->pMethods->xWrite(file->real, data, amount, offset);
    if (code == SQLITE_OK)
        unsynced.changes.push_back(std::move(change));
    return code;
}

int fileTruncate(sqlite3_file *handle, sqlite3_int64 size)
{
    File *file = fileOf(handle);
    if (file->path.empty())
        return file->real->pMethods->xTruncate(file->real, size);
    Change change{size, existingBytes(file->real, size, LLONG_MAX), {}, true};
    UnsyncedFile &unsynced = unsyncedOf(file);
    const int code = file->real->pMethods->xTruncate(file->real, size);
    if (code == SQLITE_OK)
        unsynced.changes.push_back(std::move(change));
    return code;
}

// A sync makes the file's writes so far durable. The real disk is not synced:
// what survives a cut is decided here, and the tests run fast without it.
int fileSync(sqlite3_file *handle, int)
{
    state().files.erase(fileOf(handle)->path);
    return SQLITE_OK;
}

int fileClose(sqlite3_file *handle)
{
    File *file = fileOf(handle);
    const int code = file->real->pMethods->xClose(file->real);
    file->path.~basic_string();
    return code;
}

// Version 2: no memory-mapped reads, so that every read sees the writes above.
const sqlite3_io_methods Methods = {
    2,
    fileClose,
    [](sqlite3_file *f, void *data, int amount, sqlite3_int64 offset) {
        return realOf(f)->pMethods->xRead(realOf(f), data, amount, offset);
    },
    fileWrite,
    fileTruncate,
    fileSync,
    [](sqlite3_file *f, sqlite3_int64 *size) { return realOf(f)->pMethods->xFileSize(realOf(f), size); },
    [](sqlite3_file *f, int lock) { return realOf(f)->pMethods->xLock(realOf(f), lock); },
    [](sqlite3_file *f, int lock) { return realOf(f)->pMethods->xUnlock(realOf(f), lock); },
    [](sqlite3_file *f, int *out) { return realOf(f)->pMethods->xCheckReservedLock(realOf(f), out); },
    [](sqlite3_file *f, int op, void *arg) { return realOf(f)->pMethods->xFileControl(realOf(f), op, arg); },
    [](sqlite3_file *f) { return realOf(f)->pMethods->xSectorSize(realOf(f)); },
    [](sqlite3_file *f) { return realOf(f)->pMethods->xDeviceCharacteristics(realOf(f)); },
    [](sqlite3_file *f, int region, int size, int extend, void volatile **memory) {
        return realOf(f)->pMethods->xShmMap(realOf(f), region, size, extend, memory);
    },
    [](sqlite3_file *f, int offset, int n, int flags) {
        return realOf(f)->pMethods->xShmLock(realOf(f), offset, n, flags);
    },
    [](sqlite3_file *f) { realOf(f)->pMethods->xShmBarrier(realOf(f)); },
    [](sqlite3_file *f, int deleteFlag) { return realOf(f)->pMethods->xShmUnmap(realOf(f), deleteFlag); },
    nullptr,
    nullptr,
};

int vfsOpen(sqlite3_vfs *, const char *name, sqlite3_file *handle, int flags, int *outFlags)
{
    File *file = fileOf(handle);
    file->real = reinterpret_cast<sqlite3_file *>(file + 1);
    const int code = state().base->xOpen(state().base, name, file->real, flags, outFlags);
    file->base.pMethods = file->real->pMethods ? &Methods : nullptr;
    if (file->base.pMethods)
        new (&file->path) std::string(name ? name : "");
    return code;
}

int vfsDelete(sqlite3_vfs *, const char *name, int syncFolder)
{
    state().files.erase(name);
    return state().base->xDelete(state().base, name, syncFolder);
}

void apply(int fd, const Change &change, qsizetype length)
{
    if (change.truncation)
        (void)::ftruncate(fd, change.offset);
    else
        (void)::pwrite(fd, change.after.constData(), size_t(length), change.offset);
}

// Takes the copy of one file back to what was synced, then, for a random
// subset, lets some of the later changes reach it after all.
void cutPower(const QString &copy, const std::string &path, const UnsyncedFile &unsynced, Loss loss,
              QRandomGenerator &random)
{
    const int fd = ::open(QFile::encodeName(copy).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return; // removed by the program past SQLite
    for (auto change = unsynced.changes.rbegin(); change != unsynced.changes.rend(); ++change)
        (void)::pwrite(fd, change->before.constData(), size_t(change->before.size()), change->offset);
    (void)::ftruncate(fd, unsynced.syncedSize);
    if (loss == Loss::RandomSubset) {
        std::vector<const Change *> reached;
        for (const Change &change : unsynced.changes) {
            if (random.bounded(2))
                reached.push_back(&change);
        }
        const State &s = state();
        if (s.inProgressPath && *s.inProgressPath == path && random.bounded(2))
            reached.push_back(&s.inProgress);
        std::shuffle(reached.begin(), reached.end(), random);
        for (const Change *change : reached) {
            const bool last = change == reached.back();
            apply(fd, *change, last ? random.bounded(qsizetype(change->after.size()) + 1) : change->after.size());
        }
    }
    ::close(fd);
}

} // namespace

void install()
{
    State &s = state();
    if (s.base)
        return;
    s.base = sqlite3_vfs_find(nullptr);
    s.vfs = *s.base;
    s.vfs.szOsFile = int(sizeof(File)) + s.base->szOsFile;
    s.vfs.pNext = nullptr;
    s.vfs.zName = "powercut";
    s.vfs.xOpen = vfsOpen;
    s.vfs.xDelete = vfsDelete;
    sqlite3_vfs_register(&s.vfs, 1);
}

void setObserver(std::function<void(const QString &)> observer)
{
    state().observer = std::move(observer);
}

void powerCutCopy(const QString &folder, const QString &target, Loss loss, QRandomGenerator &random)
{
    const QDir source(folder);
    QDir().mkpath(target);
    for (const QFileInfo &entry : source.entryInfoList(QDir::Files | QDir::Hidden))
        QFile::copy(entry.filePath(), target + u'/' + entry.fileName());
    for (const auto &[path, unsynced] : state().files) {
        const QFileInfo original(QFile::decodeName(path.c_str()));
        if (original.absolutePath() == source.absolutePath())
            cutPower(target + u'/' + original.fileName(), path, unsynced, loss, random);
    }
}

} // namespace PowerCutVfs
