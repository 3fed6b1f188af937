#include "engine/TaskInfoRecord.h"

#include <array>

#include "engine/FieldCodec.h"

namespace engine {
namespace {

struct FieldLayout {
  std::string_view name;
  std::int32_t width;
};

// In declaration order; the offsets follow from the widths (packed, no padding).
constexpr std::array<FieldLayout, 28> kLayout{{
    {"stat", 4},
    {"fail_code", 4},
    {"szFilename", 520},
    {"szReserved0", 520},
    {"nTotalSize", 8},
    {"nTotalDownload", 8},
    {"fPercent", 4},
    {"nReserved0", 4},
    {"nSrcTotal", 4},
    {"nSrcUsing", 4},
    {"nReserved1", 4},
    {"nReserved2", 4},
    {"nReserved3", 4},
    {"nReserved4", 4},
    {"nReserved5", 8},
    {"nDonationP2P", 8},
    {"nReserved6", 8},
    {"nDonationOrgin", 8},
    {"nDonationP2S", 8},
    {"nReserved7", 8},
    {"nReserved8", 8},
    {"nSpeed", 4},
    {"nSpeedP2S", 4},
    {"nSpeedP2P", 4},
    {"bIsOriginUsable", 1},
    {"fHashPercent", 4},
    {"IsCreatingFile", 4},
    {"reserved", 256},
}};

}  // namespace

void* TaskInfoRecord::Setup() {
  if (fields_.Create(1, 0xCC, kCapacity) == 0) {
    return nullptr;
  }
  for (const FieldLayout& field : kLayout) {
    std::string initial;
    if (field.name == "stat") {
      initial = Int32Bytes(2);
    } else if (field.name == "fail_code") {
      initial = Int32Bytes(0);
    }
    fields_.AddField(field.name, field.width, initial);
  }
  return fields_.Address();
}

std::int32_t TaskInfoRecord::stat() const { return ReadInt32(fields_, "stat"); }
bool TaskInfoRecord::stat(std::int32_t value) { return WriteInt32(fields_, "stat", value); }
std::int32_t TaskInfoRecord::fail_code() const { return ReadInt32(fields_, "fail_code"); }
bool TaskInfoRecord::fail_code(std::int32_t value) {
  return WriteInt32(fields_, "fail_code", value);
}
std::string TaskInfoRecord::szFilename() const { return ReadText(fields_, "szFilename"); }
bool TaskInfoRecord::szFilename(std::string_view value) {
  return WriteText(fields_, "szFilename", value);
}
std::int64_t TaskInfoRecord::nTotalSize() const { return ReadInt64(fields_, "nTotalSize"); }
bool TaskInfoRecord::nTotalSize(std::int64_t value) {
  return WriteInt64(fields_, "nTotalSize", value);
}
std::int64_t TaskInfoRecord::nTotalDownload() const { return ReadInt64(fields_, "nTotalDownload"); }
bool TaskInfoRecord::nTotalDownload(std::int64_t value) {
  return WriteInt64(fields_, "nTotalDownload", value);
}
float TaskInfoRecord::fPercent() const { return ReadFloat(fields_, "fPercent"); }
bool TaskInfoRecord::fPercent(float value) { return WriteFloat(fields_, "fPercent", value); }
std::int32_t TaskInfoRecord::nSrcTotal() const { return ReadInt32(fields_, "nSrcTotal"); }
bool TaskInfoRecord::nSrcTotal(std::int32_t value) {
  return WriteInt32(fields_, "nSrcTotal", value);
}
std::int32_t TaskInfoRecord::nSrcUsing() const { return ReadInt32(fields_, "nSrcUsing"); }
bool TaskInfoRecord::nSrcUsing(std::int32_t value) {
  return WriteInt32(fields_, "nSrcUsing", value);
}
std::int64_t TaskInfoRecord::nDonationP2P() const { return ReadInt64(fields_, "nDonationP2P"); }
bool TaskInfoRecord::nDonationP2P(std::int64_t value) {
  return WriteInt64(fields_, "nDonationP2P", value);
}
std::int64_t TaskInfoRecord::nDonationOrgin() const { return ReadInt64(fields_, "nDonationOrgin"); }
bool TaskInfoRecord::nDonationOrgin(std::int64_t value) {
  return WriteInt64(fields_, "nDonationOrgin", value);
}
std::int64_t TaskInfoRecord::nDonationP2S() const { return ReadInt64(fields_, "nDonationP2S"); }
bool TaskInfoRecord::nDonationP2S(std::int64_t value) {
  return WriteInt64(fields_, "nDonationP2S", value);
}
std::int32_t TaskInfoRecord::nSpeed() const { return ReadInt32(fields_, "nSpeed"); }
bool TaskInfoRecord::nSpeed(std::int32_t value) { return WriteInt32(fields_, "nSpeed", value); }
std::int32_t TaskInfoRecord::nSpeedP2S() const { return ReadInt32(fields_, "nSpeedP2S"); }
bool TaskInfoRecord::nSpeedP2S(std::int32_t value) {
  return WriteInt32(fields_, "nSpeedP2S", value);
}
std::int32_t TaskInfoRecord::nSpeedP2P() const { return ReadInt32(fields_, "nSpeedP2P"); }
bool TaskInfoRecord::nSpeedP2P(std::int32_t value) {
  return WriteInt32(fields_, "nSpeedP2P", value);
}
bool TaskInfoRecord::bIsOriginUsable() const { return ReadBool(fields_, "bIsOriginUsable"); }
bool TaskInfoRecord::bIsOriginUsable(bool value) {
  // Four bytes as for a 32-bit boolean; the one-byte field keeps the first.
  return WriteInt32(fields_, "bIsOriginUsable", value ? 1 : 0);
}
std::int32_t TaskInfoRecord::IsCreatingFile() const { return ReadInt32(fields_, "IsCreatingFile"); }
bool TaskInfoRecord::IsCreatingFile(std::int32_t value) {
  return WriteInt32(fields_, "IsCreatingFile", value);
}

}  // namespace engine
