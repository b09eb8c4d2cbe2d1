#pragma once

#include "MDate.h"

#include <QString>
#include <QStringList>

#include <vector>

// The one crossing between the controls' UTF-16 text and the program's Windows-1251 text.
// A character that Windows-1251 lacks becomes "?", so one typed text always gives the same bytes.
AnsiString ToAnsi(const QString& text);
QString FromAnsi(const AnsiString& text);

// The same conversion for many texts at once, in one run of the converter.
QStringList FromAnsi(const std::vector<AnsiString>& texts);
