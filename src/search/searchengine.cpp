#include "search/searchengine.h"

#include "store/entrystore.h"
#include "notebook/grouplist.h"
#include "search/textneedle.h"
#include "store/dostext.h"
#include "store/entryfile.h"
#include "store/notetable.h"
#include "store/storepaths.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Entries handed to a reader at a time: small, so that little is read past a
// hit and the progress moves in small steps.
constexpr int kBlockEntries = 16;

// The text box's text of an entry file and where the search text occurs in
// it from `from` on: the very conversion the entry list's load makes.
qsizetype findInFile(QByteArrayView bytes, const SearchRequest &request, qsizetype from)
{
    const QString text = EntryStore::toTextBox(EntryFile::parseEntry(bytes).text);
    return SearchRules::findInText(text, request.text, from, request.options.caseSensitive);
}

} // namespace

std::vector<SearchGroupData> searchGroups(const NoteTable &table, const GroupList &lines)
{
    std::vector<SearchGroupData> groups;
    groups.reserve(size_t(lines.count()));
    for (int line = 0; line < lines.count(); ++line) {
        const int g = lines.slotOfLine(line);
        SearchGroupData group{lines.lines().at(line), table.name(g), {}};
        const int count = table.entryCount(g);
        group.storedTitles.reserve(count);
        for (int c = 1; c <= count; ++c)
            group.storedTitles.append(table.cell(g, c));
        groups.push_back(std::move(group));
    }
    return groups;
}

// One reading thread's access to the entry files: the folder of the group at
// hand stays open, the buffer is used again for every file. An entry whose
// file the window would show as missing has no text.
class SearchEngine::Reader
{
public:
    explicit Reader(const SearchRequest &request) : request_(request) {}
    ~Reader() { closeFolder(); }
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;

    bool read(int group, int entry)
    {
        if (group != folderGroup_)
            openFolder(group);
        const QString &title = request_.groups[size_t(group)].storedTitles.at(entry);
        if (folder_ < 0 || !StorePaths::isSafeStoredName(title))
            return false;
        const int fd = ::openat(folder_, QFile::encodeName(title + u".txt"_s).constData(),
                                O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            return false;
        const bool ok = readOpen(fd);
        ::close(fd);
        return ok;
    }
    char *data() { return buffer_.data(); }
    qsizetype size() const { return size_; }
    QByteArrayView bytes() const { return QByteArrayView(buffer_.data(), size_); }

private:
    void openFolder(int group)
    {
        closeFolder();
        folderGroup_ = group;
        const QString &name = request_.groups[size_t(group)].storedName;
        if (StorePaths::isSafeStoredName(name))
            folder_ = ::open(QFile::encodeName(request_.storeFolder + name).constData(),
                             O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    void closeFolder()
    {
        if (folder_ >= 0)
            ::close(folder_);
        folder_ = -1;
    }
    // Regular files only, as the entry list reads them. A read that comes back
    // short once the size seen is reached is the end of the file.
    bool readOpen(int fd)
    {
        struct stat st;
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
            return false;
        const auto expected = qsizetype(st.st_size);
        if (qsizetype(buffer_.size()) < expected + 1)
            buffer_.resize(size_t(expected + 1));
        size_ = 0;
        for (;;) {
            if (size_ == qsizetype(buffer_.size()))
                buffer_.resize(buffer_.size() * 2);
            const qsizetype room = qsizetype(buffer_.size()) - size_;
            const ssize_t n = ::read(fd, buffer_.data() + size_, size_t(room));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            size_ += n;
            if (n == 0 || (n < room && size_ >= expected))
                return true;
        }
    }

    const SearchRequest &request_;
    int folderGroup_ = -1;
    int folder_ = -1;
    std::vector<char> buffer_;
    qsizetype size_ = 0;
};

SearchEngine::SearchEngine(int threads)
    : threads_(threads > 0 ? threads : std::clamp(int(std::thread::hardware_concurrency()), 2, 4))
{}

SearchEngine::~SearchEngine()
{
    stop();
    join();
}

void SearchEngine::join()
{
    for (std::thread &worker : workers_)
        worker.join();
    workers_.clear();
}

void SearchEngine::start(SearchRequest request, std::function<void()> finished)
{
    stop();
    join();
    request_ = std::move(request);
    finished_ = std::move(finished);

    std::vector<SearchWalk::Group> groups;
    groups.reserve(request_.groups.size());
    for (const SearchGroupData &group : request_.groups)
        groups.push_back({group.shownName, int(group.storedTitles.size())});
    spans_ = SearchWalk::spans(groups, request_.start, request_.options);
    visitsAny_ =
        !spans_.empty() || SearchWalk::visitsBlankLine(groups, request_.start, request_.options);
    int count = 0;
    for (const SearchWalk::Span &span : spans_)
        count += (span.size() + kBlockEntries - 1) / kBlockEntries;
    blocks_ = std::make_unique<Block[]>(size_t(count));
    blockCount_ = 0;
    for (int s = 0; s < int(spans_.size()); ++s) {
        for (int e = spans_[s].first; e <= spans_[s].last; e += kBlockEntries) {
            Block &block = blocks_[size_t(blockCount_++)];
            block.span = s;
            block.first = e;
            block.last = std::min(e + kBlockEntries - 1, spans_[s].last);
        }
    }
    needle_ = std::make_unique<TextNeedle>(request_.text, request_.options.caseSensitive);

    next_ = 0;
    firstHitBlock_ = INT_MAX;
    stop_ = false;
    {
        const std::lock_guard lock(mutex_);
        ready_ = false;
    }
    const int threads = std::min(threads_, blockCount_);
    if (threads == 0) {
        finish();
        return;
    }
    working_ = threads;
    for (int t = 0; t < threads; ++t)
        workers_.emplace_back([this] { work(); });
}

bool SearchEngine::visit(Reader &reader, int group, int entry, bool firstOfWalk,
                         SearchWalk::Hit &hit) const
{
    const SearchOptionSet &options = request_.options;
    // The first entry a search visits is never compared by its title: Continue
    // starts on the entry of the last hit.
    if (options.titles && !firstOfWalk &&
        SearchRules::titleMatches(InDOS(request_.groups[size_t(group)].storedTitles.at(entry)),
                                  request_.text, options.caseSensitive)) {
        hit = {SearchWalk::HitKind::Title, group, entry, -1};
        return true;
    }
    if (!options.texts || !reader.read(group, entry))
        return false;
    qsizetype from = 0;
    if (firstOfWalk) {
        from = request_.searchPos - 1;
    } else {
        if (!needle_->foundIn(reader.data(), reader.size()))
            return false;
        // The bytes were lowered in place; the place of the hit comes from
        // the text as the text box shows it.
        if (!reader.read(group, entry))
            return false;
    }
    const qsizetype at = findInFile(reader.bytes(), request_, from);
    if (at < 0)
        return false;
    hit = {SearchWalk::HitKind::Text, group, entry, at};
    return true;
}

void SearchEngine::work()
{
    Reader reader(request_);
    for (;;) {
        const int k = next_.fetch_add(1);
        if (k >= blockCount_ || k > firstHitBlock_.load() || stop_.load())
            break;
        Block &block = blocks_[size_t(k)];
        const int group = spans_[size_t(block.span)].group;
        SearchWalk::Hit hit;
        bool found = false;
        bool abandoned = false;
        for (int e = block.first; e <= block.last && !found; ++e) {
            // A hit in an earlier block makes this one pointless.
            if (stop_.load(std::memory_order_relaxed) || k > firstHitBlock_.load()) {
                abandoned = true;
                break;
            }
            found = visit(reader, group, e, k == 0 && e == block.first, hit);
        }
        if (abandoned)
            break;
        if (found) {
            block.hit = hit;
            block.state.store(2, std::memory_order_release);
            int seen = firstHitBlock_.load();
            while (k < seen && !firstHitBlock_.compare_exchange_weak(seen, k)) {
            }
        } else {
            block.state.store(1, std::memory_order_release);
        }
    }
    if (working_.fetch_sub(1, std::memory_order_acq_rel) == 1)
        finish();
}

// Every block before the first hit has been searched to its end: blocks are
// handed out in order, and only blocks after a hit are given up.
void SearchEngine::finish()
{
    SearchOutcome out;
    out.stopped = stop_.load();
    if (!out.stopped) {
        for (int k = 0; k < blockCount_; ++k) {
            if (blocks_[size_t(k)].state.load(std::memory_order_acquire) == 2) {
                out.hit = blocks_[size_t(k)].hit;
                break;
            }
        }
    }
    out.searchPos = SearchWalk::searchPosAfter(out.hit, request_.text.size(), request_.searchPos,
                                               visitsAny_, request_.options);
    {
        const std::lock_guard lock(mutex_);
        outcome_ = out;
        ready_ = true;
    }
    done_.notify_all();
    if (finished_)
        finished_();
}

bool SearchEngine::waitFor(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    return done_.wait_for(lock, timeout, [this] { return ready_; });
}

void SearchEngine::stop()
{
    stop_ = true;
}

bool SearchEngine::running() const
{
    const std::lock_guard lock(mutex_);
    return !ready_;
}

std::pair<int, int> SearchEngine::progress() const
{
    int k = 0;
    while (k < blockCount_ && blocks_[size_t(k)].state.load(std::memory_order_acquire) != 0)
        ++k;
    const int done = k < blockCount_ ? blocks_[size_t(k)].span : int(spans_.size());
    return {done, int(spans_.size())};
}

SearchOutcome SearchEngine::outcome() const
{
    const std::lock_guard lock(mutex_);
    return outcome_;
}

SearchOutcome SearchEngine::run(SearchRequest request, int threads)
{
    SearchEngine engine(threads);
    engine.start(std::move(request));
    engine.waitFor(std::chrono::hours(24 * 365));
    return engine.outcome();
}
