// An IP Helper that answers from byte images a test writes, in the platform's 32-bit layout with
// Next references as offsets, and with whatever result codes the test chooses for each call.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/ip_helper.h"
#include "platform/ip_helper_encoder.h"

namespace addrvue::testing {

struct ScriptedQuery {
  iphlp::ResultImage image;
  // When set, the sizing call answers this code and the image's size.
  std::optional<std::uint32_t> sizingCode;
  // When set, the fill call answers this code and writes nothing.
  std::optional<std::uint32_t> fillCode;
};

class ScriptedIpHelper final : public iphlp::OffsetIpHelper {
 public:
  // With realAddresses, each Next reference is written as the address it leads to in the
  // caller's buffer, as the system's IP Helper of a 32-bit process writes it.
  ScriptedIpHelper(ScriptedQuery params, ScriptedQuery adapters, bool realAddresses = false)
      : params_(std::move(params)), adapters_(std::move(adapters)), realAddresses_(realAddresses) {}

  std::uint32_t GetNetworkParams(std::byte* buffer, std::uint32_t* size) override {
    return Answer(params_, buffer, size);
  }
  std::uint32_t GetAdaptersInfo(std::byte* buffer, std::uint32_t* size) override {
    return Answer(adapters_, buffer, size);
  }

  // The buffer sizes each call was given (0 for no buffer), in call order.
  std::vector<std::uint32_t> paramsCalls;
  std::vector<std::uint32_t> adaptersCalls;

 private:
  std::uint32_t Answer(const ScriptedQuery& query, std::byte* buffer, std::uint32_t* size);

  ScriptedQuery params_;
  ScriptedQuery adapters_;
  bool realAddresses_;
};

}  // namespace addrvue::testing
