#pragma once

#include "search/searchrules.h"
#include "search/searchwalk.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class GroupList;
class NoteTable;
class TextNeedle;

// What a search reads, copied from the window when it begins, so that the
// readers never touch the notebook the window goes on changing: the group
// list's lines in order, each with its stored name and titles.
struct SearchGroupData
{
    QString shownName;
    QString storedName;
    QStringList storedTitles; // entry slots 1.. in list order
};

// The groups of the group list, line by line, from the table.
std::vector<SearchGroupData> searchGroups(const NoteTable &table, const GroupList &lines);

struct SearchRequest
{
    QString storeFolder; // ends in "/"
    std::vector<SearchGroupData> groups;
    SearchWalk::Start start;
    int searchPos = 1; // 1-based: where the first entry's text is compared from
    QString text;
    SearchOptionSet options;
};

struct SearchOutcome
{
    SearchWalk::Hit hit;
    int searchPos = 1;
    bool stopped = false;
};

// The search of the dialog without the window: the same entries in the same
// order with the same comparisons as selecting each entry and reading its
// text box, but the titles come from the copy and the texts straight from the
// entry files, read by several threads at once. Entries are handed out in
// order in small blocks; the first hit in walk order wins, and no block after
// the block of a hit is begun.
class SearchEngine
{
public:
    explicit SearchEngine(int threads = 0); // 0: one per core, at least two
    ~SearchEngine();                        // stops a running search and waits for it
    SearchEngine(const SearchEngine &) = delete;
    SearchEngine &operator=(const SearchEngine &) = delete;

    // Begins the search. `finished` is called once, on one of the reading threads,
    // when the outcome is ready.
    void start(SearchRequest request, std::function<void()> finished = {});
    // Waits up to `timeout` for the outcome; true when it is ready.
    bool waitFor(std::chrono::milliseconds timeout);
    // Ends a running search as soon as the readers notice; it then has no hit.
    void stop();
    bool running() const;
    // Groups of the walk searched to their end, and the groups the walk visits.
    std::pair<int, int> progress() const;
    // Valid once the search has finished.
    SearchOutcome outcome() const;
    // What the last search was asked; its copy of the lists.
    const SearchRequest &request() const { return request_; }

    // Start, wait, outcome.
    static SearchOutcome run(SearchRequest request, int threads = 0);

private:
    struct Block
    {
        int span = 0;
        int first = 0;
        int last = 0;
        std::atomic<int> state{0}; // 0 open, 1 searched without a hit, 2 hit
        SearchWalk::Hit hit;
    };
    class Reader;

    // The comparisons of one entry; true and `hit` set on a hit.
    bool visit(Reader &reader, int group, int entry, bool firstOfWalk, SearchWalk::Hit &hit) const;
    void work();
    void finish();
    void join();

    int threads_;
    SearchRequest request_;
    std::vector<SearchWalk::Span> spans_;
    bool visitsAny_ = false;
    std::unique_ptr<TextNeedle> needle_;
    std::unique_ptr<Block[]> blocks_;
    int blockCount_ = 0;
    std::atomic<int> next_{0};
    std::atomic<int> firstHitBlock_{0};
    std::atomic<int> working_{0};
    std::atomic<bool> stop_{false};
    std::function<void()> finished_;
    std::vector<std::thread> workers_;

    mutable std::mutex mutex_;
    std::condition_variable done_;
    bool ready_ = true;
    SearchOutcome outcome_;
};
