#include "data/table_event.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace tamboro {

TableEvent& TableEvent::operator=(Handler handler) {
    if (sealed_)
        throw std::logic_error(std::string(name_) +
                               " belongs to the record rules; subscribe to the data module instead");
    handler_ = std::move(handler);
    return *this;
}

struct ListenerList::State {
    std::vector<std::pair<uint64_t, Listener>> listeners;
    uint64_t nextId = 1;
};

ListenerList::ListenerList() : state_(std::make_shared<State>()) {}

ListenerList::Subscription ListenerList::subscribe(Listener listener) {
    const uint64_t id = state_->nextId++;
    state_->listeners.emplace_back(id, std::move(listener));
    return Subscription(state_, id);
}

void ListenerList::notify() const {
    // Keeps the list alive and walks the ids of the moment: a listener may
    // subscribe or unsubscribe others while it runs.
    std::shared_ptr<State> state = state_;
    std::vector<uint64_t> ids;
    ids.reserve(state->listeners.size());
    for (const auto& l : state->listeners) ids.push_back(l.first);
    for (uint64_t id : ids) {
        auto it = std::find_if(state->listeners.begin(), state->listeners.end(),
                               [id](const auto& l) { return l.first == id; });
        if (it == state->listeners.end()) continue;
        Listener call = it->second;  // the listener may end its own subscription
        call();
    }
}

int ListenerList::size() const { return static_cast<int>(state_->listeners.size()); }

ListenerList::Subscription::Subscription(Subscription&& other) noexcept
    : state_(std::move(other.state_)), id_(other.id_) {
    other.id_ = 0;
}

ListenerList::Subscription& ListenerList::Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        reset();
        state_ = std::move(other.state_);
        id_ = other.id_;
        other.id_ = 0;
    }
    return *this;
}

void ListenerList::Subscription::reset() {
    if (std::shared_ptr<State> state = state_.lock()) {
        auto& l = state->listeners;
        l.erase(std::remove_if(l.begin(), l.end(), [this](const auto& e) { return e.first == id_; }), l.end());
    }
    state_.reset();
    id_ = 0;
}

bool ListenerList::Subscription::active() const {
    std::shared_ptr<State> state = state_.lock();
    return state && std::any_of(state->listeners.begin(), state->listeners.end(),
                                [this](const auto& e) { return e.first == id_; });
}

}  // namespace tamboro
