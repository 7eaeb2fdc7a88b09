#pragma once

#include <QDateTime>

// A UTC time of day for clock tests, written "2026-03-02T10:15:42.000".
inline QDateTime at(const char *text)
{
    return QDateTime::fromString(QString::fromLatin1(text) + u'Z', Qt::ISODateWithMs).toUTC();
}
