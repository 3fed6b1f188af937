#pragma once
// Encoding of values inside the engine records: little-endian integers, IEEE
// single floats, booleans, and texts as UTF-16LE ended by a zero unit. Texts
// outside the records are GBK (code page 936). Pure functions, any thread.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/NamedFieldRecord.h"

namespace engine {

std::string Int32Bytes(std::int32_t value);
std::string Int64Bytes(std::int64_t value);
std::string FloatBytes(float value);

// Values from the first 4 or 8 bytes; bytes missing from a short field count as zero.
std::int32_t Int32FromBytes(std::string_view bytes);
std::int64_t Int64FromBytes(std::string_view bytes);
float FloatFromBytes(std::string_view bytes);
// True when any of the first 4 bytes is not zero.
bool BoolFromBytes(std::string_view bytes);

// The UTF-16LE bytes of units with a terminating zero unit, for a field of
// width bytes: a text that does not fit is cut to the units that fit with the
// terminator, never between the two halves of a surrogate pair. Empty when the
// field cannot even hold the terminator.
std::string WideFieldBytes(std::u16string_view units, std::int64_t width);
std::string WideFieldFromGbk(std::string_view gbk, std::int64_t width);
// The GBK text of a field's UTF-16LE units up to the first zero unit, or up to
// the end of the field when it holds none.
std::string GbkFromWideField(std::string_view fieldBytes);

// Typed reads and writes of one named field. A missing field reads as 0, false
// or the empty text, and a write to it gives false.
std::int32_t ReadInt32(const NamedFieldRecord& record, std::string_view name);
std::int64_t ReadInt64(const NamedFieldRecord& record, std::string_view name);
float ReadFloat(const NamedFieldRecord& record, std::string_view name);
bool ReadBool(const NamedFieldRecord& record, std::string_view name);
std::string ReadText(const NamedFieldRecord& record, std::string_view name);
bool WriteInt32(NamedFieldRecord& record, std::string_view name, std::int32_t value);
bool WriteInt64(NamedFieldRecord& record, std::string_view name, std::int64_t value);
bool WriteFloat(NamedFieldRecord& record, std::string_view name, float value);
// A single byte, 1 or 0: the other bytes of a wider field stay as they are.
bool WriteByteBool(NamedFieldRecord& record, std::string_view name, bool value);
// The text as UTF-16LE with its terminator, cut to the field's width.
bool WriteText(NamedFieldRecord& record, std::string_view name, std::string_view gbk);

}  // namespace engine
