#pragma once

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace tarvik {

// A list of observers called in the order they subscribed. Models announce events and state
// changes through it; the Qt front end and the windows' handlers subscribe. Observers are
// called synchronously, inside the operation that fired.
class Signal {
 public:
  using Observer = std::function<void()>;

  // Returns a token for Unsubscribe.
  std::size_t Subscribe(Observer observer) {
    observers_.emplace_back(next_token_, std::move(observer));
    return next_token_++;
  }

  void Unsubscribe(std::size_t token) {
    std::erase_if(observers_, [token](const auto& entry) { return entry.first == token; });
  }

  void operator()() const {
    // A copy, so that an observer may subscribe or unsubscribe while being called.
    const auto observers = observers_;
    for (const auto& [token, observer] : observers) observer();
  }

 private:
  std::vector<std::pair<std::size_t, Observer>> observers_;
  std::size_t next_token_ = 1;
};

}  // namespace tarvik
