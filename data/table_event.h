#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace tamboro {

class Table;

// One event hook of a table (BeforePost, AfterScroll, ...). The owner of a
// table seals its hooks once they are set: assigning a sealed hook throws
// std::logic_error, so that no window can displace a record rule by
// accident. A window that must follow a table subscribes to a listener list
// instead.
class TableEvent {
public:
    using Handler = std::function<void(Table&)>;

    explicit TableEvent(const char* name) : name_(name) {}
    TableEvent(const TableEvent&) = delete;
    TableEvent& operator=(const TableEvent&) = delete;

    TableEvent& operator=(Handler handler);
    void seal() { sealed_ = true; }
    bool sealed() const { return sealed_; }
    const char* name() const { return name_; }

    explicit operator bool() const { return static_cast<bool>(handler_); }
    void operator()(Table& table) const {
        if (handler_) handler_(table);
    }

private:
    const char* name_;
    Handler handler_;
    bool sealed_ = false;
};

// Listeners told in the order they subscribed. A subscription ends when its
// handle is destroyed (or reset), also in the middle of a notification, and
// a handle that outlives its list is harmless.
class ListenerList {
    struct State;

public:
    using Listener = std::function<void()>;

    class Subscription {
    public:
        Subscription() = default;
        Subscription(Subscription&& other) noexcept;
        Subscription& operator=(Subscription&& other) noexcept;
        ~Subscription() { reset(); }
        void reset();
        bool active() const;

    private:
        friend class ListenerList;
        Subscription(std::weak_ptr<State> state, uint64_t id) : state_(std::move(state)), id_(id) {}
        std::weak_ptr<State> state_;
        uint64_t id_ = 0;
    };

    ListenerList();
    [[nodiscard]] Subscription subscribe(Listener listener);
    // Tells every listener subscribed when the call began and still subscribed
    // when its turn comes. A listener's error propagates to the caller.
    void notify() const;
    int size() const;

private:
    std::shared_ptr<State> state_;
};

}  // namespace tamboro
