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
  // When set, the sizing call answers this code (and the size below, or the image's size).
  std::optional<std::uint32_t> sizingCode;
  std::optional<std::uint32_t> sizingSize;
  // When set, the fill call answers this code and writes nothing.
  std::optional<std::uint32_t> fillCode;
};

// Overwrites the 32-bit little-endian Next field at `at` in an image and lists it among the
// image's references.
void Patch32(iphlp::ResultImage& image, std::size_t at, std::uint32_t value);

class ScriptedIpHelper final : public iphlp::OffsetIpHelper {
 public:
  ScriptedIpHelper(ScriptedQuery params, ScriptedQuery adapters)
      : params_(std::move(params)), adapters_(std::move(adapters)) {}

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
};

}  // namespace addrvue::testing
