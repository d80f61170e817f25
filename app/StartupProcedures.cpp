// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartupProcedures.h"

#include "platform/ApplicationInfo.h"
#include "platform/ControlProperties.h"
#include "platform/Dispatch.h"
#include "platform/OleColor.h"
#include "platform/SkinFramework.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace {

constexpr int TitleLengthLimit = 40;
const QString BackColor = QStringLiteral("BackColor");

bool takesSkinColor(const QWidget *control)
{
    using Kind = ControlProperties::Kind;
    const Kind kind = ControlProperties::kindOf(control);
    return kind == Kind::OptionButton || kind == Kind::CheckBox || kind == Kind::Frame || kind == Kind::Label;
}

} // namespace

void SetAppTitle()
{
    QString title = ApplicationInfo::ProductName;
    do {
        title = title.left(qMax(0, title.lastIndexOf(u' ')));
    } while (title.size() > TitleLengthLimit);
    ApplicationInfo::setTitle(title);
}

void ApplySkin(QWidget &form, Dispatchable &skinFramework)
{
    const QString skinPath = QDir::toNativeSeparators(ApplicationInfo::folder() + QStringLiteral("/x/o.cjs"));
    const QFileInfo skinFile(skinPath);
    if (!skinFile.isFile() || skinFile.isHidden())
        return;

    ControlProperties::setByName(&form, BackColor, OleColor::ButtonFace);
    for (QWidget *control : form.findChildren<QWidget *>()) {
        if (takesSkinColor(control))
            ControlProperties::setByName(control, BackColor, OleColor::ButtonFace);
    }

    skinFramework.invoke(SkinFramework::LoadSkin, {skinPath, QString()});
    const qint32 options = toInt32(skinFramework.getProperty(SkinFramework::Options));
    skinFramework.setProperty(SkinFramework::Options, options | 1);
    skinFramework.setProperty(SkinFramework::SkinDialogs, true);
    skinFramework.setProperty(SkinFramework::SkinFrames, true);
    skinFramework.invoke(SkinFramework::ApplyWindow, {qint32(quint32(form.winId()))});
}
