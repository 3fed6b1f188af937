#include "engine/NamedFieldRecord.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "text/Text.h"

namespace engine {

std::uintptr_t NamedFieldRecord::Create(std::int32_t alignment, std::uint8_t fillByte,
                                        std::int32_t capacity) {
  Release();
  if (alignment < 1 || capacity < 1) {
    return 0;
  }
  alignment_ = alignment;
  fillByte_ = fillByte;
  block_.reset(new (std::nothrow) unsigned char[static_cast<std::size_t>(capacity)]());
  if (!block_) {
    return 0;
  }
  capacity_ = capacity;
  return reinterpret_cast<std::uintptr_t>(block_.get());
}

void NamedFieldRecord::Release() {
  usedSize_ = 0;
  fields_.clear();
  block_.reset();
  capacity_ = 0;
}

bool NamedFieldRecord::AddField(std::string_view name, std::int32_t size,
                                std::string_view initialValue) {
  if (!block_ || size < 0 || FindField(name) != 0) {
    return false;
  }
  std::int64_t padding = size % alignment_;
  if (padding != 0) {
    padding = alignment_ - padding;
  }
  if (std::int64_t{usedSize_} + size + padding > capacity_) {
    return false;
  }
  unsigned char* field = block_.get() + usedSize_;
  const std::size_t copied = std::min(initialValue.size(), static_cast<std::size_t>(size));
  if (copied > 0) {
    std::memcpy(field, initialValue.data(), copied);
  }
  std::memset(field + size, fillByte_, static_cast<std::size_t>(padding));
  fields_.push_back(FieldEntry{std::string(name), usedSize_, size, text::Crc32(name)});
  usedSize_ += static_cast<std::int32_t>(size + padding);
  return true;
}

const NamedFieldRecord::FieldEntry* NamedFieldRecord::Find(std::string_view name) const {
  const std::uint32_t checksum = text::Crc32(name);
  for (const FieldEntry& entry : fields_) {
    if (entry.checksum == checksum) {
      return &entry;
    }
  }
  return nullptr;
}

int NamedFieldRecord::FindField(std::string_view name) const {
  const FieldEntry* entry = Find(name);
  return entry == nullptr ? 0 : static_cast<int>(entry - fields_.data()) + 1;
}

std::string NamedFieldRecord::ReadField(std::string_view name) const {
  const FieldEntry* entry = Find(name);
  if (entry == nullptr) {
    return {};
  }
  return std::string(reinterpret_cast<const char*>(block_.get()) + entry->offset,
                     static_cast<std::size_t>(entry->size));
}

bool NamedFieldRecord::WriteField(std::string_view name, std::string_view bytes) {
  const FieldEntry* entry = Find(name);
  if (entry == nullptr) {
    return false;
  }
  const std::size_t copied = std::min(bytes.size(), static_cast<std::size_t>(entry->size));
  if (copied > 0) {
    std::memcpy(block_.get() + entry->offset, bytes.data(), copied);
  }
  return true;
}

}  // namespace engine
