#pragma once
// A record of named fields in one zero-filled memory block. Fields are laid out
// one after another in the order they are declared, each padded to a multiple of
// the alignment with the fill byte, and found again by the CRC-32 of their name
// (names themselves are never compared: two names with the same checksum count
// as one). The block stays at its address until Release or the next Create.
//
// Not thread-safe: the program's records are shared objects used on the UI
// thread only.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

class NamedFieldRecord {
 public:
  NamedFieldRecord() = default;
  ~NamedFieldRecord() = default;
  NamedFieldRecord(const NamedFieldRecord&) = delete;
  NamedFieldRecord& operator=(const NamedFieldRecord&) = delete;

  // Empties the record and allocates a zero-filled block of capacity bytes.
  // Returns the block address, or 0 when no block was obtained (also for an
  // alignment or capacity below 1).
  std::uintptr_t Create(std::int32_t alignment = 1, std::uint8_t fillByte = 0xCC,
                        std::int32_t capacity = 1024);
  // Drops every field and frees the block; the record may be created again.
  void Release();

  // Declares a field of size bytes at the current end of the layout, copying at
  // most size bytes of initialValue into it. Refuses (false, nothing changes) a
  // name whose checksum is already declared, a record without a block, a
  // negative size, and a field whose width and padding would pass the end of the
  // block: callers' layouts must fit their capacity, and writing past the block
  // would corrupt memory.
  bool AddField(std::string_view name, std::int32_t size, std::string_view initialValue = {});
  // 1-based position of the field in declaration order, 0 when there is none.
  int FindField(std::string_view name) const;
  // A copy of the field's bytes, exactly its width; empty when there is none.
  std::string ReadField(std::string_view name) const;
  // Stores at most the field's width of bytes at its start; false when there is
  // no such field.
  bool WriteField(std::string_view name, std::string_view bytes);

  std::int32_t UsedSize() const { return usedSize_; }
  void* Address() const { return block_.get(); }

 private:
  struct FieldEntry {
    std::string name;
    std::int32_t offset;  // from the start of the block
    std::int32_t size;
    std::uint32_t checksum;
  };

  const FieldEntry* Find(std::string_view name) const;

  std::uint8_t fillByte_ = 0xCC;
  std::int32_t usedSize_ = 0;
  std::unique_ptr<unsigned char[]> block_;
  std::int32_t capacity_ = 0;
  std::vector<FieldEntry> fields_;
  std::int32_t alignment_ = 1;
};

}  // namespace engine
