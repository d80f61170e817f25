// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Dispatch.h"

#include <QCoreApplication>

// The skin engine. A skin file is a Qt style sheet. Dispatch ids:
//   1  property  options, a bit set (32-bit whole number)
//   2  method    load the skin file (path, name of a section; the name is unused)
//   3  method    apply the loaded skin to the window with this native handle
//   5  property  flag: skin dialogs too
//   10 property  flag: skin the whole application's frames
class SkinFramework : public Dispatchable
{
    Q_DECLARE_TR_FUNCTIONS(SkinFramework)

public:
    // The members callers reach by dispatch id, as described above.
    enum DispatchId { Options = 1, LoadSkin = 2, ApplyWindow = 3, SkinDialogs = 5, SkinFrames = 10 };

    QVariant invoke(int dispatchId, const QVariantList &arguments) override;
    QVariant getProperty(int dispatchId) override;
    void setProperty(int dispatchId, const QVariant &value) override;

private:
    void loadSkin(const QString &path);
    void applyWindow(qint32 nativeHandle);

    QString m_styleSheet;
    bool m_loaded = false;
    qint32 m_options = 0;
    bool m_skinDialogs = false;
    bool m_skinFrames = false;
};
