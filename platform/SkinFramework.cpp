// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SkinFramework.h"

#include "platform/Failure.h"

#include <QFile>
#include <QWidget>

namespace {
const QString Component = QStringLiteral("SkinFramework1");
} // namespace

QVariant SkinFramework::invoke(int dispatchId, const QVariantList &arguments)
{
    switch (dispatchId) {
    case LoadSkin:
        loadSkin(argument(Component, dispatchId, arguments, 0).toString());
        return {};
    case ApplyWindow:
        applyWindow(toInt32(argument(Component, dispatchId, arguments, 0)));
        return {};
    default:
        failUnknownId(Component, dispatchId);
    }
}

QVariant SkinFramework::getProperty(int dispatchId)
{
    switch (dispatchId) {
    case Options: return m_options;
    case SkinDialogs: return m_skinDialogs;
    case SkinFrames: return m_skinFrames;
    default: failUnknownId(Component, dispatchId);
    }
}

void SkinFramework::setProperty(int dispatchId, const QVariant &value)
{
    switch (dispatchId) {
    case Options: m_options = toInt32(value); return;
    case SkinDialogs: m_skinDialogs = value.toBool(); return;
    case SkinFrames: m_skinFrames = value.toBool(); return;
    default: failUnknownId(Component, dispatchId);
    }
}

void SkinFramework::loadSkin(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(tr("Cannot load the skin file %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Failure(tr("Cannot read the skin file %1: %2").arg(path, file.errorString()));
    m_styleSheet = QString::fromUtf8(bytes);
    m_loaded = true;
}

void SkinFramework::applyWindow(qint32 nativeHandle)
{
    if (!m_loaded)
        throw Failure(tr("No skin is loaded, so none can be applied."));
    QWidget *window = QWidget::find(WId(quint32(nativeHandle)));
    if (!window)
        throw Failure(tr("There is no window with the handle %1 to skin.").arg(quint32(nativeHandle)));
    window->setStyleSheet(m_styleSheet);
}
