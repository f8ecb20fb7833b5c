// An IP Helper that answers from byte images a test writes, in the layout each image was written
// in, and with whatever result codes the test chooses for each call.
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

// How the answers' references and texts are written. Each reference is referenceBase plus the
// offset it leads to; with no base, the address it leads to in the caller's buffer, as the
// system's IP Helper writes it. Texts are read with `text`.
struct ScriptedWriting {
  std::optional<std::uint64_t> referenceBase = 0;
  const iphlp::TextDecoder* text = &iphlp::Utf8Text();
};

class ScriptedIpHelper final : public iphlp::IpHelper {
 public:
  // Both images are in one layout, the params image's.
  ScriptedIpHelper(ScriptedQuery params, ScriptedQuery adapters, ScriptedWriting writing = {})
      : params_(std::move(params)),
        adapters_(std::move(adapters)),
        writing_(writing),
        references_(writing.referenceBase) {}

  std::uint32_t GetNetworkParams(std::byte* buffer, std::uint32_t* size) override {
    return Answer(params_, buffer, size);
  }
  std::uint32_t GetAdaptersInfo(std::byte* buffer, std::uint32_t* size) override {
    return Answer(adapters_, buffer, size);
  }

  [[nodiscard]] const iphlp::layout::RecordLayout& Layout() const override {
    return *params_.image.layout;
  }
  [[nodiscard]] const iphlp::ReferenceResolver& References() const override { return references_; }
  [[nodiscard]] const iphlp::TextDecoder& Text() const override { return *writing_.text; }

  // The buffer sizes each call was given (0 for no buffer), in call order.
  std::vector<std::uint32_t> paramsCalls;
  std::vector<std::uint32_t> adaptersCalls;

 private:
  std::uint32_t Answer(const ScriptedQuery& query, std::byte* buffer, std::uint32_t* size);

  ScriptedQuery params_;
  ScriptedQuery adapters_;
  ScriptedWriting writing_;
  iphlp::BasedReferences references_;
};

}  // namespace addrvue::testing
