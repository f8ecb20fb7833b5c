#include "platform/linux/linux_ip_helper.h"

#include <array>
#include <memory>
#include <span>

#include "platform/ip_helper_encoder.h"
#include "platform/ip_helper_layout.h"
#include "platform/linux/snapshot.h"
#include "platform/system_ip_helper.h"

namespace addrvue::linux_source {
namespace {

// One snapshot of the system, shared by the two queries: each query's first pair of calls
// answers from it, so that one press of the report describes one instant and reads the kernel
// once. A query asked again takes a fresh snapshot, which the other query then shares.
class SharedSnapshot {
 public:
  enum Query { kParams, kAdapters };

  explicit SharedSnapshot(std::function<SystemSnapshot()> take) : take_(std::move(take)) {}

  std::shared_ptr<const SystemSnapshot> For(Query query) {
    if (!snapshot_ || used_[query]) {
      snapshot_ = std::make_shared<const SystemSnapshot>(take_());
      used_ = {};
    }
    used_[query] = true;
    return snapshot_;
  }

 private:
  std::function<SystemSnapshot()> take_;
  std::shared_ptr<const SystemSnapshot> snapshot_;
  std::array<bool, 2> used_{};
};

// One query's side of the two-call protocol. The sizing call measures its snapshot's answer,
// or gives the failure code the snapshot holds for it instead; the fill that follows writes that
// same snapshot straight into the caller's buffer.
class QueryState {
 public:
  template <typename Failure, typename Measure, typename Write>
  std::uint32_t Answer(std::byte* buffer, std::uint32_t* size, SharedSnapshot& shared,
                       SharedSnapshot::Query query, Failure failure, Measure measure, Write write) {
    if (size == nullptr) {
      return iphlp::layout::kErrorInvalidParameter;
    }
    if (buffer == nullptr || !pending_) {
      pending_ = shared.For(query);
      if (const std::uint32_t code = failure(*pending_); code != iphlp::layout::kNoError) {
        pending_.reset();
        return code;
      }
      needed_ = measure(*pending_);
    }
    const std::uint32_t code = iphlp::AnswerSizedQuery(
        needed_, buffer, size, [&](std::span<std::byte> out) { write(*pending_, out); });
    // Only an answer that asks for a larger buffer is followed by a fill of the same snapshot.
    if (code != iphlp::layout::kErrorBufferOverflow) {
      pending_.reset();
    }
    return code;
  }

 private:
  std::shared_ptr<const SystemSnapshot> pending_;
  std::size_t needed_ = 0;
};

class LinuxIpHelper final : public iphlp::OffsetIpHelper {
 public:
  LinuxIpHelper(std::function<SystemSnapshot()> take, const iphlp::layout::RecordLayout& layout)
      : OffsetIpHelper(layout), shared_(std::move(take)) {}

  std::uint32_t GetNetworkParams(std::byte* buffer, std::uint32_t* size) override {
    return params_.Answer(
        buffer, size, shared_, SharedSnapshot::kParams,
        [](const SystemSnapshot& /*s*/) { return iphlp::layout::kNoError; },
        [this](const SystemSnapshot& s) { return iphlp::NetworkParamsSize(s.params, Layout()); },
        [this](const SystemSnapshot& s, std::span<std::byte> out) {
          iphlp::WriteNetworkParams(s.params, Layout(), out, 0);
        });
  }

  std::uint32_t GetAdaptersInfo(std::byte* buffer, std::uint32_t* size) override {
    return adapters_.Answer(
        buffer, size, shared_, SharedSnapshot::kAdapters,
        [](const SystemSnapshot& s) { return s.adaptersFailure; },
        [this](const SystemSnapshot& s) { return iphlp::AdaptersSize(s.adapters, Layout()); },
        [this](const SystemSnapshot& s, std::span<std::byte> out) {
          iphlp::WriteAdapters(s.adapters, Layout(), out, 0);
        });
  }

 private:
  SharedSnapshot shared_;
  QueryState params_;
  QueryState adapters_;
};

}  // namespace

std::unique_ptr<iphlp::IpHelper> SnapshotIpHelper(std::function<SystemSnapshot()> takeSnapshot,
                                                  const iphlp::layout::RecordLayout& layout) {
  return std::make_unique<LinuxIpHelper>(std::move(takeSnapshot), layout);
}

}  // namespace addrvue::linux_source

namespace iphlp {

std::unique_ptr<IpHelper> SystemIpHelper() {
  return addrvue::linux_source::SnapshotIpHelper(
      [] { return addrvue::linux_source::TakeSnapshot(addrvue::linux_source::SystemRoot{}); });
}

}  // namespace iphlp
