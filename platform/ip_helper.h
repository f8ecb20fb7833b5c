// The IP Helper seam: the two queries the report asks, in the platform's own calling form, and
// what the report needs to read their answers (where a Next reference leads, and which character
// each byte of the platform's single-byte text stands for).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace iphlp {

// One character for each byte value of the platform's single-byte (ANSI) text.
using AnsiCodePage = std::array<char16_t, 256>;

class IpHelper {
 public:
  IpHelper() = default;
  IpHelper(const IpHelper&) = delete;
  IpHelper& operator=(const IpHelper&) = delete;
  IpHelper(IpHelper&&) = delete;
  IpHelper& operator=(IpHelper&&) = delete;
  virtual ~IpHelper() = default;

  // Both calls keep the platform's protocol: with no buffer (or one smaller than *size says is
  // needed) they answer 111 and set *size; with a large enough buffer they fill it and answer 0;
  // any other answer is a failure code.
  virtual std::uint32_t GetNetworkParams(std::byte* buffer, std::uint32_t* size) = 0;
  virtual std::uint32_t GetAdaptersInfo(std::byte* buffer, std::uint32_t* size) = 0;

  // The offset from bufferStart that a non-zero Next reference found in that buffer stands for,
  // or nothing when the reference cannot point into it. The caller still checks the offset
  // against the buffer's size.
  [[nodiscard]] virtual std::optional<std::size_t> OffsetOfReference(
      std::uint32_t reference, const std::byte* bufferStart) const = 0;

  [[nodiscard]] virtual const AnsiCodePage& TextCodePage() const = 0;
};

// The code page in which byte n is character n (ISO 8859-1), which the Linux sources write.
const AnsiCodePage& Latin1CodePage();

// An IP Helper whose buffers hold each Next reference as the byte offset itself and Latin-1
// text: the Linux source, and the scripted sources of the tests.
class OffsetIpHelper : public IpHelper {
 public:
  [[nodiscard]] std::optional<std::size_t> OffsetOfReference(
      std::uint32_t reference, const std::byte* /*bufferStart*/) const final {
    return reference;
  }
  [[nodiscard]] const AnsiCodePage& TextCodePage() const final { return Latin1CodePage(); }
};

}  // namespace iphlp
