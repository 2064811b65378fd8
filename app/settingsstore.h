#pragma once

#include <QString>

// The per-user settings store, addressed by application, section and key. The file is
// QSettings' INI file for organisation and application both named after the application,
// e.g. ~/.config/Riruzo Deror/Riruzo Deror.ini with the section as INI group.
QString GetSetting(const QString &appName, const QString &section, const QString &key,
                   const QString &defaultText);
void SaveSetting(const QString &appName, const QString &section, const QString &key,
                 const QString &text);

// The text a single-precision number is stored as: a whole number as a plain integer,
// anything else with at most seven significant digits.
QString settingText(float value);
// The number a stored text stands for; text that is not a finite number gives fallback.
float settingNumber(const QString &text, float fallback);
