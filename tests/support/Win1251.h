#pragma once

#include "MDate.h"

// Test fixtures are written in UTF-8; the program holds Windows-1251 bytes.
AnsiString Win1251(const char* utf8);
