#include "settingsstore.h"

#include <QSettings>

#include <cmath>

QString GetSetting(const QString &appName, const QString &section, const QString &key,
                   const QString &defaultText)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, appName, appName);
    store.beginGroup(section);
    const QVariant value = store.value(key);
    if (!value.isValid())
        return defaultText;
    return value.toString();
}

void SaveSetting(const QString &appName, const QString &section, const QString &key,
                 const QString &text)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, appName, appName);
    store.beginGroup(section);
    store.setValue(key, text);
    store.endGroup();
    store.sync();
}

QString settingText(float value)
{
    const double v = value;
    // Every float of magnitude 2^24 or more is whole, so the integer branch covers them;
    // the bound only keeps the cast to qint64 defined.
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 9.0e18)
        return QString::number(static_cast<qint64>(v));
    return QString::number(v, 'g', 7);
}

float settingNumber(const QString &text, float fallback)
{
    bool ok = false;
    const float value = text.trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(value))
        return fallback;
    return value;
}
