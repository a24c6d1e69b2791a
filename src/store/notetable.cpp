#include "store/notetable.h"

#include "store/codepage.h"

#include <algorithm>
#include <limits>

void NoteTable::decode(Cell &cell) const
{
    cell.text = CodePage::decode(
        QByteArray::fromRawData(source_.constData() + cell.offset, qsizetype(cell.length)));
    cell.length = 0;
}

bool NoteTable::empty(int g, int c) const
{
    const Cell &cell = cells_[index(g, c)];
    return cell.length == 0 && cell.text.isEmpty();
}

void NoteTable::setSource(const QByteArray &bytes)
{
    if (!source_.isNull()) {
        for (Cell &cell : cells_)
            text(cell);
    }
    // Bytes that are not the array's own (raw or static data) are copied: the
    // cells must outlive whoever lent them.
    source_ = bytes.isDetached() ? bytes : QByteArray(bytes.constData(), bytes.size());
}

void NoteTable::setEncoded(int g, int c, qsizetype offset, qsizetype length)
{
    Cell &cell = cells_[index(g, c)];
    // A part beyond what the offsets can hold is made at once.
    if (offset + length > qsizetype(std::numeric_limits<quint32>::max())) {
        cell.text = CodePage::decode(source_.mid(offset, length));
        cell.length = 0;
        return;
    }
    cell.text = QString();
    cell.offset = quint32(offset);
    cell.length = quint32(length);
}

bool NoteTable::operator==(const NoteTable &other) const
{
    for (int i = 0; i < kGroups * kColumns; ++i) {
        if (text(cells_[i]) != other.text(other.cells_[i]))
            return false;
    }
    return true;
}

void NoteTable::clear()
{
    std::fill(cells_.begin(), cells_.end(), Cell{});
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
    std::copy_n(cells_.begin() + index(from, 0), kColumns, cells_.begin() + index(to, 0));
}

void NoteTable::clearRow(int g)
{
    std::fill_n(cells_.begin() + index(g, 0), kColumns, Cell{});
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
    auto first = cells_.begin();
    if (from < to)
        std::rotate(first + index(from, 0), first + index(from + 1, 0), first + index(to + 1, 0));
    else
        std::rotate(first + index(to, 0), first + index(from, 0), first + index(from + 1, 0));
}

void NoteTable::reorderRows(const std::vector<int> &order)
{
    bool same = true;
    for (int i = 0; i < int(order.size()); ++i)
        same = same && order[size_t(i)] == i;
    if (same && order.size() == size_t(groupCount()))
        return;
    std::vector<Cell> sorted(cells_.size());
    for (int target = 0; target < int(order.size()); ++target)
        std::move(cells_.begin() + index(order[size_t(target)], 0),
                  cells_.begin() + index(order[size_t(target)], 0) + kColumns,
                  sorted.begin() + index(target, 0));
    cells_ = std::move(sorted);
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
