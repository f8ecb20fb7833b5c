#include "platform/linux/linux_ip_helper.h"

#include <array>
#include <optional>

#include "platform/ip_helper_encoder.h"
#include "platform/ip_helper_layout.h"
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

  const SystemSnapshot& For(Query query) {
    if (!snapshot_ || used_[query]) {
      snapshot_ = take_();
      used_ = {};
    }
    used_[query] = true;
    return *snapshot_;
  }

 private:
  std::function<SystemSnapshot()> take_;
  std::optional<SystemSnapshot> snapshot_;
  std::array<bool, 2> used_{};
};

// One query's side of the two-call protocol.
class QueryState {
 public:
  template <typename Encode>
  std::uint32_t Answer(std::byte* buffer, std::uint32_t* size, SharedSnapshot& shared,
                       SharedSnapshot::Query query, Encode encode) {
    if (size == nullptr) {
      return iphlp::layout::kErrorInvalidParameter;
    }
    if (buffer == nullptr || !pending_) {
      pending_ = encode(shared.For(query));
    }
    const std::uint32_t code = iphlp::AnswerQuery(*pending_, buffer, size);
    // Only an answer that asks for a larger buffer is followed by a fill of the same snapshot.
    if (code != iphlp::layout::kErrorBufferOverflow) {
      pending_.reset();
    }
    return code;
  }

 private:
  std::optional<iphlp::ResultImage> pending_;
};

class LinuxIpHelper final : public iphlp::OffsetIpHelper {
 public:
  LinuxIpHelper(std::function<SystemSnapshot()> take, const iphlp::layout::RecordLayout& layout)
      : OffsetIpHelper(layout), shared_(std::move(take)) {}

  std::uint32_t GetNetworkParams(std::byte* buffer, std::uint32_t* size) override {
    return params_.Answer(buffer, size, shared_, SharedSnapshot::kParams,
                          [this](const SystemSnapshot& snapshot) {
                            return iphlp::EncodeNetworkParams(snapshot.params, Layout());
                          });
  }

  std::uint32_t GetAdaptersInfo(std::byte* buffer, std::uint32_t* size) override {
    return adapters_.Answer(buffer, size, shared_, SharedSnapshot::kAdapters,
                            [this](const SystemSnapshot& snapshot) {
                              return iphlp::EncodeAdapters(snapshot.adapters, Layout());
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
