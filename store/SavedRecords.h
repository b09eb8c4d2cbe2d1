#pragma once

#include "MDate.h"

#include <map>
#include <string_view>
#include <utility>

// Saved records by name. std::string compares its bytes as unsigned values, a proper prefix
// first, with no case folding or locale: exactly the byte-wise key order the data file keeps.
using SavedRecordMap = std::map<AnsiString, IntervalList>;

// The bytes that a record name or a period name cannot hold: the separators ",", "&" and "|"
// and the zero byte, at which the reader ends a field, would make its line read back otherwise;
// LF would end the line, and CR, which comes with it from pasted text, is a line end too.
// Nothing is escaped, so names holding them must be refused before they enter the records.
inline constexpr std::string_view RecordLineSeparators{",&|\r\n\0", 6};

// One line of the data file (without its line end) as a record name and its periods.
// Never fails: a line without "|" or with an empty name gives an empty name (no record);
// a period piece with fewer than three ","-fields is skipped.
std::pair<AnsiString, IntervalList> ParseRecordLine(std::string_view line);

// The data-file line of one record, without its line end: name "|" then for each period
// name "," from "," to "&", the dates as their texts. Nothing is escaped.
AnsiString FormatRecordLine(AnsiString name, IntervalList periods);

// Appends the same bytes as FormatRecordLine to `line`, without copying the record.
void AppendRecordLine(AnsiString& line, std::string_view name, const IntervalList& periods);

// Whether two period lists stand in the data file as the same bytes.
bool SameRecord(const IntervalList& a, const IntervalList& b);

// A saved record as a window holds it, seen without a copy: its name, and its periods parsed
// (`periods`) or, for a record kept as read (`periods` null), the bytes after "|" of its line, a
// text that IsCanonicalRecordLine accepts, parsed only when its periods are needed. The views
// are valid as long as what they were taken from is unchanged.
struct RecordView {
    std::string_view name;
    const IntervalList* periods = nullptr;
    std::string_view line;
};

// Whether the text after "|" of a line whose name is `name` is exactly what FormatRecordLine
// makes of its parse: the name is not empty and holds no zero byte; the rest holds no "|", zero
// byte, CR or LF and is a run of periods, each three ","-fields ending in "&", both date fields
// not empty (an empty date text is written as 0.0.0).
bool IsCanonicalRecordLine(std::string_view name, std::string_view rest);

// The record's periods, parsed from its line when it has no parsed ones.
IntervalList PeriodsOf(const RecordView& record);

// Appends the record's line: the kept bytes of a record kept as read, otherwise as
// AppendRecordLine does.
void AppendRecordLine(AnsiString& line, const RecordView& record);

// Whether the record stands in the data file as the same bytes as the periods.
bool SameRecord(const RecordView& record, const IntervalList& periods);

// Whether two records' periods stand in the data file as the same bytes; the names are not compared.
bool SameRecord(const RecordView& a, const RecordView& b);
