#include "engine/FieldCodec.h"

#include <bit>

#include "text/Text.h"

namespace engine {
namespace {

std::string LittleEndian(std::uint64_t value, int width) {
  std::string bytes(static_cast<std::size_t>(width), '\0');
  for (int i = 0; i < width; ++i) {
    bytes[static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
  return bytes;
}

std::uint64_t FromLittleEndian(std::string_view bytes, std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < width && i < bytes.size(); ++i) {
    value |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
  }
  return value;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

}  // namespace

std::string Int32Bytes(std::int32_t value) {
  return LittleEndian(static_cast<std::uint32_t>(value), 4);
}

std::string Int64Bytes(std::int64_t value) {
  return LittleEndian(static_cast<std::uint64_t>(value), 8);
}

std::string FloatBytes(float value) { return LittleEndian(std::bit_cast<std::uint32_t>(value), 4); }

std::int32_t Int32FromBytes(std::string_view bytes) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(FromLittleEndian(bytes, 4)));
}

std::int64_t Int64FromBytes(std::string_view bytes) {
  return static_cast<std::int64_t>(FromLittleEndian(bytes, 8));
}

float FloatFromBytes(std::string_view bytes) {
  return std::bit_cast<float>(static_cast<std::uint32_t>(FromLittleEndian(bytes, 4)));
}

bool BoolFromBytes(std::string_view bytes) { return FromLittleEndian(bytes, 4) != 0; }

std::string WideFieldBytes(std::u16string_view units, std::int64_t width) {
  if (width < 2) {
    return {};
  }
  const std::size_t room = static_cast<std::size_t>(width / 2 - 1);
  std::size_t kept = units.size();
  if (kept > room) {
    kept = room;
    // Keep both halves of a pair or neither: a lone high surrogate at the end
    // would turn into garbage when the engine converts the name.
    if (kept > 0 && IsHighSurrogate(units[kept - 1])) {
      --kept;
    }
  }
  std::string bytes;
  bytes.reserve(2 * (kept + 1));
  for (std::size_t i = 0; i < kept; ++i) {
    bytes.push_back(static_cast<char>(units[i] & 0xFF));
    bytes.push_back(static_cast<char>(units[i] >> 8));
  }
  bytes.append(2, '\0');
  return bytes;
}

std::string WideFieldFromGbk(std::string_view gbk, std::int64_t width) {
  return WideFieldBytes(text::GbkToUtf16(gbk), width);
}

std::string GbkFromWideField(std::string_view fieldBytes) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < fieldBytes.size(); i += 2) {
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(fieldBytes[i]) |
                                            static_cast<unsigned char>(fieldBytes[i + 1]) << 8);
    if (unit == 0) {
      break;
    }
    units.push_back(unit);
  }
  return text::Utf16ToGbk(units);
}

std::int32_t ReadInt32(const NamedFieldRecord& record, std::string_view name) {
  return Int32FromBytes(record.ReadField(name));
}

std::int64_t ReadInt64(const NamedFieldRecord& record, std::string_view name) {
  return Int64FromBytes(record.ReadField(name));
}

float ReadFloat(const NamedFieldRecord& record, std::string_view name) {
  return FloatFromBytes(record.ReadField(name));
}

bool ReadBool(const NamedFieldRecord& record, std::string_view name) {
  return BoolFromBytes(record.ReadField(name));
}

std::string ReadText(const NamedFieldRecord& record, std::string_view name) {
  return GbkFromWideField(record.ReadField(name));
}

bool WriteInt32(NamedFieldRecord& record, std::string_view name, std::int32_t value) {
  return record.WriteField(name, Int32Bytes(value));
}

bool WriteInt64(NamedFieldRecord& record, std::string_view name, std::int64_t value) {
  return record.WriteField(name, Int64Bytes(value));
}

bool WriteFloat(NamedFieldRecord& record, std::string_view name, float value) {
  return record.WriteField(name, FloatBytes(value));
}

bool WriteByteBool(NamedFieldRecord& record, std::string_view name, bool value) {
  return record.WriteField(name, std::string(1, value ? '\1' : '\0'));
}

bool WriteText(NamedFieldRecord& record, std::string_view name, std::string_view gbk) {
  const std::int64_t width = static_cast<std::int64_t>(record.ReadField(name).size());
  return record.WriteField(name, WideFieldFromGbk(gbk, width));
}

}  // namespace engine
