// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

// Late-bound access to a component by dispatch id: the way the start-up and the
// colour picker drive the skin engine and the colour dialog. Every id that a
// component does not know fails with a description naming the component and id.
class Dispatchable
{
public:
    virtual ~Dispatchable() = default;

    virtual QVariant invoke(int dispatchId, const QVariantList &arguments) = 0;
    virtual QVariant getProperty(int dispatchId) = 0;
    virtual void setProperty(int dispatchId, const QVariant &value) = 0;

protected:
    [[noreturn]] static void failUnknownId(const QString &component, int dispatchId);
    // The argument at index, or a failure naming what was missing.
    static QVariant argument(const QString &component, int dispatchId,
                             const QVariantList &arguments, int index);
};

// A dispatch value as a signed 32-bit whole number, or a failure.
qint32 toInt32(const QVariant &value);
