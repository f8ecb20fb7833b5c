// Writes query answers in either record layout, and answers a query from such an image with the
// platform's two-call protocol.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "platform/ip_helper_layout.h"
#include "platform/ip_helper_records.h"

namespace iphlp {

// One query's answer as bytes in `layout`. Every reference field holds the byte offset of the
// record or node it leads to (0 ends a list); `references` lists where those fields are, so that
// a writer can turn the offsets into addresses.
struct ResultImage {
  std::vector<std::byte> bytes;
  std::vector<std::size_t> references;
  const layout::RecordLayout* layout = &layout::k32Bit;
};

// The bytes an answer takes in `layout`.
std::size_t NetworkParamsSize(const NetworkParams& params, const layout::RecordLayout& layout);
std::size_t AdaptersSize(const std::vector<AdapterInfo>& adapters,
                         const layout::RecordLayout& layout);

// Write an answer straight into `out`, which holds exactly the size above: every byte of it is
// written, whatever it held before, and each reference as referenceBase plus the offset it leads
// to. The same bytes as the images below, with no image between.
void WriteNetworkParams(const NetworkParams& params, const layout::RecordLayout& layout,
                        std::span<std::byte> out, std::uint64_t referenceBase);
void WriteAdapters(const std::vector<AdapterInfo>& adapters, const layout::RecordLayout& layout,
                   std::span<std::byte> out, std::uint64_t referenceBase);

// FIXED_INFO first, then one IP_ADDR_STRING for each further DNS server.
ResultImage EncodeNetworkParams(const NetworkParams& params, const layout::RecordLayout& layout);

// Every IP_ADAPTER_INFO first, in order, then the further nodes of their lists. No adapters give
// an empty image. A lease time the layout's time_t cannot hold is written as the nearest it can.
ResultImage EncodeAdapters(const std::vector<AdapterInfo>& adapters,
                           const layout::RecordLayout& layout);

// Writes `value` little-endian into the image's `width` bytes at `at` (a reference field
// overwritten, for instance).
void WriteInteger(ResultImage& image, std::size_t at, std::size_t width, std::uint64_t value);

// Answers one call of the two-call protocol for an answer of `needed` bytes: no size gives 87
// (invalid parameter), no bytes 232 (no data), no buffer or too small a buffer 111 with *size set
// to what is needed, and otherwise 0 after `write` has filled the buffer's first `needed` bytes.
std::uint32_t AnswerSizedQuery(std::size_t needed, std::byte* buffer, std::uint32_t* size,
                               const std::function<void(std::span<std::byte>)>& write);

// Answers one call of the two-call protocol from an image: no size gives 87 (invalid
// parameter), an empty image 232 (no data), no buffer or too small a buffer 111 with *size set
// to what is needed, and otherwise 0 with the image copied into the buffer. Each non-zero
// reference is written as referenceBase plus its offset.
std::uint32_t AnswerQuery(const ResultImage& image, std::byte* buffer, std::uint32_t* size,
                          std::uint64_t referenceBase = 0);

}  // namespace iphlp
