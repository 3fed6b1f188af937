#pragma once
// The task state that the engine's XL_QueryTaskInfoEx fills: 28 packed fields,
// 1429 bytes in a block of 1500 (fHashPercent at the odd offset 1165). Setup
// starts stat at 2 (stopped) and fail_code at 0; every other field starts zero.
//
// The program has one instance, used on the UI thread only. Every Setup moves
// the block: fetch Address() right before each engine call and never keep it.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/NamedFieldRecord.h"

namespace engine {

class TaskInfoRecord {
 public:
  static constexpr std::int32_t kCapacity = 1500;

  TaskInfoRecord() = default;
  TaskInfoRecord(const TaskInfoRecord&) = delete;
  TaskInfoRecord& operator=(const TaskInfoRecord&) = delete;

  // Rebuilds the record; the block address, or nullptr when no block was
  // obtained (the record then has no fields).
  void* Setup();
  void Release() { fields_.Release(); }
  void* Address() const { return fields_.Address(); }
  std::int32_t UsedSize() const { return fields_.UsedSize(); }

  // Without a value: the field's value (0, false or empty without a Setup).
  // With a value: stores it, true when the field exists.
  std::int32_t stat() const;
  bool stat(std::int32_t value);
  std::int32_t fail_code() const;
  bool fail_code(std::int32_t value);
  std::string szFilename() const;
  bool szFilename(std::string_view value);
  std::int64_t nTotalSize() const;
  bool nTotalSize(std::int64_t value);
  std::int64_t nTotalDownload() const;
  bool nTotalDownload(std::int64_t value);
  float fPercent() const;
  bool fPercent(float value);
  std::int32_t nSrcTotal() const;
  bool nSrcTotal(std::int32_t value);
  std::int32_t nSrcUsing() const;
  bool nSrcUsing(std::int32_t value);
  std::int64_t nDonationP2P() const;
  bool nDonationP2P(std::int64_t value);
  std::int64_t nDonationOrgin() const;
  bool nDonationOrgin(std::int64_t value);
  std::int64_t nDonationP2S() const;
  bool nDonationP2S(std::int64_t value);
  std::int32_t nSpeed() const;
  bool nSpeed(std::int32_t value);
  std::int32_t nSpeedP2S() const;
  bool nSpeedP2S(std::int32_t value);
  std::int32_t nSpeedP2P() const;
  bool nSpeedP2P(std::int32_t value);
  // A one-byte field: true when that byte is not zero.
  bool bIsOriginUsable() const;
  bool bIsOriginUsable(bool value);
  std::int32_t IsCreatingFile() const;
  bool IsCreatingFile(std::int32_t value);

 private:
  NamedFieldRecord fields_;
};

}  // namespace engine
