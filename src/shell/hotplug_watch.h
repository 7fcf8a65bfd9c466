// Counts the bus the moment a hidraw node comes or goes, instead of at the
// next 3500 ms DevTimer tick (which stays as the fallback). Linux only; on
// other platforms, or when the kernel's device events cannot be listened to,
// nothing changes.
#pragma once

#include <QObject>
#include <functional>

namespace vrdk::shell {

// count runs on the GUI thread for every batch of events that adds or
// removes a hidraw node. The watch lives as long as parent.
void WatchHotplug(QObject* parent, std::function<void()> count);

}  // namespace vrdk::shell
