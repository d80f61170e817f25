// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Dispatch.h"

#include "platform/Failure.h"

#include <QCoreApplication>

void Dispatchable::failUnknownId(const QString &component, int dispatchId)
{
    throw Failure(QCoreApplication::translate("Dispatch", "%1 has no member with dispatch id %2.").arg(component).arg(dispatchId));
}

QVariant Dispatchable::argument(const QString &component, int dispatchId,
                                const QVariantList &arguments, int index)
{
    if (index >= arguments.size())
        throw Failure(QCoreApplication::translate("Dispatch", "%1: dispatch id %2 needs argument %3, which is missing.")
                          .arg(component).arg(dispatchId).arg(index + 1));
    return arguments.at(index);
}

qint32 toInt32(const QVariant &value)
{
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (!ok || number < INT32_MIN || number > INT32_MAX)
        throw Failure(QCoreApplication::translate("Dispatch", "The value \"%1\" is not a 32-bit whole number.").arg(value.toString()));
    return static_cast<qint32>(number);
}

QString describeFailure(std::exception_ptr failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const Failure &known) {
        return known.description();
    } catch (const std::exception &other) {
        return QString::fromLocal8Bit(other.what());
    } catch (...) {
        return QCoreApplication::translate("Dispatch", "An unknown failure occurred.");
    }
}
