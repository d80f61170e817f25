// SPDX-License-Identifier: GPL-3.0-or-later
// The store keeps any key and value exactly: what is saved is what comes
// back, also after the store is opened again. The first byte of the input
// gives the length of the key in bytes; the rest is the value. Both are read
// as UTF-8, as text typed into the window always is.
#include "FuzzInput.h"

#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

// On a RAM disk where there is one: every save is synced, and the fuzzer saves often.
QTemporaryDir &folder()
{
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/tavorin-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/tavorin-fuzz-XXXXXX"));
    return folder;
}

QString storePath()
{
    return folder().filePath(QStringLiteral("Quillmere/settings.sqlite3"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static SettingsStore store(storePath());
    static int runs = 0;
    if (size == 0)
        return 0;
    const size_t keyBytes = qMin<size_t>(data[0], size - 1);
    const QString key = textOf(data + 1, keyBytes);
    const QString value = textOf(data + 1 + keyBytes, size - 1 - keyBytes);
    const QString input = key + QStringLiteral(" => ") + value;

    store.save(Settings::Application, Settings::Section, key, value);
    const std::optional<QString> read = store.read(Settings::Application, Settings::Section, key);
    FUZZ_CHECK(read.has_value(), "a saved key is missing");
    FUZZ_CHECK(*read == value && read->toUtf8() == value.toUtf8(), "the value changed in the store");
    FUZZ_CHECK(!store.read(Settings::Application, QStringLiteral("Other section"), key), "sections mix");

    // Now and then from a second store on the same file, as the next start would read it.
    if (++runs % 256 == 0) {
        SettingsStore again(storePath());
        FUZZ_CHECK(again.read(Settings::Application, Settings::Section, key) == value, "the value changed on reopening");
    }
    return 0;
}
