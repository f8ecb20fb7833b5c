// Brings platform records out of one result buffer into the report's mirrors, in the record
// layout the buffer's writer used. Every read stays inside the buffer: the first record is copied
// as far as the buffer reaches (the rest of the mirror stays zero), and a record or node reached
// through a Next reference is read only when it lies whole inside the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "platform/ip_helper.h"
#include "report/records.h"

namespace addrvue {

class RecordReader {
 public:
  RecordReader(std::span<const std::byte> buffer, const iphlp::layout::RecordLayout& layout,
               const iphlp::ReferenceResolver& references, const iphlp::TextDecoder& text)
      : buffer_(buffer), layout_(layout), references_(references), text_(text) {}
  // A reader of one of the helper's result buffers, read as the helper says it wrote them.
  RecordReader(std::span<const std::byte> buffer, const iphlp::IpHelper& ipHelper)
      : RecordReader(buffer, ipHelper.Layout(), ipHelper.References(), ipHelper.Text()) {}

  [[nodiscard]] FixedInfoRecord FirstFixedInfo() const;
  [[nodiscard]] AdapterInfoRecord FirstAdapter() const;

  // The offset a non-zero reference leads to, when a whole record of recordSize bytes lies there
  // inside the buffer.
  [[nodiscard]] std::optional<std::size_t> Resolve(Reference reference,
                                                   std::size_t recordSize) const;
  // A record at an offset, as far as the buffer reaches (whole, when Resolve gave the offset).
  [[nodiscard]] AddrStringRecord NodeAt(std::size_t offset) const;
  [[nodiscard]] AdapterInfoRecord AdapterAt(std::size_t offset) const;

  [[nodiscard]] std::size_t Size() const { return buffer_.size(); }
  [[nodiscard]] const iphlp::layout::RecordLayout& Layout() const { return layout_; }

 private:
  [[nodiscard]] std::span<const std::byte> From(std::size_t offset) const;

  std::span<const std::byte> buffer_;
  const iphlp::layout::RecordLayout& layout_;
  const iphlp::ReferenceResolver& references_;
  const iphlp::TextDecoder& text_;
};

// Follows one chain of Next references through a buffer. It ends a chain at a reference that does
// not lead to a whole record, at a record it has already visited, and after as many steps as
// records fit in the buffer, so no buffer can make a walk read outside it or go on for ever.
class ChainWalk {
 public:
  ChainWalk(const RecordReader& reader, std::size_t recordSize, std::size_t firstOffset)
      : reader_(reader), recordSize_(recordSize), visited_{firstOffset} {}

  // The offset of the next record, or nothing when the chain ends here.
  std::optional<std::size_t> Follow(Reference reference);

 private:
  const RecordReader& reader_;
  std::size_t recordSize_;
  std::vector<std::size_t> visited_;
};

// Every node of a list: `first`, which lies at `firstOffset` in the buffer, then each node its
// Next leads to, as far as the chain walk follows it.
std::vector<AddrStringRecord> ListNodes(const RecordReader& reader, const AddrStringRecord& first,
                                        std::size_t firstOffset);

// Calls `visit` with every adapter record and its offset, in list order: the first record, then
// each one its Next leads to, as far as the chain walk follows it.
void ForEachAdapter(const RecordReader& reader,
                    const std::function<void(const AdapterInfoRecord&, std::size_t)>& visit);

}  // namespace addrvue
