// The IP Helper seam: the two queries the report asks, in the platform's own calling form, and
// what the report needs to read their answers: the record layout the buffers are written in,
// where a reference leads, and what the bytes of a text field say.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/ip_helper_layout.h"

namespace iphlp {

// Where the references (Next, CurrentDnsServer) of one writer's buffers lead.
class ReferenceResolver {
 public:
  ReferenceResolver() = default;
  ReferenceResolver(const ReferenceResolver&) = delete;
  ReferenceResolver& operator=(const ReferenceResolver&) = delete;
  ReferenceResolver(ReferenceResolver&&) = delete;
  ReferenceResolver& operator=(ReferenceResolver&&) = delete;
  virtual ~ReferenceResolver() = default;

  // The offset from bufferStart that a non-zero reference found in that buffer stands for, or
  // nothing when the reference cannot point into it. The reference is the field's whole value,
  // unsigned, at the layout's pointer width. The caller still checks the offset against the
  // buffer's size.
  [[nodiscard]] virtual std::optional<std::size_t> OffsetOfReference(
      std::uint64_t reference, const std::byte* bufferStart) const = 0;
};

// References written as a base plus the offset they lead to.
class BasedReferences final : public ReferenceResolver {
 public:
  // With a base, every reference is base + offset (the Linux source writes base 0: the offset
  // itself, never 0 since offset 0 holds the first record). Without one, the base is the
  // buffer's own address, as the system's IP Helper writes real pointers into the buffer.
  explicit BasedReferences(std::optional<std::uint64_t> base) : base_(base) {}

  [[nodiscard]] std::optional<std::size_t> OffsetOfReference(
      std::uint64_t reference, const std::byte* bufferStart) const override;

 private:
  std::optional<std::uint64_t> base_;
};

// The text of the records' fixed-width text fields.
class TextDecoder {
 public:
  TextDecoder() = default;
  TextDecoder(const TextDecoder&) = delete;
  TextDecoder& operator=(const TextDecoder&) = delete;
  TextDecoder(TextDecoder&&) = delete;
  TextDecoder& operator=(TextDecoder&&) = delete;
  virtual ~TextDecoder() = default;

  // The characters of one field's text: its bytes up to its first NUL, which the caller has cut
  // within the field, so `text` holds no NUL. Decoded whole, so that a character of several
  // bytes stays one character; bytes that say nothing in the encoding give U+FFFD.
  [[nodiscard]] virtual std::u16string Decode(std::span<const std::byte> text) const = 0;
};

// Record text written as UTF-8: the Linux source's.
const TextDecoder& Utf8Text();

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

  // How the buffers these calls fill are read: the layout they are written in, where their
  // references lead, and the encoding of their text.
  [[nodiscard]] virtual const layout::RecordLayout& Layout() const = 0;
  [[nodiscard]] virtual const ReferenceResolver& References() const = 0;
  [[nodiscard]] virtual const TextDecoder& Text() const = 0;
};

// An IP Helper whose buffers hold each reference as the byte offset itself and UTF-8 text, in a
// layout of its choice (32-bit unless told otherwise): the Linux source and the fuzz targets.
class OffsetIpHelper : public IpHelper {
 public:
  explicit OffsetIpHelper(const layout::RecordLayout& layout = layout::k32Bit) : layout_(layout) {}

  [[nodiscard]] const layout::RecordLayout& Layout() const final { return layout_; }
  [[nodiscard]] const ReferenceResolver& References() const final { return references_; }
  [[nodiscard]] const TextDecoder& Text() const final { return Utf8Text(); }

 private:
  const layout::RecordLayout& layout_;
  BasedReferences references_{0};
};

}  // namespace iphlp
