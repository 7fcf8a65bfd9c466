#include "hid/hidraw_backend.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "hid/report_descriptor.h"

namespace vrdk {
namespace {

namespace fs = std::filesystem;

// "hidraw12" -> 12; anything else -> nothing.
std::optional<int> HidrawNumber(std::string_view name) {
  constexpr std::string_view kPrefix = "hidraw";
  if (!name.starts_with(kPrefix) || name.size() == kPrefix.size() || name.size() > 12) {
    return std::nullopt;
  }
  int number = 0;
  for (char c : name.substr(kPrefix.size())) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  return number;
}

std::optional<std::vector<std::uint8_t>> ReadSmallFile(const fs::path& path, std::size_t limit) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  char c;
  while (bytes.size() <= limit && in.get(c)) bytes.push_back(static_cast<std::uint8_t>(c));
  if (bytes.size() > limit) return std::nullopt;
  return bytes;
}

std::optional<std::uint32_t> ParseHex(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value << 4 | static_cast<std::uint32_t>(digit);
  }
  return value;
}

}  // namespace

std::optional<HidAttributes> AttributesFromUevent(std::string_view uevent) {
  constexpr std::string_view kKey = "HID_ID=";
  while (!uevent.empty()) {
    const auto end = uevent.find('\n');
    std::string_view line = uevent.substr(0, end);
    uevent = end == std::string_view::npos ? std::string_view{} : uevent.substr(end + 1);
    if (!line.starts_with(kKey)) continue;
    line.remove_prefix(kKey.size());
    const auto first = line.find(':');
    const auto second = line.find(':', first == std::string_view::npos ? 0 : first + 1);
    if (first == std::string_view::npos || second == std::string_view::npos) return std::nullopt;
    const auto vendor = ParseHex(line.substr(first + 1, second - first - 1));
    const auto product = ParseHex(line.substr(second + 1));
    if (!vendor || !product || *vendor > 0xFFFF || *product > 0xFFFF) return std::nullopt;
    return HidAttributes{static_cast<std::uint16_t>(*vendor), static_cast<std::uint16_t>(*product),
                         0};
  }
  return std::nullopt;
}

namespace {

// The hidraw node of an interface path and its collection (0-based):
// "/dev/hidraw3" -> ("/dev/hidraw3", 0), "/dev/hidraw3#2" -> ("/dev/hidraw3", 1).
struct InterfacePath {
  std::string node;
  std::size_t collection = 0;
};

std::optional<InterfacePath> ParseInterfacePath(const std::string& path) {
  const auto mark = path.rfind('#');
  if (mark == std::string::npos) return InterfacePath{path, 0};
  const std::string_view number = std::string_view(path).substr(mark + 1);
  if (number.empty() || number.size() > 3) return std::nullopt;
  std::size_t n = 0;
  for (char c : number) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + static_cast<std::size_t>(c - '0');
  }
  if (n == 0) return std::nullopt;
  return InterfacePath{path.substr(0, mark), n - 1};
}

std::optional<std::vector<HidCaps>> CollectionsOf(const fs::path& sysfs) {
  const auto descriptor = ReadSmallFile(sysfs / "device" / "report_descriptor", kMaxDescriptorSize);
  if (!descriptor) return std::nullopt;
  return CollectionLengthsFromDescriptor(*descriptor);
}

}  // namespace

// One open interface: a collection of a hidraw node. fd is -1 until the node
// is opened for transfers (see the file comment). The wake event tells a
// blocked reader to give up.
struct HidrawBackend::Node {
  int fd = -1;
  int wake = -1;
  fs::path sysfs;
  std::string path;  // the interface path
  std::string dev;   // its hidraw node
  std::size_t collection = 0;
  Node() = default;
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;
  ~Node() {
    if (fd >= 0) ::close(fd);
    if (wake >= 0) ::close(wake);
  }
  void Wake() const {
    const std::uint64_t one = 1;
    if (wake >= 0 && ::write(wake, &one, sizeof one) < 0) {
      // The counter is full only after 2^64 - 2 wake-ups; the reader wakes anyway.
    }
  }
};

HidrawBackend::HidrawBackend(HidrawPaths paths) : paths_(std::move(paths)) {}

HidrawBackend::~HidrawBackend() { InterruptReads(); }

std::vector<std::string> HidrawBackend::ListInterfaces() {
  std::vector<std::pair<int, std::string>> found;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(paths_.sysfs_class, error)) {
    const std::string name = entry.path().filename().string();
    if (const auto number = HidrawNumber(name)) found.emplace_back(*number, name);
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> paths;
  for (const auto& [number, name] : found) {
    const std::string node = paths_.dev + "/" + name;
    // A descriptor that cannot be read or parsed still names one interface,
    // which then has no caps.
    const auto collections = CollectionsOf(fs::path(paths_.sysfs_class) / name);
    const std::size_t count = collections ? collections->size() : 1;
    if (count == 1) {
      paths.push_back(node);
      continue;
    }
    for (std::size_t n = 1; n <= count; ++n) paths.push_back(node + "#" + std::to_string(n));
  }
  return paths;
}

int HidrawBackend::CountInterfaces() {
  // From sysfs alone: the node's presence in /dev is looked up, not opened.
  int count = 0;
  for (const auto& path : ListInterfaces()) {
    const auto parsed = ParseInterfacePath(path);
    struct stat node_stat {};
    if (parsed && ::stat(parsed->node.c_str(), &node_stat) == 0) ++count;
  }
  return count;
}

bool HidrawBackend::ArrivedWithin(std::chrono::milliseconds span) {
  const auto now = std::chrono::system_clock::now();
  for (const auto& path : ListInterfaces()) {
    const auto parsed = ParseInterfacePath(path);
    struct stat node_stat {};
    if (!parsed || ::stat(parsed->node.c_str(), &node_stat) != 0) continue;
    const auto made = std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::seconds(node_stat.st_ctim.tv_sec) +
            std::chrono::nanoseconds(node_stat.st_ctim.tv_nsec)));
    if (now - made < span) return true;
  }
  return false;
}

HidHandle HidrawBackend::Open(const std::string& path, HidAccess access) {
  const auto parsed = ParseInterfacePath(path);
  const std::string name = parsed ? fs::path(parsed->node).filename().string() : std::string();
  const fs::path sysfs = fs::path(paths_.sysfs_class) / name;
  std::error_code error;
  struct stat node_stat {};
  if (!parsed || !HidrawNumber(name) || !fs::exists(sysfs, error) ||
      ::stat(parsed->node.c_str(), &node_stat) != 0) {
    Fail("open " + path + ": no such hidraw device");
    return kInvalidHandle;
  }
  auto node = std::make_shared<Node>();
  node->sysfs = sysfs;
  node->path = path;
  node->dev = parsed->node;
  node->collection = parsed->collection;
  if (access == HidAccess::kReadWrite) {
    node->fd = ::open(node->dev.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (node->fd < 0) {
      Fail("open " + node->dev, errno);
      return kInvalidHandle;
    }
  }
  node->wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  std::lock_guard lock(mutex_);
  const HidHandle handle = next_handle_++;
  handles_.emplace(handle, std::move(node));
  return handle;
}

bool HidrawBackend::OpenForTransfers(Node& node) {
  if (node.fd >= 0) return true;
  node.fd = ::open(node.dev.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
  if (node.fd < 0 && errno == EACCES) {
    // Feature reports need only a readable node.
    node.fd = ::open(node.dev.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  }
  if (node.fd < 0) {
    Fail("open " + node.dev, errno);
    return false;
  }
  return true;
}

void HidrawBackend::Close(HidHandle handle) {
  std::shared_ptr<Node> node;
  {
    std::lock_guard lock(mutex_);
    const auto it = handles_.find(handle);
    if (it == handles_.end()) return;
    node = std::move(it->second);
    handles_.erase(it);
  }
  node->Wake();  // a reader still holding the node returns; the last owner closes it
}

std::shared_ptr<HidrawBackend::Node> HidrawBackend::Find(HidHandle handle) {
  std::lock_guard lock(mutex_);
  const auto it = handles_.find(handle);
  if (it == handles_.end()) {
    last_error_ = "invalid handle";
    return nullptr;
  }
  return it->second;
}

std::optional<HidAttributes> HidrawBackend::GetAttributes(HidHandle handle) {
  const auto node = Find(handle);
  if (!node) return std::nullopt;
  if (const auto uevent = ReadSmallFile(node->sysfs / "device" / "uevent", 64 * 1024)) {
    const std::string text(uevent->begin(), uevent->end());
    if (auto attributes = AttributesFromUevent(text)) return attributes;
  }
  if (node->fd >= 0) {
    hidraw_devinfo info{};
    if (::ioctl(node->fd, HIDIOCGRAWINFO, &info) == 0) {
      return HidAttributes{static_cast<std::uint16_t>(info.vendor),
                           static_cast<std::uint16_t>(info.product), 0};
    }
    Fail("ioctl (GRAWINFO)", errno);
    return std::nullopt;
  }
  Fail("read " + (node->sysfs / "device" / "uevent").string() + ": no HID_ID");
  return std::nullopt;
}

std::optional<HidCaps> HidrawBackend::GetCaps(HidHandle handle) {
  const auto node = Find(handle);
  if (!node) return std::nullopt;
  auto descriptor = ReadSmallFile(node->sysfs / "device" / "report_descriptor", kMaxDescriptorSize);
  if (!descriptor && node->fd >= 0) {
    int size = 0;
    hidraw_report_descriptor raw{};
    if (::ioctl(node->fd, HIDIOCGRDESCSIZE, &size) == 0 && size >= 0 &&
        static_cast<std::size_t>(size) <=
            std::min<std::size_t>(HID_MAX_DESCRIPTOR_SIZE, kMaxDescriptorSize)) {
      raw.size = static_cast<std::uint32_t>(size);
      if (::ioctl(node->fd, HIDIOCGRDESC, &raw) == 0) {
        descriptor = std::vector<std::uint8_t>(raw.value, raw.value + raw.size);
      }
    }
  }
  if (!descriptor) {
    Fail("read report descriptor of " + node->path + ": not readable");
    return std::nullopt;
  }
  const auto collections = CollectionLengthsFromDescriptor(*descriptor);
  if (!collections || node->collection >= collections->size()) {
    Fail("report descriptor of " + node->path + ": not usable");
    return std::nullopt;
  }
  return (*collections)[node->collection];
}

bool HidrawBackend::SetFeature(HidHandle handle, std::span<const std::uint8_t> report) {
  const auto node = Find(handle);
  if (!node || report.empty() || !OpenForTransfers(*node)) return false;
  // The kernel takes a writable buffer; copy so the caller's stays const.
  std::vector<std::uint8_t> buffer(report.begin(), report.end());
  if (::ioctl(node->fd, HIDIOCSFEATURE(buffer.size()), buffer.data()) < 0) {
    Fail("ioctl (SFEATURE)", errno);
    return false;
  }
  return true;
}

bool HidrawBackend::GetFeature(HidHandle handle, std::span<std::uint8_t> report) {
  const auto node = Find(handle);
  if (!node || report.empty() || !OpenForTransfers(*node)) return false;
  const int got = ::ioctl(node->fd, HIDIOCGFEATURE(report.size()), report.data());
  if (got < 0) {
    Fail("ioctl (GFEATURE)", errno);
    return false;
  }
  return true;
}

bool HidrawBackend::ReadInput(HidHandle handle, std::span<std::uint8_t> report) {
  const auto node = Find(handle);
  if (!node || node->fd < 0 || report.empty()) return false;
  for (;;) {
    if (interrupted_) return false;
    pollfd fds[2] = {{node->fd, POLLIN, 0}, {node->wake, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      Fail("poll", errno);
      return false;
    }
    if (fds[1].revents != 0 || interrupted_) return false;
    if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
      Fail("read " + node->path + ": device gone");
      return false;
    }
    const ssize_t got = ::read(node->fd, report.data(), report.size());
    if (got > 0) {
      std::fill(report.begin() + got, report.end(), 0);
      return true;
    }
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    Fail("read " + node->path, got < 0 ? errno : EIO);
    return false;
  }
}

void HidrawBackend::InterruptReads() {
  interrupted_ = true;
  std::lock_guard lock(mutex_);
  for (const auto& [handle, node] : handles_) node->Wake();
}

std::string HidrawBackend::LastError() const {
  std::lock_guard lock(mutex_);
  return last_error_;
}

bool HidrawBackend::LastErrorWasAccessDenied() const {
  std::lock_guard lock(mutex_);
  return last_access_denied_;
}

void HidrawBackend::Fail(const std::string& call, int error) {
  Fail(call + ": " + std::strerror(error));
  std::lock_guard lock(mutex_);
  last_access_denied_ = error == EACCES || error == EPERM;
}

void HidrawBackend::Fail(const std::string& message) {
  std::lock_guard lock(mutex_);
  last_error_ = message;
  last_access_denied_ = false;
}

}  // namespace vrdk
