// Writes query answers in the platform's 32-bit record layout, and answers a query from such an
// image with the platform's two-call protocol.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/ip_helper_records.h"

namespace iphlp {

// One query's answer as bytes. Every Next field holds the byte offset of the record or node it
// leads to (0 ends a list); `references` lists where those fields are, so that a writer that
// needs real addresses can turn the offsets into them.
struct ResultImage {
  std::vector<std::byte> bytes;
  std::vector<std::size_t> references;
};

// FIXED_INFO first, then one IP_ADDR_STRING for each further DNS server.
ResultImage EncodeNetworkParams(const NetworkParams& params);

// Every IP_ADAPTER_INFO first, in order, then the further nodes of their lists. No adapters give
// an empty image.
ResultImage EncodeAdapters(const std::vector<AdapterInfo>& adapters);

// Answers one call of the two-call protocol from an image: no size gives 87 (invalid
// parameter), an empty image 232 (no data), no buffer or too small a buffer 111 with *size set
// to what is needed, and otherwise 0 with the image copied into the buffer. Each non-zero
// reference is written as referenceBase plus its offset.
std::uint32_t AnswerQuery(const ResultImage& image, std::byte* buffer, std::uint32_t* size,
                          std::uint32_t referenceBase = 0);

}  // namespace iphlp
