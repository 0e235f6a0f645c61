#include "Refresher.h"

#include <QCoreApplication>

namespace tarvik {

Refresher::Refresher() {
  idle_timer_.setSingleShot(true);
  idle_timer_.setInterval(0);
  QObject::connect(&idle_timer_, &QTimer::timeout, [this] { RefreshAll(); });
  since_refresh_.start();
}

std::size_t Refresher::Bind(Signal& changed, std::function<void()> refresh) {
  const std::size_t index = refreshers_.size();
  refresh();
  refreshers_.push_back(std::move(refresh));
  stale_.push_back(false);
  return changed.Subscribe([this, index] { MarkStale(index); });
}

void Refresher::MarkStale(std::size_t index) {
  stale_[index] = true;
  any_stale_ = true;
  if (!idle_timer_.isActive()) idle_timer_.start();
}

void Refresher::RefreshAll() {
  since_refresh_.restart();
  if (!any_stale_) return;
  any_stale_ = false;
  for (std::size_t i = 0; i < refreshers_.size(); ++i) {
    if (!stale_[i]) continue;
    stale_[i] = false;
    refreshers_[i]();
  }
}

void Refresher::ProcessMessages() {
  if (since_refresh_.elapsed() < kIntervalMs) return;
  RefreshAll();
  QCoreApplication::processEvents();
}

}  // namespace tarvik
