#include "core/Unit_WordList.h"
#include "platform/WorkBlocks.h"
#include "print/Unit_PrintLayout.h"

#include <algorithm>
#include <climits>

// Rows are stacked on pages in three steps: the height of every row, which does not depend on
// where it stands; the page breaks, from the heights alone; then the rows' texts, page by page.
// The first and the last step take most of the time and go on several threads for long lists.

namespace {

// Calls work(measurer, begin, end) on blocks that cover 0..count: the first on this thread with
// the measurer given, every other on a thread of its own with a copy of the measurer made there.
template<class TWork>
void InMeasuredBlocks(const ITextMeasurer &measurer, int count, unsigned threads, TWork work)
{
    InBlocks(static_cast<size_t>(count), threads, [&](unsigned block, size_t begin, size_t end) {
        const std::unique_ptr<ITextMeasurer> own = block > 0 ? measurer.ThreadCopy() : nullptr;
        work(own ? *own : measurer, static_cast<int>(begin), static_cast<int>(end));
    });
}

} // namespace

int TPrintLayout::LayoutWord(TPrintWord &word, int index, int maxAscent, int y,
                             bool allColumns) const
{
    const int available = used > 0 ? Bottom() - (y - measurer.Ascent(columns[0].Kind)) : 0;
    const int height
            = LayoutColumns(measurer, word, index, maxAscent, allColumns ? INT_MAX : available);
    return height > available ? -1 : height;
}

int TPrintLayout::LayoutColumns(const ITextMeasurer &with, TPrintWord &word, int index,
                                int maxAscent, int limit) const
{
    const TWord &source = list.Word(index);
    int cellRight = 0;
    int rowHeight = 0;
    for (int i = 0; i < used; ++i) {
        if (i > 0 && rowHeight > limit)
            break;
        const TPrintColumn &column = columns[static_cast<size_t>(i)];
        const int cellLeft = i == 0 ? left : cellRight + pad;
        cellRight = RoundEven(width * column.Width) + cellLeft - pad;
        const int kind = column.Kind;
        std::string &text = word.Text(kind);
        WrapText(PrintedText(source, kind), text, cellRight - cellLeft, with, kind);
        const int height = LineCount(text) * with.Height(kind) + (maxAscent - with.Ascent(kind));
        rowHeight = std::max(rowHeight, height);
    }
    return rowHeight;
}

std::vector<TPageInfo> TPrintLayout::Paginate(int first, int last) const
{
    const int maxAscent = MaxAscent();
    const int firstBaseline = FirstBaseline();
    first = std::max(first, 0);
    last = std::min(last, list.Count() - 1);
    const int count = std::max(last - first + 1, 0);

    // A short list keeps its rows from the first step; a long one lays them out again on the
    // threads, which costs less than keeping a second copy of every row in memory.
    const unsigned workers = WorkerThreads(static_cast<size_t>(count));
    const bool longList = workers > 1;
    const unsigned threads = measurer.HasThreadCopies() ? workers : 1;
    std::vector<int> heights(static_cast<size_t>(count));
    std::vector<TPrintWord> kept(longList ? 0 : static_cast<size_t>(count));
    InMeasuredBlocks(measurer, count, threads, [&](const ITextMeasurer &with, int begin, int end) {
        TPrintWord scratch;
        for (int row = begin; row < end; ++row) {
            TPrintWord &record = longList ? scratch : kept[static_cast<size_t>(row)];
            heights[static_cast<size_t>(row)]
                    = LayoutColumns(with, record, first + row, maxAscent, INT_MAX);
        }
    });

    // A row higher than what is left of its page starts the next one; a row higher than an
    // empty page stands alone on its page, clipped when drawn.
    std::vector<TPageInfo> pages;
    std::vector<int> pageStarts;
    const int firstAscent = used > 0 ? measurer.Ascent(columns[0].Kind) : 0;
    const auto fitsAt = [&](int height, int y) {
        return used == 0 || height <= Bottom() - (y - firstAscent);
    };
    int y = firstBaseline;
    bool pageOpen = false;
    for (int row = 0; row < count; ++row) {
        const int height = heights[static_cast<size_t>(row)];
        if (!pageOpen || !fitsAt(height, y)) {
            pages.emplace_back();
            pageStarts.push_back(row);
            y = firstBaseline;
        }
        pages.back().BaseLines.push_back({y});
        pageOpen = fitsAt(height, y);
        y += RoundEven(height * RowPitch);
    }
    pageStarts.push_back(count);

    InMeasuredBlocks(
            measurer, static_cast<int>(pages.size()), threads,
            [&](const ITextMeasurer &with, int begin, int end) {
                for (int page = begin; page < end; ++page) {
                    const int start = pageStarts[static_cast<size_t>(page)];
                    std::vector<TPrintWord> &lines = pages[static_cast<size_t>(page)].Lines;
                    lines.resize(
                            static_cast<size_t>(pageStarts[static_cast<size_t>(page) + 1] - start));
                    for (size_t row = 0; row < lines.size(); ++row) {
                        const int index = start + static_cast<int>(row);
                        if (longList)
                            LayoutColumns(with, lines[row], first + index, maxAscent, INT_MAX);
                        else
                            lines[row] = std::move(kept[static_cast<size_t>(index)]);
                    }
                }
            });
    // No words: one empty page, with its headings and footer.
    if (pages.empty())
        pages.emplace_back();
    return pages;
}
