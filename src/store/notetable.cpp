#include "store/notetable.h"

#include "store/codepage.h"

#include <algorithm>
#include <atomic>
#include <limits>

namespace {

quint64 nextVersion()
{
    static std::atomic<quint64> last{0};
    return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

} // namespace

const QString &NoteTable::emptyText()
{
    static const QString empty;
    return empty;
}

void NoteTable::decode(Cell &cell, const Row &row) const
{
    cell.text = CodePage::decode(
        QByteArray::fromRawData(row.source.constData() + cell.offset, qsizetype(cell.length)));
    cell.length = 0;
}

bool NoteTable::empty(int g, int c) const
{
    const Row *row = rows_[size_t(g)].get();
    if (!row)
        return true;
    const Cell &cell = row->cells[size_t(c)];
    return cell.length == 0 && cell.text.isEmpty();
}

void NoteTable::makeOwn(std::shared_ptr<Row> &row)
{
    if (!row)
        row = std::make_shared<Row>();
    else
        row = std::make_shared<Row>(*row); // the other holders keep the row as it was
}

void NoteTable::setSource(const QByteArray &bytes)
{
    // Bytes that are not the array's own (raw or static data) are copied: the
    // cells must outlive whoever lent them.
    source_ = bytes.isDetached() ? bytes : QByteArray(bytes.constData(), bytes.size());
}

void NoteTable::setEncodedRow(int g, const std::vector<Span> &spans, qsizetype bytesBegin,
                              qsizetype bytesEnd)
{
    Row &row = ownRow(g);
    if (row.source.constData() != source_.constData()) {
        // Cells still waiting for other bytes are made before the row lets them go.
        for (Cell &other : row.cells)
            text(other, row);
        row.source = source_;
    }
    const int count = std::min<int>(int(spans.size()), kColumns);
    for (int c = 0; c < count; ++c) {
        const Span &span = spans[size_t(c)];
        Cell &cell = row.cells[size_t(c)];
        // A part beyond what the offsets can hold is made at once.
        if (span.offset + span.length > qsizetype(std::numeric_limits<quint32>::max())) {
            cell.text = CodePage::decode(source_.mid(span.offset, span.length));
            cell.length = 0;
            continue;
        }
        if (!cell.text.isNull())
            cell.text = QString();
        cell.offset = quint32(span.offset);
        cell.length = quint32(span.length);
    }
    if (bytesEnd <= bytesBegin)
        return;
    for (int c = count; c < kColumns; ++c) {
        if (!empty(g, c))
            return;
    }
    row.bytesBegin = bytesBegin;
    row.bytesEnd = bytesEnd;
}

bool NoteTable::rowBytes(int g, QByteArray *source, qsizetype *begin, qsizetype *size) const
{
    const Row *row = rows_[size_t(g)].get();
    if (!row || row->bytesEnd == 0)
        return false;
    *source = row->source;
    *begin = row->bytesBegin;
    *size = row->bytesEnd - row->bytesBegin;
    return true;
}

quint64 NoteTable::rowVersion(int g) const
{
    Row *row = rows_[size_t(g)].get();
    if (!row)
        return 0;
    if (row->version == 0)
        row->version = nextVersion();
    return row->version;
}

bool NoteTable::operator==(const NoteTable &other) const
{
    for (int g = 0; g < kGroups; ++g) {
        if (rows_[size_t(g)] == other.rows_[size_t(g)])
            continue;
        for (int c = 0; c < kColumns; ++c) {
            if (cell(g, c) != other.cell(g, c))
                return false;
        }
    }
    return true;
}

void NoteTable::clear()
{
    rows_.fill(nullptr);
    source_ = QByteArray();
}

int NoteTable::groupCount() const
{
    int g = 0;
    while (g < kGroups && !empty(g, 0))
        ++g;
    return g;
}

int NoteTable::entryCount(int g) const
{
    int c = 1;
    while (c < kColumns && !empty(g, c))
        ++c;
    return c - 1;
}

void NoteTable::copyRow(int from, int to)
{
    // Shared until either is written to.
    rows_[size_t(to)] = rows_[size_t(from)];
}

void NoteTable::copyRowFrom(const NoteTable &other, int from, int to)
{
    rows_[size_t(to)] = other.rows_[size_t(from)];
}

void NoteTable::clearRow(int g)
{
    rows_[size_t(g)].reset();
}

void NoteTable::openRow(int L)
{
    for (int i = kGroups - 1; i >= L + 1; --i) {
        if (!name(i - 1).isEmpty())
            copyRow(i - 1, i);
    }
    clearRow(L);
}

void NoteTable::closeRow(int L)
{
    for (int i = L; i < kGroups - 1; ++i)
        copyRow(i + 1, i);
    clearRow(kGroups - 1);
}

void NoteTable::moveRow(int from, int to)
{
    if (from == to)
        return;
    auto first = rows_.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
}

void NoteTable::reorderRows(const std::vector<int> &order)
{
    bool same = true;
    for (int i = 0; i < int(order.size()); ++i)
        same = same && order[size_t(i)] == i;
    if (same && order.size() == size_t(groupCount()))
        return;
    std::array<std::shared_ptr<Row>, kGroups> sorted;
    for (int target = 0; target < int(order.size()); ++target)
        sorted[size_t(target)] = std::move(rows_[size_t(order[size_t(target)])]);
    rows_ = std::move(sorted);
}

int NoteTable::findGroup(const QString &storedName) const
{
    for (int g = 0; g < kGroups; ++g) {
        if (name(g) == storedName)
            return g;
    }
    return -1;
}

int NoteTable::findTitle(int g, const QString &storedTitle) const
{
    for (int c = 1; c < kColumns; ++c) {
        if (cell(g, c) == storedTitle)
            return c;
    }
    return -1;
}
