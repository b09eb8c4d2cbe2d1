#include "Analysis.h"

#include "Coverage.h"
#include "InsuranceLength.h"

#include <algorithm>
#include <bit>
#include <cstdint>

using namespace std::chrono;

namespace {

constexpr int64_t YearDays = 360; // a year of reckoned days: 12 months of 30

int32_t DayNumber(CalendarDay day)
{
    return static_cast<int32_t>(day.time_since_epoch().count());
}

CalendarDay DayOf(int32_t number)
{
    return CalendarDay{days{number}};
}

const int32_t FirstDay = DayNumber(FirstCalendarDay);
const int32_t LastDay = DayNumber(LastCalendarDay);

// The line of one period from its split; a line kept from an earlier analysis keeps the storage
// of its partial months.
void FillInsuranceLine(const MonthSplit& split, InsuranceLine& line)
{
    line.wholeMonths = split.wholeMonths;
    line.partialDays = split.firstMonthDays + split.lastMonthDays;
    line.partialMonths.clear();
    if (split.firstMonthDays > 0)
        line.partialMonths.push_back({split.firstMonth, split.firstMonthDays});
    if (split.lastMonthDays > 0)
        line.partialMonths.push_back({split.lastMonth, split.lastMonthDays});
    if (split.wholeMonths > 0) {
        line.firstWholeMonth = split.firstMonthDays > 0 ? split.firstMonth + months{1} : split.firstMonth;
        line.lastWholeMonth = split.lastMonthDays > 0 ? split.lastMonth - months{1} : split.lastMonth;
    } else {
        line.firstWholeMonth.reset();
        line.lastWholeMonth.reset();
    }
    line.length = InsuranceService(ReckonedDays(split));
}

int64_t SharedDays(const DaySpan& a, const DaySpan& b)
{
    return int64_t{std::min(a.last, b.last)} - std::max(a.first, b.first) + 1;
}

bool ByOther(const Overlap& a, const Overlap& b)
{
    return a.other < b.other;
}

// Every pair of spans that share days, from the spans sorted by first day: the spans that share
// days with one and start no earlier are those right after it that start by its last day. On a
// list of periods that mostly follow each other that is about one look per span. Gives up, false,
// once the pairs pass `budget`.
bool ListAllOverlaps(const std::vector<DaySpan>& sorted, std::vector<PeriodRow>& rows, size_t budget)
{
    size_t pairs = 0;
    std::vector<uint32_t> overlapping; // the rows that share days with another, once each or more
    for (size_t r = 0; r < sorted.size(); ++r) {
        const DaySpan& a = sorted[r];
        for (size_t q = r + 1; q < sorted.size() && sorted[q].first <= a.last; ++q) {
            if (++pairs > budget)
                return false;
            const DaySpan& b = sorted[q];
            const int64_t days = SharedDays(a, b);
            rows[a.index].overlaps.push_back({b.index, days});
            rows[b.index].overlaps.push_back({a.index, days});
            overlapping.push_back(a.index);
            overlapping.push_back(b.index);
        }
    }
    for (const uint32_t index : overlapping) {
        PeriodRow& row = rows[index];
        std::vector<Overlap>& overlaps = row.overlaps;
        if (row.overlapCount != 0)
            continue; // already put in order
        row.overlapCount = overlaps.size();
        if (overlaps.size() > MaxListedOverlaps) {
            std::partial_sort(overlaps.begin(), overlaps.begin() + MaxListedOverlaps, overlaps.end(), ByOther);
            overlaps.resize(MaxListedOverlaps);
        } else if (overlaps.size() > 1) {
            std::sort(overlaps.begin(), overlaps.end(), ByOther);
        }
    }
    return true;
}

// The first MaxListedOverlaps overlaps of every span, for lists where many spans share days with
// many. The spans offer themselves in list order to the spans they share days with that still list
// fewer; a tree over the sorted spans keeps the latest last day of those, so each offer costs
// O(log n) and a span that is full drops out of the search.
class FirstOverlaps {
public:
    FirstOverlaps(const std::vector<DaySpan>& sorted, std::vector<PeriodRow>& rows)
        : m_sorted(sorted)
        , m_rows(rows)
        , m_leaves(std::bit_ceil(std::max<size_t>(sorted.size(), 1)))
        , m_latest(2 * m_leaves, INT32_MIN)
    {
        for (size_t p = 0; p < sorted.size(); ++p)
            m_latest[m_leaves + p] = sorted[p].last;
        for (size_t node = m_leaves - 1; node > 0; --node)
            m_latest[node] = std::max(m_latest[2 * node], m_latest[2 * node + 1]);
    }

    void List()
    {
        std::vector<int32_t> firsts(m_sorted.size());
        std::vector<int32_t> lasts(m_sorted.size());
        for (size_t p = 0; p < m_sorted.size(); ++p) {
            firsts[p] = m_sorted[p].first;
            lasts[p] = m_sorted[p].last;
        }
        std::sort(lasts.begin(), lasts.end());
        // The spans that share days with one: all that start by its last day, less those that end
        // before its first day (which start by then too), less itself.
        for (const DaySpan& span : m_sorted) {
            const auto startedBy = std::upper_bound(firsts.begin(), firsts.end(), span.last) - firsts.begin();
            const auto endedBefore = std::lower_bound(lasts.begin(), lasts.end(), span.first) - lasts.begin();
            m_rows[span.index].overlapCount = static_cast<size_t>(startedBy - endedBefore - 1);
        }

        std::vector<size_t> inListOrder(m_sorted.size());
        for (size_t p = 0; p < inListOrder.size(); ++p)
            inListOrder[p] = p;
        std::sort(inListOrder.begin(), inListOrder.end(),
            [&](size_t a, size_t b) { return m_sorted[a].index < m_sorted[b].index; });
        for (const size_t p : inListOrder) {
            m_offer = p;
            m_startedBy = static_cast<size_t>(
                std::upper_bound(firsts.begin(), firsts.end(), m_sorted[p].last) - firsts.begin());
            Offer(1, 0, m_leaves);
        }
    }

private:
    // Offers span m_offer to the open spans under `node`, which holds positions lo..hi-1.
    void Offer(size_t node, size_t lo, size_t hi)
    {
        const DaySpan& offered = m_sorted[m_offer];
        if (lo >= m_startedBy || m_latest[node] < offered.first)
            return;
        if (hi - lo == 1) {
            if (lo != m_offer)
                Take(lo);
            return;
        }
        const size_t mid = lo + (hi - lo) / 2;
        Offer(2 * node, lo, mid);
        Offer(2 * node + 1, mid, hi);
    }

    void Take(size_t position)
    {
        const DaySpan& offered = m_sorted[m_offer];
        std::vector<Overlap>& overlaps = m_rows[m_sorted[position].index].overlaps;
        overlaps.push_back({offered.index, SharedDays(m_sorted[position], offered)});
        if (overlaps.size() < MaxListedOverlaps)
            return;
        size_t node = m_leaves + position;
        m_latest[node] = INT32_MIN;
        for (node /= 2; node > 0; node /= 2)
            m_latest[node] = std::max(m_latest[2 * node], m_latest[2 * node + 1]);
    }

    const std::vector<DaySpan>& m_sorted;
    std::vector<PeriodRow>& m_rows;
    const size_t m_leaves;
    std::vector<int32_t> m_latest; // per tree node: the latest last day of its open spans
    size_t m_offer = 0;
    size_t m_startedBy = 0;
};

void ListOverlaps(const std::vector<DaySpan>& sorted, std::vector<PeriodRow>& rows)
{
    // Past a few pairs per span the list is no working life, and every pair could be the square of
    // its length: the tree then finds the first MaxListedOverlaps of each span, and counts the rest.
    if (ListAllOverlaps(sorted, rows, 4 * sorted.size() + 1024))
        return;
    for (PeriodRow& row : rows)
        row.overlaps.clear();
    FirstOverlaps(sorted, rows).List();
}

// The gaps between the covered pieces, and on every span that starts a piece after a gap, that gap.
void FindGaps(const std::vector<DaySpan>& sorted, const std::vector<DaySpan>& pieces, std::vector<PeriodRow>& rows,
    std::vector<Gap>& gaps)
{
    gaps.clear();
    size_t piece = 0;
    std::optional<Gap> gapBefore; // the gap before the piece
    for (const DaySpan& span : sorted) {
        // The spans of a piece come together, and a piece begins with the first of them.
        if (span.first > pieces[piece].last) {
            ++piece;
            const int64_t days = int64_t{pieces[piece].first} - pieces[piece - 1].last - 1;
            gapBefore.reset();
            if (days > 0) {
                gapBefore = Gap{DayOf(pieces[piece - 1].last), DayOf(pieces[piece].first), days};
                gaps.push_back(*gapBefore);
            }
        }
        if (gapBefore && span.first == pieces[piece].first)
            rows[span.index].gapBefore = gapBefore;
    }
}

// The covered pieces with the running sums of their reckoned days: sums[k] holds pieces 0..k-1.
struct CoveredTime {
    std::vector<DaySpan> pieces;
    std::vector<int64_t> sums;

    explicit CoveredTime(const std::vector<DaySpan>& sortedSpans)
        : pieces(CoveredPieces(sortedSpans))
    {
        sums.reserve(pieces.size() + 1);
        sums.push_back(0);
        for (const DaySpan& piece : pieces)
            sums.push_back(sums.back() + ReckonedDays(piece));
    }

    // How many pieces start on the day or before it.
    size_t StartedBy(int32_t day) const
    {
        return static_cast<size_t>(std::upper_bound(pieces.begin(), pieces.end(), day,
                                       [](int32_t d, const DaySpan& piece) { return d < piece.first; })
            - pieces.begin());
    }

    // The reckoned days of the periods cut to end on the day.
    int64_t UpTo(int32_t day) const
    {
        const size_t started = StartedBy(day);
        if (started == 0)
            return 0;
        const DaySpan& last = pieces[started - 1];
        return sums[started - 1] + ReckonedDays(DayOf(last.first), DayOf(std::min(last.last, day)));
    }
};

// The periods with the current job from the hire date to a day D on or after it: the pieces that
// end before the job's piece stay as they are, and the job's piece runs from its start to D. The
// job joins the piece that holds the hire date, and covers whatever else starts by D.
struct WithCurrentJob {
    int32_t hire = 0;
    int64_t before = 0; // reckoned days of the pieces before the job's piece
    int32_t start = 0; // the first day of the job's piece

    WithCurrentJob(const CoveredTime& time, int32_t hireDay)
        : hire(hireDay)
    {
        const size_t started = time.StartedBy(hire);
        if (started > 0 && time.pieces[started - 1].last >= hire) {
            before = time.sums[started - 1];
            start = time.pieces[started - 1].first;
        } else {
            before = time.sums[started];
            start = hire;
        }
    }

    // The reckoned days up to D. Never less for a later D: a day more adds a partial day, or
    // completes a month whose 27 to 30 partial days then count 30.
    int64_t UpTo(int32_t day) const { return before + ReckonedDays(DayOf(start), DayOf(day)); }
};

ThresholdDate FindThreshold(const CoveredTime& time, const WithCurrentJob& job, int32_t years)
{
    ThresholdDate threshold;
    threshold.years = years;
    const int64_t target = years * YearDays;
    threshold.reachedBeforeHire = job.hire > FirstDay && time.UpTo(job.hire - 1) >= target;
    if (job.UpTo(job.hire) >= target) {
        threshold.date = DayOf(job.hire);
        return threshold;
    }
    if (job.UpTo(LastDay) < target)
        return threshold;
    int32_t shortOf = job.hire; // the total up to here is short of the target...
    int32_t reaches = LastDay; // ...and up to here it reaches it
    while (reaches - shortOf > 1) {
        const int32_t middle = shortOf + (reaches - shortOf) / 2;
        (job.UpTo(middle) >= target ? reaches : shortOf) = middle;
    }
    threshold.date = DayOf(reaches);
    return threshold;
}

} // namespace

void AnalysePeriods(const IntervalList& periods, const AnsiString& hireText, CalendarDay asOf,
    const std::vector<int32_t>& thresholdYears, PeriodAnalysis& analysis)
{
    // Any "as of" day is taken; before year 1 or after year 9999 it acts as the day just outside.
    const int32_t asOfDay = static_cast<int32_t>(
        std::clamp<int64_t>(asOf.time_since_epoch().count(), int64_t{FirstDay} - 1, int64_t{LastDay}));

    std::vector<PeriodRow>& rows = analysis.rows;
    rows.resize(periods.size());
    std::vector<DaySpan> spans;
    spans.reserve(periods.size());
    ServiceLength designedSum;
    int64_t ownDays = 0;
    for (size_t i = 0; i < periods.size(); ++i) {
        const Interval& period = periods[i];
        PeriodRow& row = rows[i];
        const ServiceLength length = IntervalLength(period.from, period.to);
        AddLength(designedSum, length);
        row.designedLength = length;
        WriteLengthText(row.designedLength, row.designedText);

        const auto from = RealDay(period.from);
        const auto to = RealDay(period.to);
        const int32_t fromDay = from ? DayNumber(*from) : 0;
        const int32_t toDay = to ? DayNumber(*to) : 0;
        row.fromNotReal = !from;
        row.toNotReal = !to;
        row.afterAsOf = (from && fromDay > asOfDay) || (to && toDay > asOfDay);
        row.endBeforeStart = from && to && toDay < fromDay;
        row.overlaps.clear();
        row.overlapCount = 0;
        row.gapBefore.reset();
        if (!from || !to) {
            row.insurance.reset();
            row.calendarDays = 0;
            continue;
        }
        const bool exchange = toDay < fromDay;
        const MonthSplit split
            = SplitIntoMonths(exchange ? period.to : period.from, exchange ? period.from : period.to);
        if (!row.insurance)
            row.insurance.emplace();
        FillInsuranceLine(split, *row.insurance);
        const DaySpan span{std::min(fromDay, toDay), std::max(fromDay, toDay), static_cast<uint32_t>(i),
            static_cast<int32_t>(ReckonedDays(split))};
        row.calendarDays = int64_t{span.last} - span.first + 1;
        ownDays += row.calendarDays;
        spans.push_back(span);
    }
    analysis.designedTotal = designedSum;
    WriteLengthText(analysis.designedTotal, analysis.designedTotalText);

    SortByFirstDay(spans);
    const CoveredTime time(spans);
    analysis.insuranceTotal = InsuranceService(time.sums.back());
    analysis.calendarDays = 0;
    for (const DaySpan& piece : time.pieces)
        analysis.calendarDays += int64_t{piece.last} - piece.first + 1;
    analysis.overlapDays = ownDays - analysis.calendarDays;
    FindGaps(spans, time.pieces, rows, analysis.gaps);
    ListOverlaps(spans, rows);

    std::optional<WithCurrentJob> job;
    if (const std::optional<CalendarDay> hire = RealDay(MDate(hireText)))
        job.emplace(time, DayNumber(*hire));
    analysis.currentJobCounted = job && job->hire <= asOfDay;
    const int64_t asOfDays = analysis.currentJobCounted ? job->UpTo(asOfDay) : time.UpTo(asOfDay);
    analysis.insuranceAsOf = InsuranceService(asOfDays);
    analysis.sickLeavePercent = asOfDays >= 8 * YearDays ? 100 : asOfDays >= 5 * YearDays ? 80 : 60;
    analysis.underSixMonths = asOfDays < YearDays / 2;

    analysis.thresholds.clear();
    for (const int32_t years : thresholdYears)
        analysis.thresholds.push_back(
            job ? FindThreshold(time, *job, years) : ThresholdDate{years, false, std::nullopt});
}

PeriodAnalysis AnalysePeriods(const IntervalList& periods, const AnsiString& hireText, CalendarDay asOf,
    const std::vector<int32_t>& thresholdYears)
{
    PeriodAnalysis analysis;
    AnalysePeriods(periods, hireText, asOf, thresholdYears, analysis);
    return analysis;
}
