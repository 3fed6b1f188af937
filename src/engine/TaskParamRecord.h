#pragma once
// The task description that the engine's XL_CreateTask reads: 16 packed fields,
// 26564 bytes in a block of 27000. Texts are GBK outside and UTF-16LE inside,
// with their terminator; a text longer than its field is cut at a character
// boundary and keeps the terminator. Booleans are one byte, the lowest of their
// 4-byte field.
//
// The program has one instance, used on the UI thread only. Every Setup moves
// the block: fetch Address() right before each engine call and never keep it.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/NamedFieldRecord.h"

namespace engine {

class TaskParamRecord {
 public:
  static constexpr std::int32_t kCapacity = 27000;

  TaskParamRecord() = default;
  TaskParamRecord(const TaskParamRecord&) = delete;
  TaskParamRecord& operator=(const TaskParamRecord&) = delete;

  // Rebuilds the record from the task's values; the block address, or nullptr
  // when no block was obtained (the record then has no fields).
  void* Setup(std::string_view taskAddress, std::string_view referrer, std::string_view cookieText,
              std::string_view fileName, std::string_view saveDirectory, bool isOnlyOriginal,
              bool disableAutoRename, bool isResume = true);
  void Release() { fields_.Release(); }
  void* Address() const { return fields_.Address(); }
  std::int32_t UsedSize() const { return fields_.UsedSize(); }

  // Without a value: the field's value (empty or false without a Setup). With a
  // value: stores it, true when the field exists.
  std::string szTaskUrl() const;
  bool szTaskUrl(std::string_view value);
  std::string szRefUrl() const;
  bool szRefUrl(std::string_view value);
  std::string szCookies() const;
  bool szCookies(std::string_view value);
  std::string szFilename() const;
  bool szFilename(std::string_view value);
  std::string szSavePath() const;
  bool szSavePath(std::string_view value);
  bool IsOnlyOriginal() const;
  bool IsOnlyOriginal(bool value);
  bool DisableAutoRename() const;
  bool DisableAutoRename(bool value);
  bool IsResume() const;
  bool IsResume(bool value);

 private:
  NamedFieldRecord fields_;
};

}  // namespace engine
