#include "SavedRecords.h"

#include <cstring>

namespace {

// Fields end at a zero byte, as the stored texts always have.
AnsiString UpToZero(const AnsiString& piece)
{
    return AnsiString(piece.c_str(), std::strlen(piece.c_str()));
}

} // namespace

std::pair<AnsiString, IntervalList> ParseRecordLine(const AnsiString& line)
{
    const std::vector<AnsiString> parts = SplitText(line, '|');
    if (parts.size() < 2)
        return {};

    IntervalList periods;
    for (const AnsiString& candidate : SplitText(parts[1], '&')) {
        const std::vector<AnsiString> fields = SplitText(candidate, ',');
        if (fields.size() < 3)
            continue;
        periods.emplace_back(UpToZero(fields[0]), MDate(UpToZero(fields[1])), MDate(UpToZero(fields[2])));
    }
    AnsiString name = UpToZero(parts[0]);
    if (name.empty())
        return {};
    return {std::move(name), std::move(periods)};
}

AnsiString FormatRecordLine(AnsiString name, IntervalList periods)
{
    AnsiString line = std::move(name);
    line += '|';
    for (const Interval& period : periods) {
        line += period.name;
        line += ',';
        line += DateText(period.from);
        line += ',';
        line += DateText(period.to);
        line += '&';
    }
    return line;
}
