#include "shell/hotplug_watch.h"

#include <QSocketNotifier>
#include <iostream>
#include <memory>

#if defined(__linux__)
#include "hid/hidraw_hotplug.h"
#endif

namespace vrdk::shell {

void WatchHotplug(QObject* parent, std::function<void()> count) {
#if defined(__linux__)
  auto monitor = HidrawHotplug::Open();
  if (!monitor.ok()) {
    std::cerr << "vrdk-mouse: no hotplug events (" << monitor.message()
              << "); the mouse is looked for every 3.5 s\n";
    return;
  }
  auto shared = std::make_shared<HidrawHotplug>(std::move(monitor).value());
  auto* notifier = new QSocketNotifier(shared->Fd(), QSocketNotifier::Read, parent);
  QObject::connect(notifier, &QSocketNotifier::activated, parent,
                   [shared, count = std::move(count)] {
                     if (shared->TakeChanges()) count();
                   });
#else
  (void)parent;
  (void)count;
#endif
}

}  // namespace vrdk::shell
