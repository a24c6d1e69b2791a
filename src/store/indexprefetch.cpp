#include "store/indexprefetch.h"

#include "store/indexfile.h"
#include "store/preferences.h"
#include "store/preffile.h"
#include "store/safewrite.h"
#include "store/storelocation.h"
#include "store/storepaths.h"

using namespace Qt::StringLiterals;

IndexPrefetch::~IndexPrefetch()
{
    if (thread_.joinable())
        thread_.join();
}

void IndexPrefetch::start(const QString &programFolder)
{
    if (!thread_.joinable())
        thread_ = std::thread([this, programFolder] { read(programFolder); });
}

void IndexPrefetch::read(const QString &programFolder)
{
    const ReadResult pref = readWholeFile(programFolder + u"pref.dat"_s);
    Preferences prefs;
    if (!pref.ok || !PrefFile::parse(pref.bytes, prefs))
        return;
    path_ = StorePaths::indexFile(StoreLocation::storeFolder(
        programFolder, StoreLocation::completeStorePath(prefs.StorePath)));
    const ReadResult index = readWholeFile(path_);
    ok_ = index.ok && IndexFile::parse(index.bytes, table_);
}

bool IndexPrefetch::take(const QString &indexPath, NoteTable &table)
{
    if (!thread_.joinable())
        return false;
    thread_.join();
    if (!ok_ || path_ != indexPath)
        return false;
    ok_ = false;
    table = std::move(table_);
    return true;
}
