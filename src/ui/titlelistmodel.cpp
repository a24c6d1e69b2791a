#include "ui/titlelistmodel.h"

#include "store/dostext.h"

using namespace Qt::StringLiterals;

TitleListModel::TitleListModel(ClosingLine closing, QObject *parent)
    : QAbstractListModel(parent), closing_(closing)
{}

int TitleListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return int(stored_.size()) + (closing_ == ClosingLine::Blank ? 1 : 0);
}

QVariant TitleListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return shownName(index.row());
    case StoredNameRole:
        return storedName(index.row());
    default:
        return {};
    }
}

QString TitleListModel::storedName(int row) const
{
    return row >= 0 && row < stored_.size() ? stored_.at(row) : QString();
}

QString TitleListModel::shownName(int row) const
{
    if (row >= 0 && row < shown_.size())
        return shown_.at(row);
    return isClosingLine(row) ? u" "_s : QString();
}

QStringList TitleListModel::shownNames() const
{
    QStringList names = shown_;
    if (closing_ == ClosingLine::Blank)
        names.append(u" "_s);
    return names;
}

int TitleListModel::rowShowing(const QString &shown) const
{
    const qsizetype row = shown_.indexOf(shown);
    if (row >= 0)
        return int(row);
    return closing_ == ClosingLine::Blank && shown == u" "_s ? int(stored_.size()) : -1;
}

bool TitleListModel::isClosingLine(int row) const
{
    return closing_ == ClosingLine::Blank && row == stored_.size();
}

void TitleListModel::setStoredNames(const QStringList &names)
{
    const int kept = int(qMin(names.size(), stored_.size()));
    if (names.size() < stored_.size()) {
        beginRemoveRows({}, kept, int(stored_.size()) - 1);
        stored_.resize(kept);
        shown_.resize(kept);
        endRemoveRows();
    }
    int firstChanged = -1;
    int lastChanged = -1;
    for (int row = 0; row < kept; ++row) {
        if (stored_.at(row) == names.at(row))
            continue;
        stored_[row] = names.at(row);
        shown_[row] = InDOS(names.at(row));
        if (firstChanged < 0)
            firstChanged = row;
        lastChanged = row;
    }
    if (names.size() > stored_.size()) {
        beginInsertRows({}, kept, int(names.size()) - 1);
        for (qsizetype row = kept; row < names.size(); ++row) {
            stored_.append(names.at(row));
            shown_.append(InDOS(names.at(row)));
        }
        endInsertRows();
    }
    if (firstChanged >= 0)
        Q_EMIT dataChanged(index(firstChanged), index(lastChanged));
}

void TitleListModel::setStoredName(int row, const QString &name)
{
    if (row < 0 || row >= stored_.size())
        return;
    stored_[row] = name;
    shown_[row] = InDOS(name);
    Q_EMIT dataChanged(index(row), index(row));
}
