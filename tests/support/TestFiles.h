#pragma once

#include <QByteArray>
#include <QString>

// Whole files for the store tests: written as given, read as they are ("" when unreadable).
void WriteFileBytes(const QString& path, const QByteArray& bytes);
QByteArray ReadFileBytes(const QString& path);
