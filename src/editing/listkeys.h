#pragma once

#include <Qt>
#include <functional>
#include <vector>

// lstEntry_KeyDown, the central key dispatcher of the lists. Each subsystem adds
// the keys it owns; the first handler that takes a key consumes it. The group
// list passes every key but its own Up and Down here as well.
class ListKeys
{
public:
    // Returns true when the key was handled (consumed).
    using Handler = std::function<bool(int key, Qt::KeyboardModifiers modifiers)>;

    void add(Handler handler) { handlers_.push_back(std::move(handler)); }

    bool lstEntry_KeyDown(int key, Qt::KeyboardModifiers modifiers) const
    {
        for (const Handler &handler : handlers_) {
            if (handler(key, modifiers))
                return true;
        }
        return false;
    }

private:
    std::vector<Handler> handlers_;
};
